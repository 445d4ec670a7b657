#pragma once
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "catalogue/FileSystem.h"
#include "runner/AppRunner.h"
#include "common/Locale.h"
#include "common/Unicode.h"

namespace quillet::fakes {

// Files and drives as a table: names compared ignoring ASCII case, relative
// names resolved against `currentDirectory`.
class FakeFileSystem : public FileSystem {
public:
    std::optional<std::string> path;
    std::string windowsDirectory = "C:\\WINDOWS";
    std::string systemDirectory = "C:\\WINDOWS\\SYSTEM";
    std::string currentDirectory = "C:\\CWD\\";
    std::set<std::string> files;  // lower-cased full names
    std::set<std::string> directories;  // lower-cased, without a trailing backslash
    std::map<char, unsigned> drives{{'c', 3}};
    std::set<char> notReady;  // lower-case letters of drives that answer nothing
    int probes = 0;
    int driveQueries = 0;
    int directoryProbes = 0;
    int listings = 0;
    std::map<char, int64_t> freeSpace;  // upper-case drive letter -> bytes
    std::vector<char> freeSpaceQueries;

    void AddFile(const std::string& name) { files.insert(Lower(name)); }
    std::map<std::string, uint64_t> sizes;  // lower-cased full names; missing: 0 bytes
    void AddFile(const std::string& name, uint64_t bytes)
    {
        AddFile(name);
        sizes[Lower(name)] = bytes;
    }
    void AddDirectory(std::string name)
    {
        while (!name.empty() && name.back() == '\\') name.pop_back();
        directories.insert(Lower(name));
    }

    std::optional<std::string> EnvironmentVariable(const std::string& name) override
    {
        return Lower(name) == "path" ? path : std::nullopt;
    }
    std::string WindowsDirectory() override { return windowsDirectory; }
    std::string SystemDirectory() override { return systemDirectory; }
    bool FileExists(const std::string& name) override
    {
        ++probes;
        const bool absolute = name.size() >= 2 && name[1] == ':';
        return files.count(Lower(absolute ? name : currentDirectory + name)) != 0;
    }
    bool DirectoryExists(const std::string& name) override
    {
        std::string key = Lower(name);
        while (!key.empty() && key.back() == '\\') key.pop_back();
        return !key.empty() && directories.count(key) != 0;
    }
    Presence DirectoryPresence(const std::string& name) override
    {
        ++directoryProbes;
        // A drive's root: there when the drive is, unknown while it is not ready.
        if (name.size() == 3 && name[1] == ':' && name[2] == '\\') {
            const char drive = Lower(name)[0];
            if (notReady.count(drive)) return Presence::Unknown;
            return drives.count(drive) ? Presence::Directory : Presence::Missing;
        }
        return IsDirectory(name) ? Presence::Directory : Presence::Missing;
    }
    std::optional<std::vector<std::string>> ListDirectory(const std::string& directory) override
    {
        ++listings;
        if (!IsDirectory(directory)) return std::nullopt;
        const std::string prefix = Folder(directory) + "\\";
        std::set<std::string> names;
        for (const auto* table : {&files, &directories})
            for (const std::string& entry : *table)
                if (entry.size() > prefix.size() && entry.compare(0, prefix.size(), prefix) == 0)
                    names.insert(entry.substr(prefix.size(), entry.find('\\', prefix.size()) - prefix.size()));
        return std::vector<std::string>(names.begin(), names.end());
    }
    std::optional<FolderUsage> MeasureFolder(const std::string& directory) override
    {
        if (!IsDirectory(directory)) return std::nullopt;
        const std::string prefix = Folder(directory) + "\\";
        FolderUsage usage;
        for (const std::string& file : files)
            if (file.compare(0, prefix.size(), prefix) == 0) {
                ++usage.files;
                const auto size = sizes.find(file);
                if (size != sizes.end()) usage.bytes += size->second;
            }
        return usage;
    }
    // A directory listed as one or holding a file.
    bool IsDirectory(const std::string& name) const
    {
        const std::string key = Folder(name);
        if (directories.count(key)) return true;
        const auto below = files.lower_bound(key + "\\");
        return below != files.end() && below->compare(0, key.size() + 1, key + "\\") == 0;
    }
    unsigned DriveType(const std::string& root) override
    {
        ++driveQueries;
        if (root.size() != 3 || root[1] != ':' || root[2] != '\\') return 1;  // not a root
        const auto it = drives.find(Lower(root)[0]);
        return it == drives.end() ? 1 : it->second;
    }

    int64_t FreeSpace(char drive) override
    {
        freeSpaceQueries.push_back(drive);
        const auto it = freeSpace.find(static_cast<char>(drive >= 'a' && drive <= 'z' ? drive - 32 : drive));
        return it == freeSpace.end() ? -1 : it->second;
    }

