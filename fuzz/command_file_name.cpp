// The command validity test: CommandToFileName turns any command into a name
// drawn from the command itself (its bad characters dropped, cut after the
// first ".exe "), found as it stands (a relative name in the system
// directory, never in the current one) or under the first search-list entry
// that holds it; IsValidCommand agrees with that name and the exemptions,
// and ProgramFile is the name found, or nothing.
// The files that exist are chosen by the input among the places the search
// can look, so hits and misses are both reached.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Check.h"
#include "catalogue/STFileExists.h"
#include "fakes/FakeFileSystem.h"

using namespace quillet;
using namespace quillet::fakes;
using quillet::fuzz::Lower;

namespace {

bool IsSubsequence(const std::string& part, const std::string& whole)
{
    size_t i = 0;
    for (char c : whole)
        if (i < part.size() && part[i] == c) ++i;
    return i == part.size();
}

std::vector<std::string> Entries(const std::string& list)
{
    std::vector<std::string> entries;
    std::string entry;
    for (char c : list + ';') {
        if (c != ';') {
            entry += c;
            continue;
        }
        if (!entry.empty()) entries.push_back(entry);
        entry.clear();
    }
    return entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    FakeFileSystem files;
    FakeLocale locale;
    files.drives = {{'a', kDriveRemovable}, {'c', 3}, {'d', kDriveCdRom}};
    locale.doubleByte = input.ConsumeBool();
    if (input.ConsumeBool()) files.path = input.ConsumeRandomLengthString(64);
    if (input.ConsumeBool()) files.windowsDirectory = input.ConsumeRandomLengthString(24);
    if (input.ConsumeBool()) files.systemDirectory = input.ConsumeRandomLengthString(24);
    const std::string command = input.ConsumeRandomLengthString(160);

    // The name, read off the command independently of the code under test.
    std::string cleaned;
    for (char c : command)
        if (c != '"' && c != '/' && c != '*' && c != '?') cleaned += c;
    const size_t cut = Lower(cleaned).find(".exe ");
    const std::string name = cut == std::string::npos ? cleaned : cleaned.substr(0, cut + 4);

    // Where the fake looks for a name, and where the checker's rule says a
    // relative name points: the system directory stands for the current one.
    const auto resolved = [&](const std::string& n) {
        return n.size() >= 2 && n[1] == ':' ? n : files.currentDirectory + n;
    };
    const auto slash = [](char c) { return c == '\\' || c == '/'; };
    const auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    const std::string& system = files.systemDirectory;
    const auto anchored = [&](const std::string& n) -> std::string {
        if (n.empty()) return n;
        const bool drive = n.size() >= 2 && letter(n[0]) && n[1] == ':';
        if ((drive && n.size() >= 3 && slash(n[2])) || (n.size() >= 2 && slash(n[0]) && slash(n[1]))) return n;
        if (system.size() < 3 || !letter(system[0]) || system[1] != ':' || !slash(system[2])) return "";
        const std::string base = system.back() == '\\' || system.back() == ':' ? system : system + "\\";
        if (drive && Lower(n.substr(0, 1)) != Lower(system.substr(0, 1)))
            return n.substr(0, 2) + "\\" + n.substr(2);
        if (drive) return base + n.substr(2);
        if (slash(n[0])) return system.substr(0, 2) + n;
        return base + n;
    };
    const auto candidate = [&](const std::string& entry) {
        const char last = entry.back();
        return anchored(entry + (last == ':' || last == '\\' ? "" : "\\") + name);
    };
    const std::string list = files.path.value_or("") + ";" + files.windowsDirectory + ";" + files.systemDirectory;
    const std::vector<std::string> entries = Entries(list);
    // Planted where only the current directory would find it: never a hit.
    if (input.ConsumeBool()) files.AddFile(resolved(name));
    if (input.ConsumeBool() && !anchored(name).empty()) files.AddFile(resolved(anchored(name)));
    for (const std::string& entry : entries)
        if (input.ConsumeBool() && !candidate(entry).empty()) files.AddFile(resolved(candidate(entry)));
    const auto exists = [&](const std::string& n) {
        return !n.empty() && files.files.count(Lower(resolved(n))) != 0;
    };

    CommandChecker checker(files, locale);
    const std::string result = checker.CommandToFileName(command);

    // Drawn from the command: its last part is the name, which is a piece of
    // the command without the characters the rule drops.
    FUZZ_CHECK(IsSubsequence(name, command));
    FUZZ_CHECK(name.find_first_of("\"/*?") == std::string::npos);
    const bool driveRelative =
        name.size() >= 2 && letter(name[0]) && name[1] == ':' && (name.size() < 3 || !slash(name[2]));
    const std::string tail = driveRelative ? name.substr(2) : name;
    FUZZ_CHECK(result.size() >= tail.size() && result.compare(result.size() - tail.size(), tail.size(), tail) == 0);

    bool found;
    if (!locale.doubleByte) {
        std::string expected = name;
        found = exists(anchored(name));
        if (found) expected = anchored(name);
        for (size_t i = 0; !found && i < entries.size(); ++i)
            if (exists(candidate(entries[i]))) {
                expected = candidate(entries[i]);
                found = true;
            }
        FUZZ_CHECK(result == expected);
    } else {
        // Separators after a lead byte are not separators: only what any hit
        // must satisfy.
        found = result != name || (anchored(name) == name && exists(name));
        if (result != name) FUZZ_CHECK(exists(result));
    }

    // Valid: found, or exempt, or on a drive that may be out.
    const std::string head = Lower(name.substr(0, 6));
    const unsigned type = files.DriveType(result.substr(0, 3));
    const bool expectedValid = found || head == "rundll" || (!name.empty() && name[0] == '%') ||
                               type == kDriveRemovable || type == kDriveCdRom;
    FUZZ_CHECK(checker.IsValidCommand(command) == expectedValid);

    // Within one load the answers are the same, however often asked.
    checker.BeginBatch();
    for (int round = 0; round < 2; ++round) {
        FUZZ_CHECK(checker.CommandToFileName(command) == result);
        FUZZ_CHECK(checker.IsValidCommand(command) == expectedValid);
    }
    checker.EndBatch();

    // What runs is what was judged: the file found, or (for the loader's
    // bare name) a file that exists; nothing for a name not found.
    const std::string program = checker.ProgramFile(command);
    if (found) FUZZ_CHECK(program == result);
    if (!program.empty()) FUZZ_CHECK(exists(program) && expectedValid);
    if (!found && head != "rundll") FUZZ_CHECK(program.empty());
    return 0;
}
