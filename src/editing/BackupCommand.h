#pragma once
#include <functional>
#include <string>
#include <vector>

#include "common/MessageBoxes.h"
#include "editing/Backup.h"
#include "editing/EditDialogs.h"

namespace quillet {

class Clock;
class Locale;

// Backup: every uninstall entry written to a REGEDIT4 file the user names.
class BackupCommand {
public:
    BackupCommand(Registry& registry, FileWriter* file, Clock& clock, const Locale& locale, MessageBoxes& boxes,
                  EditDialogs& dialogs)
        : registry_(registry), file_(file), clock_(clock), locale_(locale), boxes_(boxes), dialogs_(dialogs)
    {
    }

    void BackupMMClick();
    std::string BackupDateText();

    // The folder the save dialog opens in; empty: a "Backup" folder beside the program.
    std::string BackupDir;
    std::string ExeDir;  // with its trailing backslash
    SaveDialog SaveRegDlg = MakeSaveRegDlg();
    // Both registry views are written, each under its real path.
    bool Windows64 = false;
    // Every source the list reads; none: the machine's views only.
    std::function<std::vector<EntrySource>()> Sources;

private:
    Registry& registry_;
    FileWriter* file_;
    Clock& clock_;
    const Locale& locale_;
    MessageBoxes& boxes_;
    EditDialogs& dialogs_;
};

}  // namespace quillet
