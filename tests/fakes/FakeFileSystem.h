#pragma once
#include <map>
#include <optional>
#include <set>
#include <string>

#include "catalogue/FileSystem.h"
#include "common/Locale.h"

namespace quillet::fakes {

// Files and drives as a table: names compared ignoring ASCII case, relative
// names resolved against `currentDirectory`.
class FakeFileSystem : public FileSystem {
public:
    std::optional<std::string> path;
    std::string windowsDirectory = "C:\\WINDOWS";
    std::string systemDirectory = "C:\\WINDOWS\\SYSTEM";
    std::string currentDirectory = "C:\\CWD\\";
    std::set<std::string> files;        // lower-cased full names
    std::map<char, unsigned> drives{{'c', 3}};
    int probes = 0;
    int driveQueries = 0;

    void AddFile(const std::string& name) { files.insert(Lower(name)); }

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
    unsigned DriveType(const std::string& root) override
    {
        ++driveQueries;
        if (root.size() != 3 || root[1] != ':' || root[2] != '\\') return 1;  // not a root
        const auto it = drives.find(Lower(root)[0]);
        return it == drives.end() ? 1 : it->second;
    }

    static std::string Lower(std::string s)
    {
        for (char& c : s)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return s;
    }
};

// A single-byte code page, or Shift-JIS-like lead bytes when asked.
class FakeLocale : public Locale {
public:
    bool doubleByte = false;
    bool IsLeadByte(unsigned char b) const override
    {
        return doubleByte && ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC));
    }
};

}  // namespace quillet::fakes
