#include "catalogue/win32/Win32Registry.h"

#include <algorithm>
#include <cwchar>

#include "common/Error.h"
#include "common/Unicode.h"
#include "common/win32/Wide.h"

namespace quillet::win32 {

namespace {

HKEY ToHkey(RootKey root)
{
    switch (root) {
    case RootKey::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RootKey::CurrentUser: return HKEY_CURRENT_USER;
    case RootKey::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RootKey::Users: return HKEY_USERS;
    }
    return HKEY_CURRENT_USER;
}

// In a chosen view the delete must name it; without one it stays the call
// that every Windows has.
LONG DeleteOne(HKEY base, const wchar_t* name, REGSAM viewFlag)
{
    return viewFlag ? RegDeleteKeyExW(base, name, viewFlag, 0) : RegDeleteKeyW(base, name);
}

// A name with a NUL inside, which only the native calls make: the wide
// calls, which end names at the first NUL, would take it for another key or
// value ("App\0x" for "App"). Such names are left out where names are read.
bool HasNul(const wchar_t* name, size_t length) { return std::wmemchr(name, L'\0', length) != nullptr; }

// Deletes every subkey of `key` depth-first. Names are taken from index 0
// each time because deleting shifts the enumeration.
bool DeleteSubkeys(HKEY key, REGSAM viewFlag)
{
    wchar_t name[256];
    for (;;) {
        DWORD length = 256;
        const LONG rc = RegEnumKeyExW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_NO_MORE_ITEMS) return true;
        if (rc != ERROR_SUCCESS || HasNul(name, length)) return false;  // never the key its name is cut to
        RegKey child;
        if (RegOpenKeyExW(key, name, 0, KEY_ALL_ACCESS | viewFlag, child.put()) != ERROR_SUCCESS) return false;
        if (!DeleteSubkeys(child.get(), viewFlag)) return false;
        child.reset();
        if (DeleteOne(key, name, viewFlag) != ERROR_SUCCESS) return false;
    }
}

}  // namespace

void Win32Registry::SetRootKey(RootKey root)
{
    current_.reset();
    root_ = ToHkey(root);
    // A key held open below HKEY_USERS would keep that user's hive loaded.
    if (root_ != listedRoot_) listed_.reset();
    viewFlag_ = 0;
}

void Win32Registry::SetView(RegistryView view)
{
    current_.reset();
    viewFlag_ = ViewFlag(view);
}

HKEY Win32Registry::BaseFor(const std::string& path, std::string& relative) const
{
    const bool absolute = !path.empty() && path[0] == '\\';
    relative = absolute ? path.substr(1) : path;
    while (!relative.empty() && relative.back() == '\\') relative.pop_back();
    if (absolute || !current_) return root_;
    return current_.get();
}

bool Win32Registry::OpenKey(const std::string& path, bool create)
{
    std::string relative;
    const HKEY base = BaseFor(path, relative);
    const bool fromRoot = base == root_;
    RegKey opened;
    LONG rc = ERROR_FILE_NOT_FOUND;
    const size_t cut = listedPath_.size();
    // A direct subkey of the listed key; the path from the root when the
    // listed key went meanwhile.
    if (!create && fromRoot && listed_ && listedRoot_ == root_ && listedView_ == viewFlag_ &&
        relative.size() > cut + 1 && relative.compare(0, cut, listedPath_) == 0 && relative[cut] == '\\' &&
        relative.find('\\', cut + 1) == std::string::npos)
        rc = RegOpenKeyExW(listed_.get(), Wide(relative.substr(cut + 1)).c_str(), 0, KEY_ALL_ACCESS | viewFlag_,
                           opened.put());
    if (rc != ERROR_SUCCESS && create && !relative.empty())
        rc = RegCreateKeyExW(base, Wide(relative).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS | viewFlag_, nullptr,
                             opened.put(), nullptr);
    else if (rc != ERROR_SUCCESS)
        rc = RegOpenKeyExW(base, Wide(relative).c_str(), 0, KEY_ALL_ACCESS | viewFlag_, opened.put());
    // A failed open closes the old key too: nothing may land there by mistake.
    current_ = rc == ERROR_SUCCESS ? std::move(opened) : RegKey();
    currentFromRoot_ = rc == ERROR_SUCCESS && fromRoot;
    currentPath_ = currentFromRoot_ ? relative : std::string();
    return rc == ERROR_SUCCESS;
}

void Win32Registry::ListFrom(const std::string& path)
{
    std::string relative;
    BaseFor(path.empty() || path[0] != '\\' ? "\\" + path : path, relative);
    if (RegOpenKeyExW(root_, Wide(relative).c_str(), 0, KEY_READ | viewFlag_, listed_.put()) != ERROR_SUCCESS) return;
    listedRoot_ = root_;
    listedView_ = viewFlag_;
    listedPath_ = relative;
}

