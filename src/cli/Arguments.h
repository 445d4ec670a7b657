#pragma once
#include <string>
#include <vector>

namespace quillet {

// What the command line asks for. Without an argument, or when the first
// one is none of the commands below, the window starts as ever.
struct Invocation {
    enum class Action { Window, Usage, List, Backup, DeleteBad, Undo };
    enum class Format { Text, Csv, Json };
    Action action = Action::Window;
    Format format = Format::Text;  // /list: text to standard output, or a file
    std::string file;              // /csv, /json, /backup and /undo FILE
    bool yes = false;              // /delete-bad /yes
    // A command with an argument it does not take: the line for standard error.
    std::string error;
};

// The arguments after the program's name. Switches start with '/' or '-'
// and match without regard to case.
Invocation ParseArguments(const std::vector<std::string>& arguments);

// What /? prints.
std::string UsageText();

// The exit codes: 0 done, 1 some of it failed, 2 bad arguments.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitBadArguments = 2;

}  // namespace quillet
