#pragma once
// The window's menu bar: four menus, eleven items, each item with its shortcut key.

#include <QKeySequence>
#include <QList>
#include <QString>

class QAction;
class QMenuBar;

namespace lusheng::app {

// The commands the menu items run; most share their caption and command with a button.
enum class Command {
    OpenText,
    SaveText,
    OutputSoundFile,
    StartReading,
    PauseReading,
    ResumeReading,
    StopReading,
    SetFontAndColour,
    SetBackgroundColour,
    UsageTip,
    About,
};

struct MenuItem {
    QString caption;
    QKeySequence shortcut;
    Command command;
};

struct Menu {
    QString caption; // "&" marks the mnemonic
    QList<MenuItem> items;
};

const QList<Menu>& readerMenus();

// Fills `bar` with the menus; returns the actions of all items in menu order. Each action's
// shortcut works while the window or any of its controls has the focus.
QList<QAction*> buildMenuBar(QMenuBar* bar, const QList<Menu>& menus);

} // namespace lusheng::app
