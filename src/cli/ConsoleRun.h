#pragma once
#include <string>
#include <vector>

#include "cli/Arguments.h"
#include "log/ActionsLog.h"

namespace quillet {

class Clock;
class FileSystem;
class FileWriter;
class Locale;
class ProfileFile;
class Registry;
class UserAccounts;

// Standard output and standard error, UTF-8.
class ConsoleOutput {
public:
    virtual ~ConsoleOutput() = default;
    virtual void Out(const std::string& text) = 0;
    virtual void Err(const std::string& text) = 0;
};

// The window of a Quillet already running.
class RunningWindow {
public:
    virtual ~RunningWindow() = default;
    // Hands it the run's log records (settings-file log lines, oldest first,
    // one a line); it adds them to its log as its own and reloads its list.
    // False when no window took them.
    virtual bool TakeRecords(const std::string& lines) = 0;
};

// Whole files, for /undo.
class FileReader {
public:
    virtual ~FileReader() = default;
    // False, with the reason, when the file cannot be read.
    virtual bool ReadAll(const std::string& path, std::string& bytes, std::string& error) = 0;
};

struct ConsolePorts {
    Registry& registry;
    FileSystem& files;
    const Locale& locale;
    Clock& clock;
    FileWriter& writer;  // the list, the backup and the changes file
    FileReader& reader;
    ProfileFile& profile;
    RunningWindow& window;
    ConsoleOutput& console;
    bool windows64 = false;
    std::string exePath;  // the settings file and the Backup folder are beside it
    UserAccounts* accounts = nullptr;  // the users whose entries are listed too
};

// Runs a command-line command through the window's own parts; every error is
// a line on standard error. Returns the exit code.
int RunConsole(const Invocation& run, const ConsolePorts& ports);

// The run's log records (newest first) go to the running window, or else to
// the settings file's log, on top of what it keeps.
void KeepRecords(const ConsolePorts& ports, const std::vector<LogRecord>& newestFirst);

}  // namespace quillet
