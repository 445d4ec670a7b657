#pragma once
#include <map>
#include <string>
#include <string_view>

namespace quillet {

class FileSystem;
class Locale;

// The command validity test: does an uninstall command still point at a
// program that exists? Never raises; every input gives true or false.
class CommandChecker {
public:
    CommandChecker(FileSystem& files, const Locale& locale) : files_(files), locale_(locale) {}

    bool IsValidCommand(std::string_view command) const;
    // While a batch is open (one list load), each drive's type is asked for
    // once: the platform call is slow and a drive's type does not change
    // while a list loads.
    void BeginBatch() const { inBatch_ = true; }
    void EndBatch() const
    {
        inBatch_ = false;
        driveTypes_.clear();
    }
    std::string CommandToFileName(std::string_view command) const;
    std::string FindInPath(const std::string& name) const;

private:
    struct Found {
        std::string name;
        bool exists;
    };
    Found Search(const std::string& name) const;
    unsigned DriveType(const std::string& root) const;

    FileSystem& files_;
    const Locale& locale_;
    mutable bool inBatch_ = false;
    mutable std::map<std::string, unsigned> driveTypes_;
};

// Drops every '"', '/', '*' and '?'.
std::string RemoveBadChars(std::string_view command);
// Cuts right after the first ".exe " (any letter case), dropping the rest.
std::string CutAfterProgramName(std::string_view text);

}  // namespace quillet
