#pragma once
#include <windows.h>

#include "catalogue/Registry.h"
#include "common/win32/Handles.h"
#include "common/win32/Wow64.h"

namespace quillet::win32 {

// The access flag that opens a key in that view; none for the native one.
inline REGSAM ViewFlag(RegistryView view)
{
    return view == RegistryView::Bits64 ? KEY_WOW64_64KEY : view == RegistryView::Bits32 ? KEY_WOW64_32KEY : 0;
}

// The registry accessor over advapi32, with full access; a key is created
// only where the caller asks for it.
class Win32Registry : public Registry {
public:
    void SetRootKey(RootKey root) override;
    void SetView(RegistryView view) override;
    bool OpenKey(const std::string& path, bool create) override;
    void CloseKey() override { current_.reset(); }
    std::vector<std::string> GetKeyNames() override;
    std::string ReadString(const std::string& name) override;
    void WriteString(const std::string& name, const std::string& value) override;
    void WriteBinary(const std::string& name, const std::string& bytes) override;
    bool KeyExists(const std::string& path) override;
    bool DeleteKey(const std::string& path) override;
    KeyContents ReadContents() override;
    void WriteValue(const RegistryValue& value) override;
    bool ReadValue(const std::string& name, RegistryValue& value) override;
    void DeleteValue(const std::string& name) override;
    void ReadValuesCut(size_t maxBytes, std::vector<RegistryValue>& values) override;
    std::unique_ptr<Registry> NewReader() override { return std::make_unique<Win32Registry>(); }
    void ListFrom(const std::string& path) override;

private:
    // The key a path starts at and the path relative to it.
    HKEY BaseFor(const std::string& path, std::string& relative) const;

    HKEY root_ = HKEY_CURRENT_USER;
    // KEY_WOW64_64KEY, KEY_WOW64_32KEY or none (the native view).
    REGSAM viewFlag_ = 0;
    RegKey current_;
    std::string currentPath_;  // from the root, when it was opened so
    bool currentFromRoot_ = false;
    // The key GetKeyNames listed last, kept open: its subkeys are opened
    // from it, where a path from the root costs a call per part when the
    // platform walks it itself (the 32-bit view under Wine: 7 calls, not 1).
    RegKey listed_;
    HKEY listedRoot_ = nullptr;
    REGSAM listedView_ = 0;
    std::string listedPath_;
    // Kept between reads: one entry after another costs no allocation.
    std::wstring valueName_;
    std::string valueData_;
};

}  // namespace quillet::win32
