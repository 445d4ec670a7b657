#include "runner/UninstallJob.h"

#include "runner/EntryCommands.h"

namespace quillet {

std::string FreeSpaceComment(int64_t freeBefore, int64_t freeAfter, const std::string& decimalSeparator)
{
    const int64_t difference = freeAfter - freeBefore;
    const bool added = difference < 0;
    const uint64_t amount = added ? 0 - static_cast<uint64_t>(difference) : static_cast<uint64_t>(difference);
    return std::string(added ? "Probably added: " : "Probably cleared: ") + Megabytes(amount, decimalSeparator) +
           " MB";
}

}  // namespace quillet
