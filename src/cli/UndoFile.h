#pragma once
#include <string>

#include "cli/ConsoleRun.h"

namespace quillet {

// /undo FILE: the way back a changes file keeps, for each change it names,
// newest first. A key is put back only while nothing changed it since the
// change: a deleted entry only where it is still absent. Returns the exit code.
int UndoChangesFile(const std::string& path, const ConsolePorts& ports);

}  // namespace quillet
