// The main window's notification-area icon: its creation, its menu and the menu's commands and hints.
#include "app/win32/MainWindow.h"

#include "common/win32/Resource.h"

namespace quillet::win32 {

void MainWindow::CreateTray()
{
    tray_.Create(LoadTrayIcon(), LoadTrayFrames);
    tray_.PopupMenu = [this] { return BuildTrayMenu(); };
    tray_.OnCommand = [this](int id) { OnTrayCommand(id); };
    tray_.OnDblClick = [this] { core_.Guard([&] { core_.Tray().TrayDblClick(); }); };
    tray_.OnMenuSelect = [this](UINT item, UINT flags, HMENU menu) { OnTrayMenuSelect(item, flags, menu); };
    trayMenu_.CreateImages(programs_.SmallImages());
}

HMENU MainWindow::BuildTrayMenu()
{
    core_.Guard([&] { core_.Tray().TrayMenuPopup(); });
    return trayMenu_.Build(core_.Tray().TrayItems, tray_.UninstallEnabled());
}

void MainWindow::OnTrayCommand(int id)
{
    // The open box's command has yet to run: nothing may start or close under
    // it, so the tray only brings the window and its box forward.
    if (core_.BoxOpen()) {
        core_.Guard([&] { core_.Tray().TrayDblClick(); });
        return;
    }
    if (id == IDM_TRAYEXIT) {
        SendMessageA(hwnd_, WM_CLOSE, 0, 0);  // the ordinary close, with its question
    } else if (id >= IDM_TRAYITEM_FIRST) {
        const size_t index = static_cast<size_t>(id - IDM_TRAYITEM_FIRST);
        if (index < core_.Tray().TrayItems.size()) {
            const TrayItem item = core_.Tray().TrayItems[index];
            core_.Guard([&] { core_.Tray().TrayUninstallClick(item); });
        }
    } else if (id != IDM_TRAYUNINSTALL) {
        OnCommand(id);
    }
}

void MainWindow::OnTrayMenuSelect(UINT item, UINT flags, HMENU menu)
{
    const auto& items = core_.Tray().TrayItems;
    const size_t index = item - IDM_TRAYITEM_FIRST;
    if (item >= IDM_TRAYITEM_FIRST && !(flags & MF_POPUP) && index < items.size()) {
        SetStatusPanel(0, items[index].hint);  // a command line, shown whole
        return;
    }
    OnMenuSelect(item == IDM_TRAYEXIT ? IDM_EXIT : item, flags, menu);
}

}  // namespace quillet::win32
