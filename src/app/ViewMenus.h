#pragma once
#include <functional>
#include <string>

#include "app/MainView.h"
#include "log/ActionsLog.h"

namespace quillet {

// The View menu's switches and styles, the menus' enabling when they open,
// and the hint line. The check marks live in the menus: read them with
// MenuItemChecked.
class ViewMenus {
public:
    ViewMenus(CommandView& commands, PanesView& panes, StatusPanels& status, LogView& logView, const ActionsLog& log)
        : commands_(commands), panes_(panes), status_(status), logView_(logView), log_(log)
    {
    }

    void ToolBarMMClick();
    void LogMMClick();
    void StatusMMClick();
    void TextLabelsMMClick();
    void LargeIconsPMClick();
    void SmallIconsPMClick();
    void ListPMClick();
    void ReportPMClick();
    void ViewsBtnClick();
    // Opening of the File menu; of the list's popup menu and the Edit menu.
    void FileMMClick();
    void BaseMenuPopup();
    bool MenuItemChecked(MenuItem item) const { return commands_.MenuItemChecked(item); }
    // A shortcut of a File or Edit menu item runs that menu's opening handler,
    // then acts only when this says the item is enabled.
    bool ShortcutEnabled(MenuItem item);
    // The application's hint changed: its long part goes to panel 0.
    void AppEventsHint(const std::string& hint);

    // What Edit > Undo would take back ("Undo delete of ..."); empty: nothing.
    std::function<std::string()> UndoText;

    // The program list's style: details at design, until a view handler sets one.
    ViewStyle ProgramsStyle = ViewStyle::Report;

private:
    void TogglePane(MenuItem item, Pane pane);
    void SetViewStyle(ViewStyle style);

    CommandView& commands_;
    PanesView& panes_;
    StatusPanels& status_;
    LogView& logView_;
    const ActionsLog& log_;
};

}  // namespace quillet
