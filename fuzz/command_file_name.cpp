// The command validity test: CommandToFileName turns any command into a name
// drawn from the command itself (its bad characters dropped, cut after the
// first ".exe "), found as it stands or under the first search-list entry
// that holds it; IsValidCommand agrees with that name and the exemptions.
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

    const auto resolved = [&](const std::string& n) {
        return n.size() >= 2 && n[1] == ':' ? n : files.currentDirectory + n;
    };
    const auto candidate = [&](const std::string& entry) {
        const char last = entry.back();
        return entry + (last == ':' || last == '\\' ? "" : "\\") + name;
    };
    const std::string list = files.path.value_or("") + ";" + files.windowsDirectory + ";" + files.systemDirectory;
    const std::vector<std::string> entries = Entries(list);
    if (input.ConsumeBool()) files.AddFile(resolved(name));
    for (const std::string& entry : entries)
        if (input.ConsumeBool()) files.AddFile(resolved(candidate(entry)));
    const auto exists = [&](const std::string& n) { return files.files.count(Lower(resolved(n))) != 0; };

    CommandChecker checker(files, locale);
    const std::string result = checker.CommandToFileName(command);

    // Drawn from the command: its last part is the name, which is a piece of
    // the command without the characters the rule drops.
    FUZZ_CHECK(IsSubsequence(name, command));
    FUZZ_CHECK(name.find_first_of("\"/*?") == std::string::npos);
    FUZZ_CHECK(result.size() >= name.size() && result.compare(result.size() - name.size(), name.size(), name) == 0);

    bool found;
    if (!locale.doubleByte) {
        std::string expected = name;
        found = exists(name);
        for (size_t i = 0; !found && i < entries.size(); ++i)
            if (exists(candidate(entries[i]))) {
                expected = candidate(entries[i]);
                found = true;
            }
        FUZZ_CHECK(result == expected);
    } else {
        // Separators after a lead byte are not separators: only what any hit
        // must satisfy.
        found = result != name || exists(name);
        if (result != name) FUZZ_CHECK(exists(result));
    }

    // Valid: found, or exempt, or on a drive that may be out.
    const std::string head = Lower(name.substr(0, 6));
    const unsigned type = files.DriveType(result.substr(0, 3));
    const bool expectedValid = found || head == "rundll" || (!name.empty() && name[0] == '%') ||
                               type == kDriveRemovable || type == kDriveCdRom;
    FUZZ_CHECK(checker.IsValidCommand(command) == expectedValid);
    return 0;
}
