#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "catalogue/Registry.h"

namespace quillet {

class FileSystem;

// What an uninstall entry's key says about running, changing and finding its
// program, read raw: a value of the wrong type counts as not there.
struct CommandValues {
    std::string uninstall;        // UninstallString
    std::string quietUninstall;   // QuietUninstallString
    std::string modifyPath;       // ModifyPath
    std::string installLocation;  // InstallLocation
    bool windowsInstaller = false;  // WindowsInstaller = 1
    bool noModify = false, noRepair = false;
    std::string subkey;  // a Windows Installer product is keyed by its code
};

CommandValues ReadCommandValues(const KeyContents& contents, const std::string& subkey);

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in hexadecimal digits.
bool IsProductCode(const std::string& text);
// The code of an "MsiExec.exe /I{...}" or "/X{...}" command; empty for any other.
std::string MsiProductCode(const std::string& command);
// The Windows Installer product the entry belongs to; empty when none.
std::string ProductCode(const CommandValues& entry);

// The command that removes the program without questions: QuietUninstallString,
// else for a Windows Installer product "MsiExec.exe /X{CODE} /qn"; empty when
// the entry has no quiet form.
std::string QuietCommand(const CommandValues& entry);
// Modify: ModifyPath, else "MsiExec.exe /I{CODE}"; Repair: "MsiExec.exe /fomus {CODE}".
// Empty where the entry does not allow it (NoModify, NoRepair, no product).
std::string ModifyCommand(const CommandValues& entry);
std::string RepairCommand(const CommandValues& entry);

// The drive of a path written "X:..." (after an opening quote); 0 otherwise.
char PathDrive(const std::string& path);
// InstallLocation as a folder: without its quotes and trailing backslash;
// empty unless it is a full path ("X:\..." or "\\server\...").
std::string FolderOf(const std::string& installLocation);
// The drive a job's free space is measured on: the install folder's, else the program file's.
char JobDrive(const std::string& installLocation, const std::string& programFile);

// "Folder left: PATH (N MB)" when the folder still exists and holds files; empty otherwise.
std::string LeftoverComment(const std::string& installLocation, FileSystem& files,
                            const std::string& decimalSeparator);
// The folder a record's comment says was left; empty when it names none.
std::string LeftFolder(const std::string& comment);
// Megabytes with one decimal, rounded half up: "3,1".
std::string Megabytes(uint64_t bytes, const std::string& decimalSeparator);

}  // namespace quillet
