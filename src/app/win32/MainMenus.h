// The main menu and the pop-up menus: loading, enabling and checks, and the hints of their items.
#pragma once
#include <windows.h>

#include <string>

#include "app/MainView.h"
#include "common/win32/Handles.h"

namespace quillet::win32 {

class MainMenus {
public:
    // Loads the pop-up menus and sets up the frame's menu bar.
    void Load(HWND frame);

    HMENU FileMenu() const { return GetSubMenu(GetMenu(frame_), 0); }
    HMENU EditMenu() const { return GetSubMenu(GetMenu(frame_), 1); }
    HMENU BaseMenu() const { return baseMenu_; }
    HMENU LogMenu() const { return logMenu_; }
    HMENU ViewsMenu() const { return viewsMenu_; }
    HMENU ToolBarMenu() const { return toolBarMenu_; }

    void Enable(MenuItem item, bool enabled);
    bool Enabled(MenuItem item) const;
    void Check(MenuItem item, bool checked);
    bool Checked(MenuItem item) const;
    // The caption with its access key on the first letter and its shortcut.
    void SetText(MenuItem item, const std::string& text);

    // The pop-up menu of a control, at the pointer or, from the keyboard,
    // below the focused row of a list.
    void ShowContextMenu(HWND control, LPARAM position, HWND programs, HWND log, HWND toolBar) const;
    // The hint of the item under the pointer in an open menu.
    static std::string SelectHint(UINT item, UINT flags, HMENU menu);

private:
    struct MenuPlace {
        HMENU menu;
        UINT command;
    };
    MenuPlace Place(MenuItem item) const;

    HWND frame_ = nullptr;
    MenuHandle baseMenuBar_, logMenuBar_;  // own the popups below
    HMENU baseMenu_ = nullptr, logMenu_ = nullptr;
    MenuHandle viewsMenuBar_, toolBarMenuBar_;
    HMENU viewsMenu_ = nullptr, toolBarMenu_ = nullptr;
};

}  // namespace quillet::win32
