#pragma once
#include <exception>
#include <string>
#include <vector>

#include "catalogue/EntryRow.h"
#include "catalogue/Registry.h"

namespace quillet {

// What reading one entry's key gave.
struct EntryRead {
    EntryRow row;
    bool listed = false;         // its key opened and it has a caption and a command
    std::exception_ptr failure;  // what the read raised; the row is not to be used
};

// The entries of one source to read: the keys `names` below `uninstallKey`
// (from `root`, in `view`).
struct EntryKeys {
    RootKey root = RootKey::LocalMachine;
    RegistryView view = RegistryView::Native;
    std::string uninstallKey;
    std::vector<std::string> names;
};

// Reads every key named as the load reads one: the caption and command,
// and the details too unless they are read later. Accessors from
// `registry.NewReader()` share the names out on threads of their own; the
// registry answers each call as a round trip (a server under Wine, the
// kernel on Windows), so calls from several threads overlap. The answers
// come source after source, each in its names' order, and do not depend on
// how they were shared out. Leaves `registry`'s open key closed.
std::vector<EntryRead> ReadEntryKeys(Registry& registry, const std::vector<EntryKeys>& sources, bool detailsToo);

}  // namespace quillet
