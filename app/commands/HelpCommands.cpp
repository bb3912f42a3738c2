#include "app/commands/HelpCommands.h"

#include "app/AppInfo.h"

#include <QMessageBox>
#include <QWidget>

namespace lusheng::app {
namespace {

void showMessage(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    // Modal to the program: its windows take no input until the box is closed.
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace

QString usageTipText() {
    // The line break is the program's own ("\n"), which the message box shows as one.
    return QStringLiteral("使用前请先打开文本文档或是直接将需要读的文字复制到文本框内。\n"
                          "如果你的电脑内没有中文语音库，请到") +
           kVoiceDownloadAddress + QStringLiteral("进行下载。");
}

QString welcomeText() {
    return QStringLiteral("欢迎使用鹭笙语音阅读器V1.0，使用中有任何问题可与") + kAuthorContact +
           QStringLiteral("联系。");
}

HelpCommands::HelpCommands(QWidget* window) : QObject(window), window_(window) {}

void HelpCommands::showUsageTip() {
    showMessage(window_, kUsageTipCaption, usageTipText());
}

void HelpCommands::showWelcome() {
    showMessage(window_, kWelcomeCaption, welcomeText());
}

} // namespace lusheng::app
