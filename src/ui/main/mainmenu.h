#pragma once

#include <QString>
#include <span>

class MainWindow;

// One line of the main window's menu, in menu order. The menu is built from
// this table alone, and the tests read it to find each entry and its handler.
struct MainMenuEntry
{
    enum Kind {
        Menu,     // a menu holding the entries that name it as their parent
        Entry,    // an entry that runs its handler
        Radio,    // an entry of the radio group of its menu
        Disabled, // a radio entry that is shown and never enabled
        Separator,
        Recent, // the n-th of the files used last, hidden while there is none
    };
    Kind kind;
    const char *parent;  // object name of the menu it stands in; nullptr: the menu bar
    const char *name;    // object name
    const char *caption; // UTF-8
    const char *hint;    // tool tip and status tip, UTF-8; nullptr: none
    void (MainWindow::*handler)();

    QString text() const { return QString::fromUtf8(caption); }
};

namespace MainMenu {
std::span<const MainMenuEntry> entries();
}
