#pragma once
#include <string>
#include <vector>

#include "catalogue/EntrySource.h"

#include "common/Error.h"

namespace quillet {

class FileWriter;
class Locale;
class Registry;
struct LocalTime;

// The backup file could not be created or written; shown in an error box.
class BackupFileError : public QuilletError {
public:
    using QuilletError::QuilletError;
};

// The save dialog's settings; the filter in the "description|pattern" form.
struct SaveDialog {
    std::string Filter;
    std::string DefaultExt;
    bool OverwritePrompt = false;
    bool HideReadOnly = false;
    bool EnableSizing = false;
    std::string InitialDir;
    std::string FileName;  // proposed before, chosen after the dialog
};

// SaveRegDlg as the main window creates it.
SaveDialog MakeSaveRegDlg();

// A backslash becomes two, a double quote gets a backslash before it; every
// other byte is copied.
void EscapeRegString(std::string& text);

// The date as YEAR-MM-DD.
std::string BackupDateText(const LocalTime& today);

// "Uninstall Backup " + date + ".reg".
std::string BackupFileName(const std::string& dateText);

// Writes every uninstall entry that has both values into a REGEDIT4 file
// at `path`, reading the registry afresh; a value with a line break as
// hex(1) bytes, the only spelling of it that stays on one line. When a name
// or value does not fit the ANSI code page, the whole file is written in the
// registry editor's Unicode format instead (UTF-16LE, "Windows Registry
// Editor Version 5.00"), and the answer is true. On a file failure, and on
// a registry failure, the incomplete file is removed; a file failure raises
// QuilletError with the file's name and the reason, a registry failure is
// raised as it came. On 64-bit Windows both registry views are written, each
// entry under its real path (the 32-bit view's below Wow6432Node), so that
// the registry editor restores each one where it was.
bool WriteRegBackup(Registry& registry, FileWriter& file, const std::string& path, const Locale& locale,
                    bool windows64 = false);
// The same for these sources, in their order: a user's entries under
// HKEY_CURRENT_USER\... or HKEY_USERS\SID\..., where the editor restores them.
bool WriteRegBackup(Registry& registry, FileWriter& file, const std::string& path, const Locale& locale,
                    const std::vector<EntrySource>& sources);

}  // namespace quillet
