#include "app/TrayCommands.h"

namespace quillet {

void TrayCommands::AppEventsMinimize()
{
    frame_.ShowApplication(false);
    icon_.SetHint(idleHint_);
    Hidden = true;
}

void TrayCommands::AppEventsRestore()
{
    frame_.ShowApplication(true);
    Hidden = false;
}

void TrayCommands::TrayMenuPopup()
{
    TrayItems.clear();
    // Changes made while hidden show in the submenu.
    if (Hidden && !job_.Running) catalogue_.LoadPrograms();
    TrayItems = TrayUninstallItems(catalogue_.Rows());
}

void TrayCommands::TrayUninstallClick(const TrayItem& item)
{
    // The open box's command would act on an entry whose job this started.
    if (BoxOpen && BoxOpen()) {
        frame_.BringToFront();
        return;
    }
    const int row = TrayItemRow(catalogue_.Rows(), item);
    if (row < 0) return;
    programs_.FocusProgram(row);
    job_.UninstallFocused();
}

}  // namespace quillet
