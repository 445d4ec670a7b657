#include "catalogue/STFileExists.h"

#include "catalogue/FileSystem.h"
#include "common/Locale.h"
#include "common/Text.h"

namespace quillet {

std::string RemoveBadChars(std::string_view command)
{
    std::string out;
    out.reserve(command.size());
    for (char c : command)
        if (c != '"' && c != '/' && c != '*' && c != '?') out += c;
    return out;
}

std::string CutAfterProgramName(std::string_view text)
{
    static constexpr std::string_view marker = ".exe ";
    for (size_t i = 0; i + marker.size() <= text.size(); ++i) {
        size_t k = 0;
        while (k < marker.size() && AsciiLower(text[i + k]) == marker[k]) ++k;
        if (k == marker.size()) return std::string(text.substr(0, i + 4));
    }
    return std::string(text);
}

namespace {

bool IsDriveLetter(char c)
{
    c = AsciiLower(c);
    return c >= 'a' && c <= 'z';
}

bool IsSlash(char c) { return c == '\\' || c == '/'; }

// A name with neither a drive nor a leading '\\' is looked for along the search list.
bool SearchedFor(const std::string& name)
{
    const bool drive = name.size() >= 2 && IsDriveLetter(name[0]) && name[1] == ':';
    return !drive && !(!name.empty() && IsSlash(name[0]));
}

}  // namespace

bool CommandChecker::EndsWithSeparator(const std::string& text) const
{
    bool last = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (locale_.IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
            ++i;
            last = false;
        } else {
            last = text[i] == ':' || text[i] == '\\';
        }
    }
    return last;
}

std::string CommandChecker::Anchored(const std::string& name, const std::string& systemDirectory) const
{
    if (name.empty()) return name;
    const bool drive = name.size() >= 2 && IsDriveLetter(name[0]) && name[1] == ':';
    if (drive && name.size() >= 3 && IsSlash(name[2])) return name;
    if (name.size() >= 2 && IsSlash(name[0]) && IsSlash(name[1])) return name;  // a share or a device
    const std::string& system = systemDirectory;
    if (system.size() < 3 || !IsDriveLetter(system[0]) || system[1] != ':' || !IsSlash(system[2]))
        return std::string();
    const auto joined = [&](const std::string& rest) {
        return EndsWithSeparator(system) ? system + rest : system + "\\" + rest;
    };
    if (drive) {
        // Quillet stays in the system directory, so another drive's current
        // directory is its root.
        if (AsciiLower(name[0]) != AsciiLower(system[0])) return name.substr(0, 2) + "\\" + name.substr(2);
        return joined(name.substr(2));
    }
    if (IsSlash(name[0])) return system.substr(0, 2) + name;
    return joined(name);
}

CommandChecker::Found CommandChecker::Search(const std::string& name) const
{
    FileSystem& files = Files();
    const std::string system = files.SystemDirectory();
    const std::string exact = Anchored(name, system);
    if (!exact.empty() && files.FileExists(exact)) return {exact, true};

    std::string list = files.EnvironmentVariable("Path").value_or(std::string());
    list += ';';
    list += files.WindowsDirectory();
    list += ';';
    list += system;

    // Walk the list by characters so that the second byte of a double-byte
    // character is never taken for ';' or for a closing '\'.
    size_t start = 0;
    bool lastIsSeparator = false;  // entry ends in ':' or '\'
    uint32_t searched = 0;
    for (size_t i = 0; i <= list.size(); ++i) {
        if (i == list.size() || list[i] == ';') {
            if (i > start) {
                std::string candidate = list.substr(start, i - start);
                if (!lastIsSeparator) candidate += '\\';
                candidate = Anchored(candidate + name, system);  // a relative entry such as "."
                ++searched;
                if (!candidate.empty() && files.FileExists(candidate)) return {candidate, true, searched};
            }
            start = i + 1;
            lastIsSeparator = false;
            continue;
        }
        if (locale_.IsLeadByte(static_cast<unsigned char>(list[i])) && i + 1 < list.size()) {
            ++i;
            lastIsSeparator = false;
        } else {
            lastIsSeparator = list[i] == ':' || list[i] == '\\';
        }
    }
    return {name, false, searched};
}

