#pragma once
#include <string>

#include "common/Error.h"

namespace quillet {

class Registry;

// Why an entry's key at `path` (absolute, below the accessor's root) could
// not be opened: gone (removed by another program since the list was read,
// and not to be brought back), or there but not ours to open.
QuilletError EntryKeyError(Registry& registry, const std::string& path, const std::string& caption);

}  // namespace quillet
