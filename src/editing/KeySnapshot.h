#pragma once
#include <string>
#include <vector>

#include "catalogue/EntryKey.h"
#include "catalogue/Registry.h"

namespace quillet {

// A key as it stood: every value raw and every key below it, or the fact
// that there was no key.
struct KeySnapshot {
    std::string name;
    bool exists = false;
    std::vector<RegistryValue> values;
    std::vector<KeySnapshot> keys;

    bool operator==(const KeySnapshot& other) const
    {
        return exists == other.exists && name == other.name && values == other.values && keys == other.keys;
    }
    bool operator!=(const KeySnapshot& other) const { return !(*this == other); }
    // The DisplayName value's text, for messages; empty when it has none.
    std::string DisplayName() const;
};

// Takes an entry's key as it stands and puts it back, through the registry
// port. The one place that knows where an entry lives.
class KeySnapshots {
public:
    explicit KeySnapshots(Registry& registry) : registry_(registry) {}

    // With `only`, just those values of the key (those it holds), no keys below.
    KeySnapshot Capture(const EntryKey& entry, const std::vector<std::string>& only = {});
    // Makes the entry's key what the snapshot holds: removed when there was
    // none, otherwise replaced whole by its values and keys. Given the key
    // as it stands, a failure puts that back before it raises, or raises
    // naming what of it is missing. With `only`, just those values are made
    // as the snapshot has them (written, or removed when it has none), in a
    // key that must be there; the rest of the key stays as it is.
    void Restore(const EntryKey& entry, const KeySnapshot& snapshot, const KeySnapshot* current = nullptr,
                 const std::vector<std::string>& only = {});
    // The entry's key as the registry editor names it.
    static std::string EditorPath(const EntryKey& entry);

private:
    void Replace(const EntryKey& entry, const KeySnapshot& snapshot, const std::vector<std::string>& only);
    void PutValues(const EntryKey& entry, const KeySnapshot& snapshot, const std::vector<std::string>& only);
    bool Read(const std::string& path, KeySnapshot& into, int depth);
    void Write(const std::string& path, const KeySnapshot& from, const EntryKey& entry);

    Registry& registry_;
};

}  // namespace quillet
