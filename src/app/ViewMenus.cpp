#include "app/ViewMenus.h"

#include <iterator>

#include "app/Hints.h"

namespace quillet {

std::string ShortHint(const std::string& hint) { return hint.substr(0, hint.find('|')); }

std::string LongHint(const std::string& hint)
{
    const size_t bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(bar + 1);
}

namespace {

// One row per style, in the Views button's cycle order; one column per menu.
struct StyleItems {
    ViewStyle style;
    MenuItem viewMenu, listMenu, viewsMenu;
};
constexpr StyleItems kStyles[] = {
    {ViewStyle::LargeIcons, MenuItem::LargeIconsMM, MenuItem::LargeIconsPM2, MenuItem::LargeIconsPM},
    {ViewStyle::SmallIcons, MenuItem::SmalliconsMM, MenuItem::SmalliconsPM2, MenuItem::SmallIconsPM},
    {ViewStyle::List, MenuItem::ListMM, MenuItem::ListPM2, MenuItem::ListPM},
    {ViewStyle::Report, MenuItem::DetailsMM, MenuItem::ReportPM2, MenuItem::ReportPM},
};

}  // namespace

void ViewMenus::AppEventsHint(const std::string& hint) { status_.SetStatusPanel(0, LongHint(hint)); }

void ViewMenus::TogglePane(MenuItem item, Pane pane)
{
    commands_.CheckMenuItem(item, !commands_.MenuItemChecked(item));
    panes_.ShowPane(pane, commands_.MenuItemChecked(item));
}

void ViewMenus::ToolBarMMClick() { TogglePane(MenuItem::ToolBarMM, Pane::ToolBar); }
void ViewMenus::LogMMClick() { TogglePane(MenuItem::LogMM, Pane::Log); }
void ViewMenus::StatusMMClick() { TogglePane(MenuItem::StatusMM, Pane::StatusBar); }

void ViewMenus::TextLabelsMMClick()
{
    commands_.CheckMenuItem(MenuItem::TextLabelsMM, !commands_.MenuItemChecked(MenuItem::TextLabelsMM));
    commands_.CheckMenuItem(MenuItem::TextLabelsPM, !commands_.MenuItemChecked(MenuItem::TextLabelsPM));
    panes_.SetTextLabels(commands_.MenuItemChecked(MenuItem::TextLabelsMM));
}

void ViewMenus::SetViewStyle(ViewStyle style)
{
    for (const StyleItems& s : kStyles) {
        const bool on = s.style == style;
        commands_.CheckMenuItem(s.viewsMenu, on);
        commands_.CheckMenuItem(s.listMenu, on);
        commands_.CheckMenuItem(s.viewMenu, on);
    }
    panes_.SetViewStyle(style);
    ProgramsStyle = style;
}

void ViewMenus::LargeIconsPMClick() { SetViewStyle(ViewStyle::LargeIcons); }
void ViewMenus::SmallIconsPMClick() { SetViewStyle(ViewStyle::SmallIcons); }
void ViewMenus::ListPMClick() { SetViewStyle(ViewStyle::List); }
void ViewMenus::ReportPMClick() { SetViewStyle(ViewStyle::Report); }

void ViewMenus::ViewsBtnClick()
{
    const size_t count = std::size(kStyles);
    for (size_t i = 0; i < count; ++i)
        if (commands_.MenuItemChecked(kStyles[i].viewsMenu)) {
            SetViewStyle(kStyles[(i + 1) % count].style);
            return;
        }
}

void ViewMenus::FileMMClick()
{
    commands_.EnableMenuItem(MenuItem::AddRemoveMM, commands_.ButtonEnabled(Button::AddRemove));
    commands_.EnableMenuItem(MenuItem::PropertiesMM, commands_.ButtonEnabled(Button::Properties));
    commands_.EnableMenuItem(MenuItem::DeleteMM, commands_.ButtonEnabled(Button::Delete));
}

void ViewMenus::BaseMenuPopup()
{
    commands_.EnableMenuItem(MenuItem::AddRemovePM, commands_.ButtonEnabled(Button::AddRemove));
    commands_.EnableMenuItem(MenuItem::PropertiesPM, commands_.ButtonEnabled(Button::Properties));
    commands_.EnableMenuItem(MenuItem::DeletePM, commands_.ButtonEnabled(Button::Delete));
    commands_.EnableMenuItem(MenuItem::ClearLogPM, log_.Size() > 0);
    commands_.EnableMenuItem(MenuItem::ClearLogMM, commands_.MenuItemEnabled(MenuItem::ClearLogPM));
    commands_.EnableMenuItem(MenuItem::EditlogMM, logView_.FocusedLogRow() >= 0);
    const std::string undo = UndoText ? UndoText() : std::string();
    commands_.SetMenuItemText(MenuItem::UndoMM, undo.empty() ? "Undo" : undo);
    commands_.EnableMenuItem(MenuItem::UndoMM, !undo.empty());
}

bool ViewMenus::ShortcutEnabled(MenuItem item)
{
    switch (item) {
    case MenuItem::FindMM:
    case MenuItem::EditlogMM:
    case MenuItem::ClearLogMM:
    case MenuItem::UndoMM:
        BaseMenuPopup();
        break;
    default:
        FileMMClick();
        break;
    }
    return commands_.MenuItemEnabled(item);
}

}  // namespace quillet