std::string CommandChecker::FindInPath(const std::string& name) const { return Search(name).name; }

std::string CommandChecker::CommandToFileName(std::string_view command) const
{
    return FindInPath(CutAfterProgramName(RemoveBadChars(command)));
}

namespace {

bool IsRundll(const std::string& file)
{
    std::string head = file.substr(0, 6);
    for (char& c : head) c = AsciiLower(c);
    return head == "rundll";
}

bool IsExempt(const std::string& file) { return IsRundll(file) || (!file.empty() && file[0] == '%'); }

}  // namespace

Verdict CommandChecker::Check(std::string_view command, bool explain) const
{
    std::string name = CutAfterProgramName(RemoveBadChars(command));
    // The search either finds a file (valid) or leaves the name as it is, so
    // a name that is exempt as it stands is valid without searching.
    if (IsExempt(name)) return {true, {IsRundll(name) ? Why::Rundll : Why::Variable, 0, {}}};

    // The search already probed the name it returns: a found name exists, and
    // an unfound one is the name probed first.
    Found found = Search(name);
    if (found.exists)
        return {true, {SearchedFor(name) ? Why::OnSearchPath : Why::Exists, 0, std::move(found.name)}};

    const unsigned type = Files().DriveType(found.name.substr(0, 3));
    if (type == kDriveRemovable || type == kDriveCdRom) return {true, {Why::Removable, 0, found.name.substr(0, 2)}};
    if (!explain) return {false, {}};
    return {false, Missing(found.name, found.searched)};
}

Reason CommandChecker::Missing(const std::string& name, uint32_t searched) const
{
    if (name.empty()) return {Why::NoName, 0, {}};
    if (SearchedFor(name)) return {Why::NotOnSearchPath, searched, name};
    const bool share = name.size() >= 2 && IsSlash(name[0]) && IsSlash(name[1]);

    FileSystem& files = Files();
    const std::string path = Anchored(name, files.SystemDirectory());
    if (path.empty()) return {Why::NoFile, 0, name};
    size_t from = 3;  // the first folder below the drive's root
    if (share) {
        // \\server\share\ is the root of a share; asked about as a folder below.
        from = path.find('\\', 2);
        from = from == std::string::npos ? path.size() : from + 1;
    } else {
        const std::string root = path.substr(0, 3);
        if (files.DriveType(root) == kDriveNoRoot) return {Why::NoDrive, 0, path.substr(0, 2)};
        if (files.DirectoryPresence(root) != FileSystem::Presence::Directory)
            return {Why::DriveNotReady, 0, path.substr(0, 2)};
    }
    // The folders from the top down: the first one missing is what is gone.
    for (size_t i = from; i < path.size(); ++i) {
        if (locale_.IsLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size()) {
            ++i;
            continue;
        }
        if (path[i] != '\\') continue;
        const std::string folder = path.substr(0, i);
        const FileSystem::Presence presence = files.DirectoryPresence(folder);
        if (presence == FileSystem::Presence::Missing) return {Why::NoFolder, 0, folder};
        if (presence == FileSystem::Presence::Unknown) break;
    }
    if (files.DirectoryPresence(path) == FileSystem::Presence::Directory) return {Why::Folder, 0, path};
    return {Why::NoFile, 0, path};
}

std::string CommandChecker::ProgramFile(std::string_view command) const
{
    const std::string name = CutAfterProgramName(RemoveBadChars(command));
    const Found found = Search(name);
    if (found.exists) return found.name;
    // "RunDll32 lib.dll,Entry" is good without a look-up; what runs is the
    // loader its first word names, searched for like any bare name.
    if (!IsRundll(name)) return std::string();
    std::string loader = name.substr(0, name.find(' '));
    if (loader.find_first_of("\\/:") != std::string::npos) return std::string();
    if (loader.find('.') == std::string::npos) loader += ".exe";
    const Found program = Search(loader);
    return program.exists ? program.name : std::string();
}

}  // namespace quillet
