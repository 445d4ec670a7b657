#include "runner/EntryCommands.h"

#include "catalogue/EntryReader.h"
#include "catalogue/FileSystem.h"
#include "common/Text.h"

namespace quillet {

namespace {

bool One(const RegistryValue& value)
{
    if ((value.type != kRegDword || value.data.size() != 4) && (value.type != kRegQword || value.data.size() != 8))
        return false;
    if (static_cast<unsigned char>(value.data[0]) != 1) return false;
    for (size_t i = 1; i < value.data.size(); ++i)
        if (value.data[i] != '\0') return false;
    return true;
}

bool IsHex(char c) { return (c >= '0' && c <= '9') || (AsciiLower(c) >= 'a' && AsciiLower(c) <= 'f'); }

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

CommandValues ReadCommandValues(const KeyContents& contents, const std::string& subkey)
{
    CommandValues entry;
    entry.subkey = subkey;
    // Read as the list reads them: the job must find the command the list shows.
    const auto Text = StringValueText;
    for (const RegistryValue& value : contents.values) {
        if (SameName(value.name, "UninstallString")) entry.uninstall = Text(value);
        else if (SameName(value.name, "QuietUninstallString")) entry.quietUninstall = Trimmed(Text(value));
        else if (SameName(value.name, "ModifyPath")) entry.modifyPath = Trimmed(Text(value));
        else if (SameName(value.name, "InstallLocation")) entry.installLocation = Text(value);
        else if (SameName(value.name, "WindowsInstaller")) entry.windowsInstaller = One(value);
        else if (SameName(value.name, "NoModify")) entry.noModify = One(value);
        else if (SameName(value.name, "NoRepair")) entry.noRepair = One(value);
    }
    return entry;
}

bool IsProductCode(const std::string& text)
{
    if (text.size() != 38 || text.front() != '{' || text.back() != '}') return false;
    for (size_t i = 1; i < 37; ++i) {
        const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
        if (dash ? text[i] != '-' : !IsHex(text[i])) return false;
    }
    return true;
}

std::string MsiProductCode(const std::string& command)
{
    const std::string line = Trimmed(command);
    // The program: msiexec or msiexec.exe, quoted or not, with or without a folder.
    size_t end;
    std::string program;
    if (!line.empty() && line[0] == '"') {
        end = line.find('"', 1);
        if (end == std::string::npos) return std::string();
        program = line.substr(1, end - 1);
        ++end;
    } else {
        end = line.find_first_of(" \t/");
        if (end == std::string::npos) return std::string();
        program = line.substr(0, end);
    }
    const size_t slash = program.find_last_of("\\/");
    const std::string file = slash == std::string::npos ? program : program.substr(slash + 1);
    if (!SameName(file, "msiexec.exe") && !SameName(file, "msiexec")) return std::string();
    // The arguments: one /I or /X (or -I, -X) with the code, nothing else.
    std::string rest = Trimmed(line.substr(end));
    if (rest.size() < 2 || (rest[0] != '/' && rest[0] != '-')) return std::string();
    const char option = AsciiLower(rest[1]);
    if (option != 'i' && option != 'x') return std::string();
    const std::string code = Trimmed(rest.substr(2));
    return IsProductCode(code) ? code : std::string();
}

std::string ProductCode(const CommandValues& entry)
{
    if (entry.windowsInstaller && IsProductCode(entry.subkey)) return entry.subkey;
    return MsiProductCode(entry.uninstall);
}

std::string QuietCommand(const CommandValues& entry)
{
    if (!entry.quietUninstall.empty()) return entry.quietUninstall;
    const std::string code = ProductCode(entry);
    return code.empty() ? std::string() : "MsiExec.exe /X" + code + " /qn";
}

std::string ModifyCommand(const CommandValues& entry)
{
    if (entry.noModify) return std::string();
    if (!entry.modifyPath.empty()) return entry.modifyPath;
    const std::string code = ProductCode(entry);
    return code.empty() ? std::string() : "MsiExec.exe /I" + code;
}

std::string RepairCommand(const CommandValues& entry)
{
    if (entry.noRepair) return std::string();
    const std::string code = ProductCode(entry);
    return code.empty() ? std::string() : "MsiExec.exe /fomus " + code;
}

char PathDrive(const std::string& path)
{
    const size_t at = (!path.empty() && path[0] == '"') ? 1 : 0;
    if (path.size() < at + 2 || path[at + 1] != ':') return 0;
    const char c = path[at];
    return ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) ? c : 0;
}

std::string FolderOf(const std::string& installLocation)
{
    std::string folder = Trimmed(installLocation);
    if (folder.size() >= 2 && folder.front() == '"' && folder.back() == '"') folder = folder.substr(1, folder.size() - 2);
    while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    const bool drive = folder.size() >= 3 && PathDrive(folder) && folder[2] == '\\';
    const bool share = folder.size() > 2 && folder[0] == '\\' && folder[1] == '\\';
    if ((!drive && !share) || folder.find_first_of("\"*?<>|") != std::string::npos) return std::string();
    return folder;
}

char JobDrive(const std::string& installLocation, const std::string& programFile)
{
    const char drive = PathDrive(FolderOf(installLocation));
    return drive ? drive : PathDrive(programFile);
}

std::string Megabytes(uint64_t bytes, const std::string& decimalSeparator)
{
    // Tenths of a megabyte, rounded half up, in integers so nothing is lost.
    const uint64_t tenths = (bytes / 1048576) * 10 + ((bytes % 1048576) * 10 + 524288) / 1048576;
    return std::to_string(tenths / 10) + decimalSeparator + std::to_string(tenths % 10);
}

std::string LeftoverComment(const std::string& installLocation, FileSystem& files,
                            const std::string& decimalSeparator)
{
    const std::string folder = FolderOf(installLocation);
    // A drive or a share holds files of everything: no program's leftovers.
    if (folder.empty() || folder.size() == 3) return std::string();  // "X:\\"
    if (folder[0] == '\\' && folder.find('\\', folder.find('\\', 2) + 1) == std::string::npos) return std::string();
    const std::optional<FileSystem::FolderUsage> usage = files.MeasureFolder(folder);
    if (!usage || usage->files == 0) return std::string();
    return "Folder left: " + folder + " (" + Megabytes(usage->bytes, decimalSeparator) + " MB)";
}

std::string LeftFolder(const std::string& comment)
{
    static const std::string kLeft = "Folder left: ";
    const size_t start = comment.find(kLeft);
    if (start == std::string::npos) return std::string();
    const size_t from = start + kLeft.size();
    const size_t end = comment.rfind(" (");
    if (end == std::string::npos || end <= from) return std::string();
    return FolderOf(comment.substr(from, end - from));
}

}  // namespace quillet
