#pragma once
#include <string>

#include "catalogue/EntrySource.h"
#include "catalogue/RegistryView.h"
#include "common/Text.h"

namespace quillet {

// An uninstall entry as the commands name it: its subkey below its source's
// Uninstall key, in its registry view and hive (the same subkey in two
// sources is two entries). A row index is good for one call only; a key
// survives reloads and sorts.
struct EntryKey {
    std::string subkey;
    RegistryView view = RegistryView::Native;
    EntryHive hive = EntryHive::Machine;
    std::string sid{};  // the hive below HKEY_USERS, for another user's entry

    bool Empty() const { return subkey.empty(); }
    // Another user's entry: its uninstaller must not run as us.
    bool OtherUsers() const { return hive == EntryHive::OtherUser; }
    // The registry matches key names without regard to ASCII case.
    bool operator==(const EntryKey& other) const
    {
        if (view != other.view || hive != other.hive || !SameNoCase(subkey, other.subkey)) return false;
        return SameNoCase(sid, other.sid);
    }
    bool operator!=(const EntryKey& other) const { return !(*this == other); }

private:
    static bool SameNoCase(const std::string& a, const std::string& b)
    {
        if (a.size() != b.size()) return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
        return true;
    }
};

}  // namespace quillet
