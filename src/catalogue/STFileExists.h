#pragma once
#include <map>
#include <string>
#include <string_view>

namespace quillet {

class FileSystem;
class Locale;

// The command validity test: does an uninstall command still point at a
// program that exists? Never raises; every input gives true or false.
// A relative name is looked for as if the current directory were the system
// directory, whatever it is at the moment: Quillet runs elevated, and its
// own folder or a Downloads folder it was started from may hold planted files.
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
    // The file a command runs, found by the same search that judges it, so
    // that a good mark and the program started always agree; empty when
    // there is no file to run (the start then fails as for a missing program).
    std::string ProgramFile(std::string_view command) const;

private:
    struct Found {
        std::string name;
        bool exists;
    };
    Found Search(const std::string& name) const;
    // Where a relative name points with the system directory as the current
    // one; empty when that directory is unknown.
    std::string Anchored(const std::string& name, const std::string& systemDirectory) const;
    bool EndsWithSeparator(const std::string& text) const;
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