std::vector<std::string> Win32Registry::GetKeyNames()
{
    std::vector<std::string> names;
    if (!current_) return names;
    if (currentFromRoot_ && RegOpenKeyExW(current_.get(), L"", 0, KEY_READ | viewFlag_, listed_.put()) == ERROR_SUCCESS) {
        listedRoot_ = root_;
        listedView_ = viewFlag_;
        listedPath_ = currentPath_;
    }
    DWORD count = 0, maxLength = 0;
    if (RegQueryInfoKeyW(current_.get(), nullptr, nullptr, nullptr, &count, &maxLength, nullptr, nullptr, nullptr,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return names;
    names.reserve(count);
    std::wstring buffer(maxLength + 1, L'\0');
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(buffer.size());
        const LONG rc = RegEnumKeyExW(current_.get(), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_MORE_DATA) {  // a key added since the query
            buffer.resize(buffer.size() * 2 + 256);
            --index;
            continue;
        }
        if (rc != ERROR_SUCCESS) break;
        if (!HasNul(buffer.data(), length)) names.push_back(Utf8(buffer.data(), length));
    }
    return names;
}

std::string Win32Registry::ReadString(const std::string& name)
{
    if (!current_) throw QuilletError(FormatText(kFailedToGetData, name));
    // One round trip for the usual short value; a second only when it is a
    // long string. The type is known before any large buffer is made, so a
    // huge value of another type costs nothing but the error.
    const std::wstring wideName = Wide(name);
    std::wstring data(256, L'\0');
    for (;;) {
        DWORD type = REG_NONE;
        DWORD size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        const LONG rc = RegQueryValueExW(current_.get(), wideName.c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(data.data()), &size);
        // A key removed by another program since it was opened reads as empty,
        // as the value of a key removed before the open would.
        if (rc == ERROR_FILE_NOT_FOUND || rc == ERROR_KEY_DELETED) return std::string();
        if (rc == ERROR_MORE_DATA) {
            if (type != REG_SZ && type != REG_EXPAND_SZ) throw QuilletError(FormatText(kInvalidDataType, name));
            data.assign(size / sizeof(wchar_t) + 1, L'\0');
            continue;
        }
        if (rc != ERROR_SUCCESS) throw QuilletError(FormatText(kFailedToGetData, name));
        if (size == 0) return std::string();
        if (type != REG_SZ && type != REG_EXPAND_SZ) throw QuilletError(FormatText(kInvalidDataType, name));
        data.resize(size / sizeof(wchar_t));
        const auto nul = data.find(L'\0');
        if (nul != std::wstring::npos) data.resize(nul);
        return Utf8(data);
    }
}

void Win32Registry::WriteString(const std::string& name, const std::string& value)
{
    const std::wstring text = Wide(value);
    if (!current_ || RegSetValueExW(current_.get(), Wide(name).c_str(), 0, REG_SZ,
                                    reinterpret_cast<const BYTE*>(text.c_str()),
                                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
        throw QuilletError(FormatText(kFailedToSetData, name));
}

void Win32Registry::WriteBinary(const std::string& name, const std::string& bytes)
{
    if (!current_ || RegSetValueExW(current_.get(), Wide(name).c_str(), 0, REG_BINARY,
                                    reinterpret_cast<const BYTE*>(bytes.data()),
                                    static_cast<DWORD>(bytes.size())) != ERROR_SUCCESS)
        throw QuilletError(FormatText(kFailedToSetData, name));
}

bool Win32Registry::KeyExists(const std::string& path)
{
    std::string relative;
    const HKEY base = BaseFor(path, relative);
    if (!path.empty() && path[0] != '\\' && !current_) return false;
    RegKey probe;
    // A key we may not open still exists: its name is taken.
    const LONG rc = RegOpenKeyExW(base, Wide(relative).c_str(), 0, KEY_READ | viewFlag_, probe.put());
    return rc == ERROR_SUCCESS || rc == ERROR_ACCESS_DENIED;
}

bool Win32Registry::DeleteKey(const std::string& path)
{
    std::string relative;
    const HKEY base = BaseFor(path, relative);
    if (relative.empty()) return false;
    if (path[0] != '\\' && !current_) return false;
    RegKey key;
    const std::wstring wide = Wide(relative);
    if (RegOpenKeyExW(base, wide.c_str(), 0, KEY_ALL_ACCESS | viewFlag_, key.put()) != ERROR_SUCCESS) return false;
    if (!DeleteSubkeys(key.get(), viewFlag_)) return false;
    key.reset();
    return DeleteOne(base, wide.c_str(), viewFlag_) == ERROR_SUCCESS;
}

KeyContents Win32Registry::ReadContents()
{
    if (!current_) throw QuilletError(FormatText(kFailedToGetData, ""));
    // One query for both counts: a key without subkeys (most entries) costs
    // no enumeration of them, and the values none past the last.
    DWORD keyCount = 0, maxKey = 0, count = 0, maxName = 0, maxData = 0;
    if (RegQueryInfoKeyW(current_.get(), nullptr, nullptr, nullptr, &keyCount, &maxKey, nullptr, &count, &maxName,
                         &maxData, nullptr, nullptr) != ERROR_SUCCESS)
        throw QuilletError(FormatText(kFailedToGetData, ""));
    KeyContents contents;
    contents.values.reserve(count);
    // The sizes are a first guess: a value may grow between the query and its read.
    std::wstring name(maxName + 2, L'\0');
    std::string data(maxData + 2, '\0');
    for (DWORD index = 0; index < count;) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD size = static_cast<DWORD>(data.size());
        DWORD type = REG_NONE;
        const LONG rc = RegEnumValueW(current_.get(), index, name.data(), &nameLength, nullptr, &type,
                                      reinterpret_cast<BYTE*>(data.data()), &size);
        if (rc == ERROR_NO_MORE_ITEMS) break;  // one went since the query
        if (rc == ERROR_MORE_DATA) {
            name.resize(name.size() * 2 + 256);
            data.resize(std::max<size_t>(data.size() * 2, size + 2));
            continue;
        }
        if (rc != ERROR_SUCCESS) throw QuilletError(FormatText(kFailedToGetData, Utf8(name.c_str(), wcslen(name.c_str()))));
        if (!HasNul(name.data(), nameLength))
            contents.values.push_back({Utf8(name.data(), nameLength), type, std::string(data.data(), size)});
        ++index;
    }
    if (keyCount > 0) contents.subkeys = GetKeyNames();
    return contents;
}

void Win32Registry::ReadValuesCut(size_t maxBytes, std::vector<RegistryValue>& values)
{
    size_t count = 0;
    // Each value goes into the next element, over what it held.
    const auto next = [&](DWORD nameLength, DWORD type) -> RegistryValue& {
        if (count == values.size()) values.emplace_back();
        RegistryValue& value = values[count++];
        value.name.clear();
        AppendWtf8(value.name, valueName_.data(), nameLength);
        value.type = type;
        return value;
    };
    // No query first: the longest name a value may have fits, and a value
    // longer than the cut is read once more whole and then cut.
    valueName_.resize(16384);
    valueData_.resize(maxBytes);
    for (DWORD index = 0; current_ && count < kMaxValuesRead;) {
        DWORD nameLength = static_cast<DWORD>(valueName_.size());
        DWORD size = static_cast<DWORD>(valueData_.size());
        DWORD type = REG_NONE;
        LONG rc = RegEnumValueW(current_.get(), index, valueName_.data(), &nameLength, nullptr, &type,
                                reinterpret_cast<BYTE*>(valueData_.data()), &size);
        if (rc == ERROR_MORE_DATA) {
            std::string whole(size + 2, '\0');
            nameLength = static_cast<DWORD>(valueName_.size());
            size = static_cast<DWORD>(whole.size());
            rc = RegEnumValueW(current_.get(), index, valueName_.data(), &nameLength, nullptr, &type,
                               reinterpret_cast<BYTE*>(whole.data()), &size);
            if (rc == ERROR_MORE_DATA) continue;  // it grew meanwhile: again
            if (rc != ERROR_SUCCESS) break;
            whole.resize(std::min<size_t>(size, maxBytes));
            if (!HasNul(valueName_.data(), nameLength)) next(nameLength, type).data = std::move(whole);
            ++index;
            continue;
        }
        if (rc != ERROR_SUCCESS) break;
        if (!HasNul(valueName_.data(), nameLength)) next(nameLength, type).data.assign(valueData_.data(), size);
        ++index;
    }
    values.resize(count);
}

void Win32Registry::WriteValue(const RegistryValue& value)
{
    // String data followed by a NUL unit in memory gets that NUL counted
    // in ("the caller forgot it"): what follows the bytes must be none.
    std::string data = value.data;
    if (value.type == REG_SZ || value.type == REG_EXPAND_SZ || value.type == REG_MULTI_SZ) data += "\xFF\xFF";
    if (!current_ || RegSetValueExW(current_.get(), Wide(value.name).c_str(), 0, value.type,
                                    reinterpret_cast<const BYTE*>(data.data()),
                                    static_cast<DWORD>(value.data.size())) != ERROR_SUCCESS)
        throw QuilletError(FormatText(kFailedToSetData, value.name));
}

bool Win32Registry::ReadValue(const std::string& name, RegistryValue& value)
{
    if (!current_) throw QuilletError(FormatText(kFailedToGetData, name));
    const std::wstring wideName = Wide(name);
    std::string data(256, '\0');
    for (;;) {
        DWORD type = REG_NONE;
        DWORD size = static_cast<DWORD>(data.size());
        const LONG rc =
            RegQueryValueExW(current_.get(), wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
        if (rc == ERROR_FILE_NOT_FOUND) return false;
        if (rc == ERROR_MORE_DATA) {  // it may grow again before the next read
            data.resize(static_cast<size_t>(size) + 2);
            continue;
        }
        if (rc != ERROR_SUCCESS) throw QuilletError(FormatText(kFailedToGetData, name));
        data.resize(size);
        value = {name, type, std::move(data)};
        return true;
    }
}

void Win32Registry::DeleteValue(const std::string& name)
{
    const LONG rc = current_ ? RegDeleteValueW(current_.get(), Wide(name).c_str()) : ERROR_INVALID_HANDLE;
    if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) throw QuilletError(FormatText(kFailedToSetData, name));
}

}  // namespace quillet::win32
