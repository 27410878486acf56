#pragma once

#include "shell/grid_commands.h"

namespace qv::shell {

// One item of the main window's menu tree. Level 1 is a menu of the bar (or a
// hidden pop-up menu), level 2 an item of it, level 3 an item of a submenu.
struct MenuItem {
    int level;
    const char* name;
    const char* caption; // "-" for a separator
    GridRoutine routine; // the routine of the active grid window it runs, if any
    bool tableCommand;   // acts on a table: off while the round summary is active
};

// The whole tree, in menu order.
extern const MenuItem menuTree[];
extern const int menuTreeSize;

// One button of the toolbar; a null key is a separator.
struct ToolButton {
    const char* key;
    const char* tooltip;
    const char* menuItem; // the menu item whose handler it runs; null for none
    bool tableCommand;    // off while the round summary is active (separators too)
};

extern const ToolButton toolButtons[];
extern const int toolButtonCount;

} // namespace qv::shell
