#pragma once
#include <cstdint>
#include <string>

namespace quillet {

// "Probably cleared: 3.1 MB" / "Probably added: 0.5 MB": the change of free
// space in megabytes with one decimal, rounded, with the locale's separator.
std::string FreeSpaceComment(int64_t freeBefore, int64_t freeAfter, const std::string& decimalSeparator);

}  // namespace quillet
