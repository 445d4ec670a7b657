#pragma once
#include "catalogue/FileSystem.h"

namespace quillet::win32 {

class Win32FileSystem : public FileSystem {
public:
    std::optional<std::string> EnvironmentVariable(const std::string& name) override;
    std::string WindowsDirectory() override;
    std::string SystemDirectory() override;
    bool FileExists(const std::string& name) override;
    unsigned DriveType(const std::string& root) override;
    int64_t FreeSpace(char drive) override;
    bool DirectoryExists(const std::string& name) override;
    Presence DirectoryPresence(const std::string& name) override;
    std::optional<std::vector<std::string>> ListDirectory(const std::string& directory) override;
    std::optional<FolderUsage> MeasureFolder(const std::string& directory) override;
};

}  // namespace quillet::win32
