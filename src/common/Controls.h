#pragma once
#include <string>

namespace quillet {

// The main window's buttons and menu items, named for the commands they run;
// every part that enables or checks one names it here.
enum class Button { AddRemove, Delete, Properties, New, DeleteBad, Refresh, Views };

enum class MenuItem {
    // File menu and the list's popup menu
    DeleteBadMM, AddRemovePM, DeletePM, PropertiesPM,
    AddRemoveMM, DeleteMM, PropertiesMM, NewMM, FindMM,
    // the two "Sort by" submenus
    NameMM, CommandLineMM, SubkeyMM, ReversedorderMM,
    NamePM, CommandLinePM, SubkeyPM, ReversedorderPM,
    // the log commands in the Edit menu and the log's popup menu
    EditlogMM, ClearLogMM, EditlogPM, ClearLogPM,
    // Edit > Undo
    UndoMM,
    // View menu switches and the toolbar's popup menu
    ToolBarMM, LogMM, StatusMM, TextLabelsMM, TextLabelsPM, SystemEntriesMM,
    // the view styles in the View menu, the list menu's View submenu and the Views drop-down
    LargeIconsMM, SmalliconsMM, ListMM, DetailsMM,
    LargeIconsPM2, SmalliconsPM2, ListPM2, ReportPM2,
    LargeIconsPM, SmallIconsPM, ListPM, ReportPM,
};

// The toolbar's buttons and the menus' items: enabled, checked.
class CommandView {
public:
    virtual ~CommandView() = default;
    virtual void EnableButton(Button button, bool enabled) = 0;
    virtual bool ButtonEnabled(Button button) const = 0;
    virtual void EnableMenuItem(MenuItem item, bool enabled) = 0;
    virtual bool MenuItemEnabled(MenuItem item) const = 0;
    virtual void CheckMenuItem(MenuItem item, bool checked) = 0;
    virtual bool MenuItemChecked(MenuItem item) const = 0;
    // The item's caption without its accelerator key or shortcut, which the view adds.
    virtual void SetMenuItemText(MenuItem item, const std::string& text) = 0;
};

// The status bar's panels: 0 the hint, 1 the entry counts.
class StatusPanels {
public:
    virtual ~StatusPanels() = default;
    virtual void SetStatusPanel(int panel, const std::string& text) = 0;
};

}  // namespace quillet
