// The main menu and the pop-up menus: loading, enabling and checks, and the hints of their items.
#include "app/win32/MainMenus.h"

#include <commctrl.h>
#include <windowsx.h>

#include "app/win32/HintText.h"
#include "common/win32/Resource.h"
#include "common/win32/Wide.h"

namespace quillet::win32 {

void MainMenus::Load(HWND frame)
{
    frame_ = frame;
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    baseMenuBar_.reset(LoadMenuA(instance, MAKEINTRESOURCEA(IDR_BASEMENU)));
    logMenuBar_.reset(LoadMenuA(instance, MAKEINTRESOURCEA(IDR_LOGMENU)));
    baseMenu_ = GetSubMenu(baseMenuBar_.get(), 0);
    logMenu_ = GetSubMenu(logMenuBar_.get(), 0);
    viewsMenuBar_.reset(LoadMenuA(instance, MAKEINTRESOURCEA(IDR_VIEWSMENU)));
    toolBarMenuBar_.reset(LoadMenuA(instance, MAKEINTRESOURCEA(IDR_TOOLBARMENU)));
    viewsMenu_ = GetSubMenu(viewsMenuBar_.get(), 0);
    toolBarMenu_ = GetSubMenu(toolBarMenuBar_.get(), 0);
    SetMenuDefaultItem(baseMenu_, IDM_ADDREMOVE, FALSE);
    SetMenuDefaultItem(GetSubMenu(GetMenu(frame_), 0), IDM_ADDREMOVE, FALSE);

    // Radio groups show a bullet.
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    info.fType = MFT_RADIOCHECK;
    for (HMENU menu : {GetMenu(frame_), baseMenu_, viewsMenu_})
        for (UINT id : {IDM_SORTNAME, IDM_SORTCOMMAND, IDM_SORTSUBKEY, IDM_LARGEICONS, IDM_SMALLICONS, IDM_LIST,
                        IDM_DETAILS})
            SetMenuItemInfoA(menu, id, FALSE, &info);
}

MainMenus::MenuPlace MainMenus::Place(MenuItem item) const
{
    const HMENU main = GetMenu(frame_);
    switch (item) {
    case MenuItem::DeleteBadMM: return {main, IDM_DELETEBAD};
    case MenuItem::AddRemovePM: return {baseMenu_, IDM_ADDREMOVE};
    case MenuItem::DeletePM: return {baseMenu_, IDM_DELETE};
    case MenuItem::PropertiesPM: return {baseMenu_, IDM_PROPERTIES};
    case MenuItem::NameMM: return {main, IDM_SORTNAME};
    case MenuItem::CommandLineMM: return {main, IDM_SORTCOMMAND};
    case MenuItem::SubkeyMM: return {main, IDM_SORTSUBKEY};
    case MenuItem::ReversedorderMM: return {main, IDM_REVERSED};
    case MenuItem::NamePM: return {baseMenu_, IDM_SORTNAME};
    case MenuItem::CommandLinePM: return {baseMenu_, IDM_SORTCOMMAND};
    case MenuItem::SubkeyPM: return {baseMenu_, IDM_SORTSUBKEY};
    case MenuItem::ReversedorderPM: return {baseMenu_, IDM_REVERSED};
    case MenuItem::EditlogMM: return {main, IDM_EDITLOG};
    case MenuItem::ClearLogMM: return {main, IDM_CLEARLOG};
    case MenuItem::UndoMM: return {main, IDM_UNDO};
    case MenuItem::EditlogPM: return {logMenu_, IDM_EDITLOG};
    case MenuItem::ClearLogPM: return {logMenu_, IDM_CLEARLOG};
    case MenuItem::AddRemoveMM: return {main, IDM_ADDREMOVE};
    case MenuItem::DeleteMM: return {main, IDM_DELETE};
    case MenuItem::PropertiesMM: return {main, IDM_PROPERTIES};
    case MenuItem::NewMM: return {main, IDM_NEW};
    case MenuItem::FindMM: return {main, IDM_FIND};
    case MenuItem::ToolBarMM: return {main, IDM_TOOLBAR};
    case MenuItem::LogMM: return {main, IDM_LOG};
    case MenuItem::StatusMM: return {main, IDM_STATUSBAR};
    case MenuItem::SystemEntriesMM: return {main, IDM_SYSTEMENTRIES};
    case MenuItem::TextLabelsMM: return {main, IDM_TEXTLABELS};
    case MenuItem::TextLabelsPM: return {toolBarMenu_, IDM_TEXTLABELS};
    case MenuItem::LargeIconsMM: return {main, IDM_LARGEICONS};
    case MenuItem::SmalliconsMM: return {main, IDM_SMALLICONS};
    case MenuItem::ListMM: return {main, IDM_LIST};
    case MenuItem::DetailsMM: return {main, IDM_DETAILS};
    case MenuItem::LargeIconsPM2: return {baseMenu_, IDM_LARGEICONS};
    case MenuItem::SmalliconsPM2: return {baseMenu_, IDM_SMALLICONS};
    case MenuItem::ListPM2: return {baseMenu_, IDM_LIST};
    case MenuItem::ReportPM2: return {baseMenu_, IDM_DETAILS};
    case MenuItem::LargeIconsPM: return {viewsMenu_, IDM_LARGEICONS};
    case MenuItem::SmallIconsPM: return {viewsMenu_, IDM_SMALLICONS};
    case MenuItem::ListPM: return {viewsMenu_, IDM_LIST};
    case MenuItem::ReportPM: return {viewsMenu_, IDM_DETAILS};
    }
    return {nullptr, 0};
}

void MainMenus::Enable(MenuItem item, bool enabled)
{
    const MenuPlace place = Place(item);
    ::EnableMenuItem(place.menu, place.command, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

bool MainMenus::Enabled(MenuItem item) const
{
    const MenuPlace place = Place(item);
    const UINT state = GetMenuState(place.menu, place.command, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

void MainMenus::Check(MenuItem item, bool checked)
{
    const MenuPlace place = Place(item);
    ::CheckMenuItem(place.menu, place.command, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool MainMenus::Checked(MenuItem item) const
{
    const MenuPlace place = Place(item);
    const UINT state = GetMenuState(place.menu, place.command, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & MF_CHECKED);
}

void MainMenus::SetText(MenuItem item, const std::string& text)
{
    const MenuPlace place = Place(item);
    // An entry's name is shown as it is: '&' would underline the letter after it.
    std::string caption = "&";
    for (char c : text) {
        if (c == '&') caption += '&';
        // A tab would start the shortcut column early.
        caption += c == '\t' ? ' ' : c;
    }
    caption += "\tCtrl+Z";
    std::wstring wide = Wide(caption);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = wide.data();
    SetMenuItemInfoW(place.menu, place.command, FALSE, &info);
}

void MainMenus::ShowContextMenu(HWND control, LPARAM position, HWND programs, HWND log, HWND toolBar) const
{
    HMENU menu = control == programs ? baseMenu_ : control == log ? logMenu_ : control == toolBar ? toolBarMenu_
                                                                                                : nullptr;
    if (!menu) return;
    POINT at{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    if (position == -1 && control != toolBar) {  // from the keyboard: below the focused row, or the list's corner
        RECT row{};
        const int focused = ListView_GetNextItem(control, -1, LVNI_FOCUSED);
        if (focused < 0 || !ListView_GetItemRect(control, focused, &row, LVIR_LABEL)) row = RECT{};
        at = {row.left, row.bottom};
        ClientToScreen(control, &at);
    }
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, frame_, nullptr);
}

std::string MainMenus::SelectHint(UINT item, UINT flags, HMENU menu)
{
    std::string hint;
    if (flags == 0xFFFF && !menu) hint.clear();  // the menu closed
    else if (flags & MF_POPUP) {
        HMENU sub = GetSubMenu(menu, static_cast<int>(item));
        if (sub && GetMenuState(sub, IDM_SORTNAME, MF_BYCOMMAND) != static_cast<UINT>(-1) &&
            GetMenuItemCount(sub) == 5)
            hint = HintText(IDS_SORTBY);
    } else if (!(flags & MF_SEPARATOR)) {
        hint = HintText(static_cast<int>(item));
    }
    return hint;
}

}  // namespace quillet::win32
