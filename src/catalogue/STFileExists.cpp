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

CommandChecker::Found CommandChecker::Search(const std::string& name) const
{
    if (files_.FileExists(name)) return {name, true};

    std::string list = files_.EnvironmentVariable("Path").value_or(std::string());
    list += ';';
    list += files_.WindowsDirectory();
    list += ';';
    list += files_.SystemDirectory();

    // Walk the list by characters so that the second byte of a double-byte
    // character is never taken for ';' or for a closing '\'.
    size_t start = 0;
    bool lastIsSeparator = false;  // entry ends in ':' or '\'
    for (size_t i = 0; i <= list.size(); ++i) {
        if (i == list.size() || list[i] == ';') {
            if (i > start) {
                std::string candidate = list.substr(start, i - start);
                if (!lastIsSeparator) candidate += '\\';
                candidate += name;
                if (files_.FileExists(candidate)) return {candidate, true};
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
    return {name, false};
}

std::string CommandChecker::FindInPath(const std::string& name) const { return Search(name).name; }

std::string CommandChecker::CommandToFileName(std::string_view command) const
{
    return FindInPath(CutAfterProgramName(RemoveBadChars(command)));
}

unsigned CommandChecker::DriveType(const std::string& root) const
{
    if (!inBatch_) return files_.DriveType(root);
    const auto known = driveTypes_.find(root);
    if (known != driveTypes_.end()) return known->second;
    return driveTypes_[root] = files_.DriveType(root);
}

namespace {

bool IsExempt(const std::string& file)
{
    std::string head = file.substr(0, 6);
    for (char& c : head) c = AsciiLower(c);
    return head == "rundll" || (!file.empty() && file[0] == '%');
}

}  // namespace

bool CommandChecker::IsValidCommand(std::string_view command) const
{
    const std::string name = CutAfterProgramName(RemoveBadChars(command));
    // The search either finds a file (valid) or leaves the name as it is, so
    // a name that is exempt as it stands is valid without searching.
    if (IsExempt(name)) return true;

    // The search already probed the name it returns: a found name exists, and
    // an unfound one is the name probed first.
    const Found found = Search(name);
    if (found.exists) return true;

    const unsigned type = DriveType(found.name.substr(0, 3));
    return type == kDriveRemovable || type == kDriveCdRom;
}

}  // namespace quillet
