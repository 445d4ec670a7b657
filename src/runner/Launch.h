#pragma once
#include <string>

namespace quillet {

// What the process creation is given for one start. The program is always
// named, so the platform never looks for it in the folders it searches for
// a bare command line (the caller's own folder first, then its current one).
struct ProcessLaunch {
    std::string application;  // the file to run; empty: not to be started
    std::string commandLine;
    std::string directory;    // the working directory: the program's own folder
};

// `program` is the full path of the file a command names, `folder` its
// directory. A batch file runs through the system's command interpreter,
// which is the only way to start one by name; an .exe gets the command line
// as it was written.
ProcessLaunch PlanLaunch(const std::string& program, const std::string& folder, const std::string& commandLine,
                         const std::string& systemDirectory);

}  // namespace quillet
