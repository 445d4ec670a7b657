#include "cli/Arguments.h"

#include "common/Text.h"

namespace quillet {

namespace {

// "/LIST" and "-list" both give "list"; a word without a switch mark gives "".
std::string SwitchName(const std::string& argument)
{
    if (argument.size() < 2 || (argument[0] != '/' && argument[0] != '-')) return std::string();
    std::string name = argument.substr(argument[1] == '-' && argument[0] == '-' ? 2 : 1);
    for (char& c : name) c = AsciiLower(c);
    return name;
}

// One of the words this command line knows, where a file name should be:
// the user left the name out.
bool IsSwitch(const std::string& argument)
{
    const std::string name = SwitchName(argument);
    for (const char* known : {"?", "help", "list", "backup", "delete-bad", "undo", "csv", "json", "yes"})
        if (name == known) return true;
    return false;
}

}  // namespace

Invocation ParseArguments(const std::vector<std::string>& arguments)
{
    using Action = Invocation::Action;
    Invocation run;
    if (arguments.empty()) return run;
    const std::string command = SwitchName(arguments[0]);
    if (command == "?" || command == "help") run.action = Action::Usage;
    else if (command == "list") run.action = Action::List;
    else if (command == "backup") run.action = Action::Backup;
    else if (command == "delete-bad") run.action = Action::DeleteBad;
    else if (command == "undo") run.action = Action::Undo;
    else return run;  // not ours: the window, as without arguments

    const auto fail = [&](const std::string& message) {
        run.error = message;
        return run;
    };
    size_t at = 1;
    // The commands that name their file right after themselves.
    if (run.action == Action::Backup || run.action == Action::Undo) {
        if (at >= arguments.size() || arguments[at].empty() || IsSwitch(arguments[at]))
            return fail(arguments[0] + " needs the name of a file.");
        run.file = arguments[at++];
    }
    for (; at < arguments.size(); ++at) {
        const std::string& argument = arguments[at];
        const std::string name = SwitchName(argument);
        if (run.action == Action::List && (name == "csv" || name == "json")) {
            if (run.format != Invocation::Format::Text) return fail("Only one of /csv and /json can be given.");
            if (at + 1 >= arguments.size() || arguments[at + 1].empty() || IsSwitch(arguments[at + 1]))
                return fail(argument + " needs the name of a file.");
            run.format = name == "csv" ? Invocation::Format::Csv : Invocation::Format::Json;
            run.file = arguments[++at];
        } else if (run.action == Action::DeleteBad && name == "yes" && !run.yes) {
            run.yes = true;
        } else {
            return fail("Unknown argument for " + arguments[0] + ": " + argument + " (Quillet /? lists the commands).");
        }
    }
    return run;
}

std::string UsageText()
{
    return "Quillet: the list of installed programs, for scripts.\n"
           "\n"
           "  Quillet /list [/csv FILE | /json FILE]   every entry; to standard output without a file\n"
           "  Quillet /backup FILE                     every entry into a registry file\n"
           "  Quillet /delete-bad [/yes]               the bad entries; removed only with /yes\n"
           "  Quillet /undo FILE                       takes back the changes a changes file names\n"
           "  Quillet /?                               this text\n"
           "\n"
           "Without arguments the window opens. Exit codes: 0 done, 1 some of it failed,\n"
           "2 bad arguments.\n";
}

}  // namespace quillet
