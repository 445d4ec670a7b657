// The notification-area icon's pictures and its pop-up menu.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "app/Tray.h"
#include "common/win32/Handles.h"

namespace quillet::win32 {

// The icon and the frames of its animation, from the resources.
HICON LoadTrayIcon();
std::vector<HICON> LoadTrayFrames();

class TrayMenu {
public:
    // The rows' two pictures as menu bitmaps, on the menu's colour.
    void CreateImages(HIMAGELIST rowImages);
    // A new pop-up menu: "Uninstall" (a submenu of the items when there are
    // any), "Backup..." and "Exit". The caller destroys it.
    HMENU Build(const std::vector<TrayItem>& items, bool uninstallEnabled) const;

private:
    GdiObject images_[2];
};

}  // namespace quillet::win32
