#pragma once
#include "catalogue/EntryRow.h"
#include "catalogue/Registry.h"

namespace quillet {

// Reads the open entry key into the row in one pass over its values: the
// caption and command exactly as ReadString gives them (and raising as it
// does for a value of another type), the details cut for display. False
// when the entry has no caption or no command: it is not listed.
bool ReadEntry(Registry& registry, EntryRow& row);

}  // namespace quillet
