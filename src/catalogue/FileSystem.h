#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillet {

enum DriveTypeCode : unsigned { kDriveNoRoot = 1, kDriveRemovable = 2, kDriveCdRom = 5 };

// Files, drives, directories and the environment, as the command validity
// test sees them.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Whole value of an environment variable, however long; nullopt when unset.
    virtual std::optional<std::string> EnvironmentVariable(const std::string& name) = 0;
    virtual std::string WindowsDirectory() = 0;
    virtual std::string SystemDirectory() = 0;
    // An entry of that name exists, is not a directory, and its last-write
    // time converts to a local DOS date and time.
    virtual bool FileExists(const std::string& name) = 0;
    // The platform's drive type code for the drive whose root is given.
    virtual unsigned DriveType(const std::string& root) = 0;
    // Bytes available to the user on a drive ('C' for C:\); -1 when the query fails.
    virtual int64_t FreeSpace(char drive) = 0;
    // An existing directory (a trailing backslash allowed).
    virtual bool DirectoryExists(const std::string& name) = 0;

    // Missing only when the platform says the name or its path is not
    // found; whatever it cannot tell for sure is Unknown.
    enum class Presence { Directory, Missing, Unknown };
    virtual Presence DirectoryPresence(const std::string&) { return Presence::Unknown; }
    // Every entry's name in a directory, long and short names both; nullopt
    // when it cannot be listed to the end.
    virtual std::optional<std::vector<std::string>> ListDirectory(const std::string&) { return std::nullopt; }

    // The files below a folder, at any depth, and their bytes; nullopt when
    // it cannot be read.
    struct FolderUsage {
        uint64_t files = 0;
        uint64_t bytes = 0;
    };
    virtual std::optional<FolderUsage> MeasureFolder(const std::string&) { return std::nullopt; }
};

}  // namespace quillet