    // A root ("C:\\") names its folder with the backslash.
    static std::string Folder(const std::string& name)
    {
        std::string key = Lower(name);
        if (!key.empty() && key.back() == '\\') key.pop_back();
        return key;
    }
    static std::string Lower(std::string s)
    {
        for (char& c : s)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return s;
    }
};

// An English-like user locale: a word sort (letters before case, lower case
// first, hyphens and apostrophes nearly ignored, digits as characters),
// dates as DD.MM.YYYY and times as HH:MM:SS. Its ANSI code page is Latin-1:
// every character below U+0100 fits. Shift-JIS lead bytes on request.
class FakeLocale : public Locale {
public:
    bool doubleByte = false;

    bool IsLeadByte(unsigned char b) const override
    {
        return doubleByte && ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC));
    }
    bool ToAnsi(const std::string& utf8, std::string& ansi) const override
    {
        ansi.clear();
        bool valid = true;
        for (size_t at = 0; at < utf8.size();) {
            const char32_t c = NextCodePoint(utf8, at, valid);
            if (!valid || c > 0xFF) return false;
            ansi += static_cast<char>(c);
        }
        return true;
    }
    std::string FromAnsi(const std::string& ansi) const override
    {
        std::string out;
        for (char c : ansi) AppendUtf8(out, static_cast<unsigned char>(c));
        return out;
    }
    int Compare(const std::string& a, const std::string& b) const override
    {
        const auto strip = [](const std::string& s, bool fold) {
            std::string out;
            for (char c : s) {
                if (c == '-' || c == '\'') continue;
                out += fold && c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
            }
            return out;
        };
        if (int r = strip(a, true).compare(strip(b, true))) return r < 0 ? -1 : 1;
        // Case decides next, lower case first.
        const std::string x = strip(a, false), y = strip(b, false);
        for (size_t i = 0; i < x.size() && i < y.size(); ++i)
            if (x[i] != y[i]) return (x[i] >= 'a' && x[i] <= 'z') ? -1 : 1;
        // Then the text without the nearly ignored marks: coop before co-op.
        if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
        if (int r = a.compare(b)) return r < 0 ? -1 : 1;
        return 0;
    }
    // Compare's four steps as four parts, each deciding only where the
    // ones before it tie: the folded letters (each byte after a 1, ended by
    // a 0, so that a prefix comes first), their case, the length, the bytes.
    std::string SortKey(const std::string& text) const override
    {
        std::string key, cases;
        for (char c : text) {
            if (c == '-' || c == '\'') continue;
            key += '\1';
            key += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
            cases += c >= 'a' && c <= 'z' ? '\0' : '\1';
        }
        key += '\0';
        key += cases;
        for (int shift = 56; shift >= 0; shift -= 8) key += static_cast<char>((text.size() >> shift) & 0xFF);
        return key + text;
    }
    std::string ShortDate(const LocalTime& t) const override
    {
        char text[32];
        std::snprintf(text, sizeof text, "%02d.%02d.%04d", t.day, t.month, t.year);
        return text;
    }
    std::string decimalSeparator = ",";
    std::string DecimalSeparator() const override { return decimalSeparator; }
    std::string LongTime(const LocalTime& t) const override
    {
        char text[32];
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.hour, t.minute, t.second);
        return text;
    }
    // The capitals of code page 1252: A to Z, the accented ones and the four
    // that sit at 0x8A..0x9F there. Bytes that are no UTF-8 stay as they are.
    std::string LowerCase(const std::string& text) const override
    {
        std::string out;
        out.reserve(text.size());
        for (size_t at = 0; at < text.size();) {
            bool valid = true;
            const size_t from = at;
            char32_t c = NextCodePoint(text, at, valid);
            if (!valid) {
                out += text[from];
                continue;
            }
            if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) c += 0x20;
            else if (c == 0x160 || c == 0x152 || c == 0x17D) c += 1;
            else if (c == 0x178) c = 0xFF;
            AppendUtf8(out, c);
        }
        return out;
    }
    bool SameTextIgnoreCase(const std::string& a, const std::string& b) const override
    {
        return LowerCase(a) == LowerCase(b);
    }
    std::string CaseBlindKey(const std::string& text) const override { return LowerCase(text); }
};

// Starts nothing; the test ends the "process" by calling Finish. Like the
// real runner it refuses a start without a program file.
class FakeRunner : public AppRunner {
public:
    bool startResult = true;
    std::vector<std::string> started;   // command lines
    std::vector<std::string> programs;  // the program file of each
    std::function<void()> whileRunning;  // runs inside Execute, after the start

    bool Execute(const std::string& programFile, const std::string& commandLine) override
    {
        started.push_back(commandLine);
        programs.push_back(programFile);
        const bool ok = startResult && !programFile.empty();
        if (ok && whileRunning) whileRunning();
        return ok;
    }
    uint32_t exitCode = 0;
    uint32_t ExitCode() const override { return exitCode; }
    void Finish()
    {
        if (OnTerminated) OnTerminated();
    }
};

class FakeClock : public Clock {
public:
    LocalTime now{2026, 12, 8, 14, 5, 9, 2};
    LocalTime Now() override { return now; }
};

}  // namespace quillet::fakes
