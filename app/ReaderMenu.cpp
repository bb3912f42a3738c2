#include "app/ReaderMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace lusheng::app {

const QList<Menu>& readerMenus() {
    static const QList<Menu> menus = {
        {QStringLiteral("文件（&F）"),
         {
             {QStringLiteral("打开文件"), QKeySequence(Qt::CTRL | Qt::Key_O), Command::OpenText},
             {QStringLiteral("保存文件"), QKeySequence(Qt::CTRL | Qt::Key_S), Command::SaveText},
             {QStringLiteral("输出声音文件"), QKeySequence(Qt::Key_F5), Command::OutputSoundFile},
         }},
        {QStringLiteral("朗读（&S）"),
         {
             {QStringLiteral("开始朗读"), QKeySequence(Qt::Key_F2), Command::StartReading},
             {QStringLiteral("暂停朗读"), QKeySequence(Qt::Key_F3), Command::PauseReading},
             {QStringLiteral("继续朗读"), QKeySequence(Qt::Key_F4), Command::ResumeReading},
             {QStringLiteral("停止朗读"), QKeySequence(Qt::Key_F6), Command::StopReading},
         }},
        {QStringLiteral("设置（&X）"),
         {
             {QStringLiteral("设置字体与颜色"), QKeySequence(Qt::CTRL | Qt::Key_T),
              Command::SetFontAndColour},
             {QStringLiteral("设置背景颜色"), QKeySequence(Qt::CTRL | Qt::Key_B),
              Command::SetBackgroundColour},
         }},
        {QStringLiteral("帮助(&H)"),
         {
             {QStringLiteral("使用说明"), QKeySequence(Qt::CTRL | Qt::Key_J), Command::UsageTip},
             {QStringLiteral("关于"), QKeySequence(Qt::CTRL | Qt::Key_L), Command::About},
         }},
    };
    return menus;
}

QList<QAction*> buildMenuBar(QMenuBar* bar, const QList<Menu>& menus) {
    QList<QAction*> actions;
    for (const Menu& menu : menus) {
        QMenu* dropDown = bar->addMenu(menu.caption);
        for (const MenuItem& item : menu.items) {
            QAction* action = dropDown->addAction(item.caption);
            action->setShortcut(item.shortcut);
            // The window's shortcuts come before the focused control's own use of a key.
            action->setShortcutContext(Qt::WindowShortcut);
            action->setData(static_cast<int>(item.command));
            actions.append(action);
        }
    }
    return actions;
}

} // namespace lusheng::app
