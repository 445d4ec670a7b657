#pragma once
#include <string>

#include "catalogue/RegistryView.h"
#include "common/Text.h"

namespace quillet {

// An uninstall entry as the commands name it: its subkey below the Uninstall
// key, in its registry view (the same subkey in both views is two entries).
// A row index is good for one call only; a key survives reloads and sorts.
struct EntryKey {
    std::string subkey;
    RegistryView view = RegistryView::Native;

    bool Empty() const { return subkey.empty(); }
    // The registry matches key names without regard to ASCII case.
    bool operator==(const EntryKey& other) const
    {
        if (view != other.view || subkey.size() != other.subkey.size()) return false;
        for (size_t i = 0; i < subkey.size(); ++i)
            if (AsciiLower(subkey[i]) != AsciiLower(other.subkey[i])) return false;
        return true;
    }
    bool operator!=(const EntryKey& other) const { return !(*this == other); }
};

}  // namespace quillet
