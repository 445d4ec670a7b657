#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "catalogue/OneLoadFileSystem.h"
#include "catalogue/Verdict.h"

namespace quillet {

class Locale;

// The command validity test: does an uninstall command still point at a
// program that exists? Never raises; every input gives true or false.
// A relative name is looked for as if the current directory were the system
// directory, whatever it is at the moment: Quillet runs elevated, and its
// own folder or a Downloads folder it was started from may hold planted files.
class CommandChecker {
public:
    CommandChecker(FileSystem& files, const Locale& locale) : files_(files), locale_(locale) {}

    bool IsValidCommand(std::string_view command) const { return Check(command, false).valid; }
    // The same verdict with its reason; a bad one costs a few more questions
    // (the drive, the folders) to say what is missing.
    Verdict Judge(std::string_view command) const { return Check(command, true); }
    // While a batch is open (one list load), the files are seen through a
    // view made for that load alone (OneLoadFileSystem): the same answers,
    // fewer questions. Nothing it learnt outlives the batch.
    void BeginBatch() const { batch_ = std::make_unique<OneLoadFileSystem>(files_); }
    void EndBatch() const { batch_.reset(); }
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
        uint32_t searched = 0;     // entries of the list looked in
    };
    Found Search(const std::string& name) const;
    Verdict Check(std::string_view command, bool explain) const;
    // What is missing of a name the search did not find.
    Reason Missing(const std::string& name, uint32_t searched) const;
    // Where a relative name points with the system directory as the current
    // one; empty when that directory is unknown.
    std::string Anchored(const std::string& name, const std::string& systemDirectory) const;
    bool EndsWithSeparator(const std::string& text) const;
    FileSystem& Files() const { return batch_ ? *batch_ : files_; }

    FileSystem& files_;
    const Locale& locale_;
    mutable std::unique_ptr<OneLoadFileSystem> batch_;
};

// Drops every '"', '/', '*' and '?'.
std::string RemoveBadChars(std::string_view command);
// Cuts right after the first ".exe " (any letter case), dropping the rest.
std::string CutAfterProgramName(std::string_view text);

}  // namespace quillet
