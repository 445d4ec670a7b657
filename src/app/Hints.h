#pragma once
#include <string>

namespace quillet {

// A hint is "short|long": the tooltip shows the short part, the status bar
// the long one. Without a "|" both parts are the whole text.
std::string ShortHint(const std::string& hint);
std::string LongHint(const std::string& hint);

}  // namespace quillet
