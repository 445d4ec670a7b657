#pragma once
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>

#include "catalogue/FileSystem.h"

namespace quillet {

// The file system as one list load sees it: the same answers as the files it
// wraps, asked for more cheaply, on the assumption that nothing changes while
// the list loads. It is made for one load and dropped after it.
// - Each name and each drive is asked about once.
// - A directory found missing answers for every name below it: ten thousand
//   programs under a gone C:\Old cost one look at C:\Old.
// - A directory with a second miss in it (a file or a subdirectory not
//   there) is listed once; a name that no entry of the listing can match is
//   missing without a probe. Anything the listing cannot decide for sure is
//   probed as before.
// Only plain names take the shortcuts: a drive path of printable ASCII with
// no ".", "..", trailing dot or blank, device name, short-name '~' or
// wildcard in it; every other name is probed as it stands.
class OneLoadFileSystem : public FileSystem {
public:
    explicit OneLoadFileSystem(FileSystem& files) : files_(files) {}

    // Asked once per load: no one else can change this process's
    // environment, and the system's folders do not move while it runs.
    std::optional<std::string> EnvironmentVariable(const std::string& name) override
    {
        auto found = environment_.find(name);
        if (found == environment_.end()) found = environment_.emplace(name, files_.EnvironmentVariable(name)).first;
        return found->second;
    }
    std::string WindowsDirectory() override
    {
        if (!windowsDirectory_) windowsDirectory_ = files_.WindowsDirectory();
        return *windowsDirectory_;
    }
    std::string SystemDirectory() override
    {
        if (!systemDirectory_) systemDirectory_ = files_.SystemDirectory();
        return *systemDirectory_;
    }
    bool FileExists(const std::string& name) override;
    unsigned DriveType(const std::string& root) override;
    int64_t FreeSpace(char drive) override { return files_.FreeSpace(drive); }
    bool DirectoryExists(const std::string& name) override { return files_.DirectoryExists(name); }
    Presence DirectoryPresence(const std::string& name) override;
    std::optional<std::vector<std::string>> ListDirectory(const std::string& directory) override
    {
        return files_.ListDirectory(directory);
    }

private:
    struct Listing {
        bool decides = false;         // every entry plain ASCII
        std::set<std::string> names;  // ASCII lower-cased
    };
    bool Probe(const std::string& name);
    // The directory may hold an entry of that name: not listed, or listed
    // with a match or with entries the listing cannot show.
    bool Listed(std::string_view directory, std::string_view part) const;
    void Missed(std::string_view directory);

    FileSystem& files_;
    std::map<std::string, std::optional<std::string>> environment_;
    std::optional<std::string> windowsDirectory_, systemDirectory_;
    // A probe's folders are the beginnings of its name: looked up as they
    // stand (std::less<>), no copy made unless one is added.
    std::unordered_map<std::string, bool> answers_;
    std::map<std::string, unsigned> driveTypes_;
    std::map<std::string, Presence, std::less<>> directories_;
    std::map<std::string, int, std::less<>> misses_;
    std::map<std::string, Listing, std::less<>> listings_;
};

// The name's parts, split at '\', when it is a plain drive path as above;
// empty otherwise. The first part is the drive ("C:").
std::vector<std::string> PlainPathParts(const std::string& name);

}  // namespace quillet
