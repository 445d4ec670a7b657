#include "runner/UninstallJob.h"

namespace quillet {

char CommandDrive(const std::string& command)
{
    size_t at = 0;
    if (!command.empty() && command[0] == '"') at = 1;
    if (at >= command.size()) return 0;
    const char c = command[at];
    return ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) ? c : 0;
}

std::string FreeSpaceComment(int64_t freeBefore, int64_t freeAfter, const std::string& decimalSeparator)
{
    const int64_t difference = freeAfter - freeBefore;
    const bool added = difference < 0;
    const uint64_t amount = added ? 0 - static_cast<uint64_t>(difference) : static_cast<uint64_t>(difference);
    // Tenths of a megabyte, rounded half up, in integers so nothing is lost.
    const uint64_t tenths = (amount / 1048576) * 10 + ((amount % 1048576) * 10 + 524288) / 1048576;
    return std::string(added ? "Probably added: " : "Probably cleared: ") + std::to_string(tenths / 10) +
           decimalSeparator + std::to_string(tenths % 10) + " MB";
}

}  // namespace quillet
