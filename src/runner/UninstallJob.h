#pragma once
#include <cstdint>
#include <string>

namespace quillet {

// The drive a command runs from: its first character, or the one after an
// opening quote ("C:\Program Files\..."). 0 when there is none.
char CommandDrive(const std::string& command);

// "Probably cleared: 3.1 MB" / "Probably added: 0.5 MB": the change of free
// space in megabytes with one decimal, rounded, with the locale's separator.
std::string FreeSpaceComment(int64_t freeBefore, int64_t freeAfter, const std::string& decimalSeparator);

}  // namespace quillet
