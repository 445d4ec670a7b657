#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/RegistryView.h"

namespace quillet {

enum class RootKey { ClassesRoot, CurrentUser, LocalMachine, Users };

// The registry's value types as stored; any other number is kept as it is.
enum RegistryType : std::uint32_t {
    kRegNone = 0, kRegSz = 1, kRegExpandSz = 2, kRegBinary = 3, kRegDword = 4, kRegMultiSz = 7, kRegQword = 11
};

// One value exactly as stored: its type and its bytes, NULs included.
struct RegistryValue {
    std::string name;  // empty: the key's default value
    std::uint32_t type = kRegNone;
    std::string data;
    bool operator==(const RegistryValue& other) const
    {
        return name == other.name && type == other.type && data == other.data;
    }
};

// What one key holds directly.
struct KeyContents {
    std::vector<RegistryValue> values;
    std::vector<std::string> subkeys;
};

// The registry accessor: one open key below a root key. Every failure that a
// caller cannot decide about is raised as QuilletError.
class Registry {
public:
    virtual ~Registry() = default;

    // Later absolute paths start here, in the native view; closes the open key.
    virtual void SetRootKey(RootKey root) = 0;
    // Later opens, creates, existence tests and deletes work in this view
    // until the next SetRootKey; closes the open key.
    virtual void SetView(RegistryView view) = 0;
    // A path starting with '\' starts at the root key, any other path at the
    // open key. On success the new key becomes the open key. On failure no
    // key is open, so nothing later can land under the key open before.
    virtual bool OpenKey(const std::string& path, bool create) = 0;
    virtual void CloseKey() = 0;
    // Names of the open key's direct subkeys in the platform's order; empty
    // when no key is open or it cannot be queried.
    virtual std::vector<std::string> GetKeyNames() = 0;
    // REG_SZ or REG_EXPAND_SZ text up to the first NUL, unexpanded; empty when
    // the value is missing or empty. Other types raise "Invalid data type for '%s'".
    virtual std::string ReadString(const std::string& name) = 0;
    // Writes REG_SZ; raises "Failed to set data for '%s'".
    virtual void WriteString(const std::string& name, const std::string& value) = 0;
    // Writes REG_BINARY; raises "Failed to set data for '%s'".
    virtual void WriteBinary(const std::string& name, const std::string& bytes) = 0;
    virtual bool KeyExists(const std::string& path) = 0;
    // Deletes the key and everything below it.
    virtual bool DeleteKey(const std::string& path) = 0;

    // What undo needs to take a key back exactly.
    // Every value of the open key in the platform's order, raw, and the names
    // of its subkeys, read together (one query serves both); raises "Failed
    // to get data for '%s'" when none is open or a value cannot be read.
    virtual KeyContents ReadContents() = 0;
    // Writes a value of any type byte for byte; raises "Failed to set data for '%s'".
    virtual void WriteValue(const RegistryValue& value) = 0;
    // One value of the open key, raw, named as asked; false when it is not
    // there. Raises "Failed to get data for '%s'" when none is open or it cannot be read.
    virtual bool ReadValue(const std::string& name, RegistryValue& value) = 0;
    // Removes a value of the open key; one that is not there is no failure.
    // Raises "Failed to set data for '%s'".
    virtual void DeleteValue(const std::string& name) = 0;

    // What the list reads of each entry: the open key's values in the
    // platform's order, at most kMaxValuesRead of them, each value's data
    // cut at `maxBytes` (a longer one has exactly that many), in place of
    // what `values` held: its room and its strings' are used again, entry
    // after entry. Empty when no key is open or it cannot be read; raises
    // nothing.
    virtual void ReadValuesCut(size_t maxBytes, std::vector<RegistryValue>& values)
    {
        try {
            values = ReadContents().values;
        } catch (...) {
            values.clear();
            return;
        }
        if (values.size() > kMaxValuesRead) values.resize(kMaxValuesRead);
        for (RegistryValue& value : values)
            if (value.data.size() > maxBytes) value.data.resize(maxBytes);
    }
    static constexpr size_t kMaxValuesRead = 256;

    // Another accessor of the same registry with a key of its own, for
    // reading on another thread; none where reads cannot be shared out.
    virtual std::unique_ptr<Registry> NewReader() { return nullptr; }
    // Later opens of the direct subkeys of this key (from the root, in the
    // view set) may start at it, as after GetKeyNames lists it; opens the
    // same keys either way.
    virtual void ListFrom(const std::string& path) { (void)path; }
};

inline constexpr const char* kInvalidDataType = "Invalid data type for '%s'";
inline constexpr const char* kFailedToGetData = "Failed to get data for '%s'";
inline constexpr const char* kFailedToSetData = "Failed to set data for '%s'";

}  // namespace quillet
