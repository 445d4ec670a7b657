#include "editing/BackupCommand.h"

#include "common/Locale.h"
#include "common/Text.h"
#include "editing/FileWriter.h"

namespace quillet {

std::string BackupCommand::BackupDateText() { return quillet::BackupDateText(clock_.Now()); }

void BackupCommand::BackupMMClick()
{
    if (BackupDir.empty()) {
        BackupDir = ExeDir + "Backup";
        // It may exist already; when it cannot be made the dialog opens elsewhere.
        file_->MakeDirectory(BackupDir);
    }
    SaveRegDlg.InitialDir = BackupDir;
    SaveRegDlg.FileName = BackupFileName(BackupDateText());
    if (!dialogs_.Execute(SaveRegDlg)) return;
    const std::string fileName = SaveRegDlg.FileName;
    BackupDir = ExtractFilePath(fileName, locale_);
    bool unicode = false;
    try {
        unicode = Sources ? WriteRegBackup(registry_, *file_, fileName, locale_, Sources())
                          : WriteRegBackup(registry_, *file_, fileName, locale_, Windows64);
    } catch (const BackupFileError& e) {
        boxes_.ShowErrorBox(e.what());
        return;
    }
    boxes_.ShowInformation("Backup information will be stored into \"" + fileName +
                           "\" file and can be restored by double clicking on this file or importing into "
                           "Registry Editor." +
                           std::string(unicode ? " Some names do not fit the ANSI code page, so the file is in the "
                                                 "Unicode format of Registry Editor 5."
                                               : ""));
}

}  // namespace quillet
