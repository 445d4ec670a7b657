// The notification-area icon's pictures and its pop-up menu.
#include "app/win32/TrayMenu.h"

#include "catalogue/EntryRow.h"
#include "common/win32/Resource.h"
#include "common/win32/Wide.h"

namespace quillet::win32 {

HICON LoadTrayIcon()
{
    return static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_TRAY), IMAGE_ICON, 16, 16, 0));
}

std::vector<HICON> LoadTrayFrames()
{
    std::vector<HICON> frames;
    if (HIMAGELIST strip = ImageList_LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_TRAYFRAMES), 16, 0,
                                                RGB(255, 0, 255), IMAGE_BITMAP, LR_CREATEDIBSECTION)) {
        for (int i = 0; i < ImageList_GetImageCount(strip); ++i)
            frames.push_back(ImageList_GetIcon(strip, i, ILD_NORMAL));
        ImageList_Destroy(strip);
    }
    return frames;
}

void TrayMenu::CreateImages(HIMAGELIST rowImages)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    for (int i = 0; i < 2; ++i) {
        images_[i].reset(CreateCompatibleBitmap(screen, 16, 16));
        HGDIOBJ old = SelectObject(dc, images_[i].get());
        RECT all{0, 0, 16, 16};
        FillRect(dc, &all, GetSysColorBrush(COLOR_MENU));
        ImageList_Draw(rowImages, i, dc, 0, 0, ILD_TRANSPARENT);
        SelectObject(dc, old);
    }
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

HMENU TrayMenu::Build(const std::vector<TrayItem>& items, bool uninstallEnabled) const
{
    HMENU menu = CreatePopupMenu();
    const UINT state = uninstallEnabled ? MF_ENABLED : MF_GRAYED;
    if (items.empty()) {
        AppendMenuA(menu, MF_STRING | state, IDM_TRAYUNINSTALL, "Uninstall");
    } else {
        HMENU submenu = CreatePopupMenu();
        for (size_t i = 0; i < items.size() && IDM_TRAYITEM_FIRST + i <= 0xFFFF; ++i) {
            const std::wstring caption = Wide(items[i].caption);
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_ID | MIIM_STRING | MIIM_BITMAP;
            info.wID = static_cast<UINT>(IDM_TRAYITEM_FIRST + i);
            info.dwTypeData = const_cast<wchar_t*>(caption.c_str());
            info.hbmpItem = static_cast<HBITMAP>(images_[items[i].image == kImageBad ? 1 : 0].get());
            InsertMenuItemW(submenu, static_cast<UINT>(i), TRUE, &info);
        }
        AppendMenuA(menu, MF_POPUP | state, reinterpret_cast<UINT_PTR>(submenu), "Uninstall");
    }
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, IDM_BACKUP, "&Backup...");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, IDM_TRAYEXIT, "E&xit");
    return menu;
}

}  // namespace quillet::win32
