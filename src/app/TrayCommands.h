#pragma once
#include <functional>
#include <string>
#include <vector>

#include "app/MainView.h"
#include "app/Tray.h"
#include "catalogue/Catalogue.h"
#include "runner/Uninstaller.h"

namespace quillet {

// The window in the notification area: hiding and restoring it, and the
// icon's menu with its "Uninstall" submenu.
class TrayCommands {
public:
    TrayCommands(FrameView& frame, TrayIcon& icon, ProgramsView& programs, EntryCatalogue& catalogue,
                 Uninstaller& job, std::string idleHint)
        : frame_(frame), icon_(icon), programs_(programs), catalogue_(catalogue), job_(job),
          idleHint_(std::move(idleHint))
    {
    }

    void AppEventsMinimize();
    void AppEventsRestore();
    void TrayDblClick() { frame_.BringToFront(); }
    // Fills TrayItems for the "Uninstall" submenu.
    void TrayMenuPopup();
    // Refused while a box is open: the window comes forward to show it.
    void TrayUninstallClick(const TrayItem& item);
    // A box of the program is open; none: never.
    std::function<bool()> BoxOpen;

    std::vector<TrayItem> TrayItems;
    // The window is hidden in the notification area.
    bool Hidden = false;

private:
    FrameView& frame_;
    TrayIcon& icon_;
    ProgramsView& programs_;
    EntryCatalogue& catalogue_;
    Uninstaller& job_;
    std::string idleHint_;
};

}  // namespace quillet
