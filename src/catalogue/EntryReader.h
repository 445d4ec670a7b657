#pragma once
#include "catalogue/EntryRow.h"
#include "catalogue/Registry.h"

namespace quillet {

// Reads the open entry key into the row in one pass over its values: the
// caption and command exactly as ReadString gives them (and raising as it
// does for a value of another type), the details cut for display. False
// when the entry has no caption or no command: it is not listed.
// `values` is the room they are read into: kept from entry to entry, its
// room and its strings' serve the next one.
bool ReadEntry(Registry& registry, EntryRow& row, std::vector<RegistryValue>& values);
// The same caption and command, read by name: two queries where reading
// every value costs one call per value. The details are left unread.
bool ReadEntryNames(Registry& registry, EntryRow& row);
// The details of the open key (none when no key is open).
void ReadEntryDetails(Registry& registry, EntryRow& row);

// A string value's text as the registry's wide read gives it, for every
// reader of a command: an odd last byte dropped, an unpaired surrogate kept
// (in its 3-byte form), up to the first NUL. Empty for any other type.
std::string StringValueText(const RegistryValue& value);

}  // namespace quillet
