// The main window's views, switches, menu enabling and hints.
#include <iterator>

#include "app/Hints.h"
#include "app/MainFrm.h"
#include "app/Registration.h"

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

void TMain::RegisterApp(const std::string& title, const std::string& version, const std::string& path)
{
    if (ports_.registration) quillet::RegisterApp(*ports_.registration, ports_.clock.Now(), title, version, path);
}

void TMain::AppEventsHint(const std::string& hint) { view_.SetStatusPanel(0, LongHint(hint)); }

void TMain::TogglePane(MenuItem item, Pane pane)
{
    view_.CheckMenuItem(item, !view_.MenuItemChecked(item));
    view_.ShowPane(pane, view_.MenuItemChecked(item));
}

void TMain::ToolBarMMClick() { TogglePane(MenuItem::ToolBarMM, Pane::ToolBar); }
void TMain::LogMMClick() { TogglePane(MenuItem::LogMM, Pane::Log); }
void TMain::StatusMMClick() { TogglePane(MenuItem::StatusMM, Pane::StatusBar); }

void TMain::TextLabelsMMClick()
{
    view_.CheckMenuItem(MenuItem::TextLabelsMM, !view_.MenuItemChecked(MenuItem::TextLabelsMM));
    view_.CheckMenuItem(MenuItem::TextLabelsPM, !view_.MenuItemChecked(MenuItem::TextLabelsPM));
    view_.SetTextLabels(view_.MenuItemChecked(MenuItem::TextLabelsMM));
}

void TMain::SetViewStyle(ViewStyle style)
{
    for (const StyleItems& s : kStyles) {
        const bool on = s.style == style;
        view_.CheckMenuItem(s.viewsMenu, on);
        view_.CheckMenuItem(s.listMenu, on);
        view_.CheckMenuItem(s.viewMenu, on);
    }
    view_.SetViewStyle(style);
    ProgramsStyle = style;
}

void TMain::LargeIconsPMClick() { SetViewStyle(ViewStyle::LargeIcons); }
void TMain::SmallIconsPMClick() { SetViewStyle(ViewStyle::SmallIcons); }
void TMain::ListPMClick() { SetViewStyle(ViewStyle::List); }
void TMain::ReportPMClick() { SetViewStyle(ViewStyle::Report); }

void TMain::ViewsBtnClick()
{
    const size_t count = std::size(kStyles);
    for (size_t i = 0; i < count; ++i)
        if (view_.MenuItemChecked(kStyles[i].viewsMenu)) {
            SetViewStyle(kStyles[(i + 1) % count].style);
            return;
        }
}

void TMain::FileMMClick()
{
    view_.EnableMenuItem(MenuItem::AddRemoveMM, view_.ButtonEnabled(Button::AddRemove));
    view_.EnableMenuItem(MenuItem::PropertiesMM, view_.ButtonEnabled(Button::Properties));
    view_.EnableMenuItem(MenuItem::DeleteMM, view_.ButtonEnabled(Button::Delete));
}

bool TMain::ShortcutEnabled(MenuItem item)
{
    switch (item) {
    case MenuItem::FindMM:
    case MenuItem::EditlogMM:
    case MenuItem::ClearLogMM:
        BaseMenuPopup();
        break;
    default:
        FileMMClick();
        break;
    }
    return view_.MenuItemEnabled(item);
}

}  // namespace quillet
