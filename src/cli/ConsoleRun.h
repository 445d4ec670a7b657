#pragma once
#include <string>

#include "cli/Arguments.h"

namespace quillet {

class Clock;
class FileSystem;
class FileWriter;
class Locale;
class ProfileFile;
class Registry;

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

struct ConsolePorts {
    Registry& registry;
    FileSystem& files;
    const Locale& locale;
    Clock& clock;
    FileWriter& writer;  // the list, the backup and the changes file
    ProfileFile& profile;
    RunningWindow& window;
    ConsoleOutput& console;
    bool windows64 = false;
    std::string exePath;  // the settings file and the Backup folder are beside it
};

// Runs a command-line command through the window's own parts; every error is
// a line on standard error. Returns the exit code.
int RunConsole(const Invocation& run, const ConsolePorts& ports);

}  // namespace quillet
