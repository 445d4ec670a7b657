#include "cli/UndoFile.h"

namespace quillet {

int UndoChangesFile(const std::string& path, const ConsolePorts& ports)
{
    ports.console.Err("Cannot read \"" + path + "\": not yet\n");
    return kExitFailed;
}

}  // namespace quillet
