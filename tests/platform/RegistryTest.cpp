#include <windows.h>
#include <winternl.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "catalogue/win32/Win32Registry.h"
#include "common/Error.h"
#include "common/win32/Wide.h"

using namespace quillet;
using quillet::win32::CopyWide;
using quillet::win32::Utf8;
using quillet::win32::Wide;
using quillet::win32::Win32Registry;

namespace {

const std::string kBase = "Software\\QuilletPlatformTests";
// Outside every Western code page: "Japanese" in Japanese.
const std::string kJapanese = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E";

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Wipe();
        registry.SetRootKey(RootKey::CurrentUser);
    }
    void TearDown() override { Wipe(); }
    static void Wipe() { RegDeleteTreeA(HKEY_CURRENT_USER, kBase.c_str()); }

    // Key names in UTF-8; data as ANSI bytes, converted by the system for the string types.
    static void SetRaw(const std::string& key, const char* name, DWORD type, const std::string& data)
    {
        HKEY h;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Wide(key).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h,
                                  nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(h, name, 0, type, reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()));
        RegCloseKey(h);
    }
    static bool Exists(const std::string& key)
    {
        HKEY h;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(key).c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
        RegCloseKey(h);
        return true;
    }
    static std::string ReadError(Registry& registry, const std::string& name)
    {
        try {
            registry.ReadString(name);
        } catch (const QuilletError& e) {
            return e.what();
        }
        return "no error";
    }

    Win32Registry registry;
};

TEST_F(RegistryTest, OpenCreatesMissingKeysAndAcceptsBothSlashForms)
{
    ASSERT_TRUE(registry.OpenKey("\\" + kBase + "\\Uninstall\\", true));
    EXPECT_TRUE(Exists(kBase + "\\Uninstall"));
    ASSERT_TRUE(registry.OpenKey("Child", true));  // relative to the open key
    EXPECT_TRUE(Exists(kBase + "\\Uninstall\\Child"));
    EXPECT_TRUE(registry.KeyExists("\\" + kBase + "\\Uninstall\\Child"));
    EXPECT_FALSE(registry.KeyExists("\\" + kBase + "\\Nowhere"));
    EXPECT_FALSE(registry.OpenKey("\\" + kBase + "\\Nowhere", false));
    EXPECT_FALSE(Exists(kBase + "\\Nowhere"));
}

TEST_F(RegistryTest, FailedOpenLeavesNoKeyOpen)
{
    ASSERT_TRUE(registry.OpenKey("\\" + kBase + "\\Kept", true));
    registry.WriteString("Before", "x");
    ASSERT_FALSE(registry.OpenKey("\\" + kBase + "\\Missing", false));

    EXPECT_THROW(registry.WriteString("After", "y"), QuilletError);
    EXPECT_EQ(ReadError(registry, "Before"), "Failed to get data for 'Before'");
    EXPECT_TRUE(registry.GetKeyNames().empty());
    EXPECT_FALSE(registry.DeleteKey("Sub"));

    HKEY h;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, (kBase + "\\Kept").c_str(), 0, KEY_READ, &h), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExA(h, "After", nullptr, nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
    RegCloseKey(h);
}

TEST_F(RegistryTest, ListsEverySubkeyOnceWithOddNames)
{
    const std::vector<std::string> names = {"b", "A & B", "C \"quoted\"", "caf\xC3\xA9 na\xC3\xAFve", std::string(200, 'L'),
                                            "{8A2B-1234}", kJapanese};
    for (const auto& n : names) SetRaw(kBase + "\\List\\" + n, "DisplayName", REG_SZ, "x");
    ASSERT_TRUE(registry.OpenKey("\\" + kBase + "\\List", false));
    std::vector<std::string> listed = registry.GetKeyNames();
    ASSERT_EQ(listed.size(), names.size());
    for (const auto& n : names) EXPECT_EQ(std::count(listed.begin(), listed.end(), n), 1) << n;

    // In the platform's enumeration order, index by index.
    HKEY raw;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, (kBase + "\\List").c_str(), 0, KEY_READ, &raw), ERROR_SUCCESS);
    for (DWORD i = 0; i < listed.size(); ++i) {
        wchar_t name[256];
        DWORD length = 256;
        ASSERT_EQ(RegEnumKeyExW(raw, i, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
        EXPECT_EQ(listed[i], Utf8(name, length));
    }
    RegCloseKey(raw);
}

// A subkey of the listed key is opened from it; the key listed being gone or
// made anew, the path is walked again and finds what is there now.
TEST_F(RegistryTest, SubkeysOfTheListedKeyAreTheKeysTheirPathsName)
{
    const std::string list = "\\" + kBase + "\\List";
    SetRaw(kBase + "\\List\\App\\Deeper", "DisplayName", REG_SZ, "deeper");
    SetRaw(kBase + "\\List\\App", "DisplayName", REG_SZ, "first");
    ASSERT_TRUE(registry.OpenKey(list, false));
    ASSERT_EQ(registry.GetKeyNames(), std::vector<std::string>{"App"});
    const struct {
        std::string path, name;
    } cases[] = {{list + "\\App", "first"}, {list + "\\App\\Deeper", "deeper"}, {list + "\\App\\", "first"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(registry.OpenKey(c.path, false)) << c.path;
        EXPECT_EQ(registry.ReadString("DisplayName"), c.name) << c.path;
    }
    EXPECT_FALSE(registry.OpenKey(list + "\\Other", false));
    Wipe();
    SetRaw(kBase + "\\List\\App", "DisplayName", REG_SZ, "made anew");
    ASSERT_TRUE(registry.OpenKey(list + "\\App", false));
    EXPECT_EQ(registry.ReadString("DisplayName"), "made anew");
    registry.WriteString("Written", "here");
    HKEY h;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, (kBase + "\\List\\App").c_str(), 0, KEY_READ, &h), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExA(h, "Written", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    RegCloseKey(h);
}

TEST_F(RegistryTest, ReadsStringsAsTheCatalogueExpects)
{
    const std::string key = kBase + "\\Values";
    SetRaw(key, "Sz", REG_SZ, std::string("Plain\0", 6));
    SetRaw(key, "Expand", REG_EXPAND_SZ, std::string("%SystemRoot%\\x.exe\0", 19));
    SetRaw(key, "NoTerminator", REG_SZ, "abc");
    SetRaw(key, "EmbeddedNul", REG_SZ, std::string("ab\0cd\0", 6));
    SetRaw(key, "Empty", REG_SZ, "");
    SetRaw(key, "EmptyDword", REG_BINARY, "");
    SetRaw(key, "Dword", REG_DWORD, std::string("\x01\0\0\0", 4));
    SetRaw(key, "Multi", REG_MULTI_SZ, std::string("a\0b\0\0", 5));
    const std::string huge(64 * 1024, 'H');
    SetRaw(key, "Huge", REG_SZ, huge + '\0');

    ASSERT_TRUE(registry.OpenKey("\\" + key, true));
    EXPECT_EQ(registry.ReadString("Sz"), "Plain");
    EXPECT_EQ(registry.ReadString("Expand"), "%SystemRoot%\\x.exe");
    EXPECT_EQ(registry.ReadString("NoTerminator"), "abc");
    EXPECT_EQ(registry.ReadString("EmbeddedNul"), "ab");
    EXPECT_EQ(registry.ReadString("Empty"), "");
    EXPECT_EQ(registry.ReadString("EmptyDword"), "");
    EXPECT_EQ(registry.ReadString("Missing"), "");
    EXPECT_EQ(registry.ReadString("Huge"), huge);
    EXPECT_EQ(ReadError(registry, "Dword"), "Invalid data type for 'Dword'");
    EXPECT_EQ(ReadError(registry, "Multi"), "Invalid data type for 'Multi'");
    // Text outside the code page comes back whole, written and read by its name.
    registry.WriteString(kJapanese, "C:\\" + kJapanese + "\\u.exe");
    EXPECT_EQ(registry.ReadString(kJapanese), "C:\\" + kJapanese + "\\u.exe");

    // A large value of another type is refused on its type, not fetched first.
    SetRaw(key, "BigBinary", REG_BINARY, std::string(8 * 1024 * 1024, 'B'));
    EXPECT_EQ(ReadError(registry, "BigBinary"), "Invalid data type for 'BigBinary'");
}

// The list reads entry after entry into the same values: each read holds
// exactly the open key's values, a long one cut, nothing of the key before.
TEST_F(RegistryTest, ValuesCutHoldOnlyTheOpenKeysValues)
{
    SetRaw(kBase + "\\Many", "Huge", REG_BINARY, std::string(64 * 1024, 'H'));
    SetRaw(kBase + "\\Many", "Long name of a value, longer than a short string", REG_SZ, std::string("abc\0", 4));
    SetRaw(kBase + "\\One", "X", REG_DWORD, std::string("\x07\0\0\0", 4));
    std::vector<RegistryValue> values;
    ASSERT_TRUE(registry.OpenKey("\\" + kBase + "\\Many", false));
    registry.ReadValuesCut(16, values);
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[0], (RegistryValue{"Huge", REG_BINARY, std::string(16, 'H')}));
    EXPECT_EQ(values[1].name, "Long name of a value, longer than a short string");
    EXPECT_EQ(values[1].data, std::string("a\0b\0c\0\0\0", 8));
    ASSERT_TRUE(registry.OpenKey("\\" + kBase + "\\One", false));
    registry.ReadValuesCut(16, values);
    EXPECT_EQ(values, (std::vector<RegistryValue>{{"X", REG_DWORD, std::string("\x07\0\0\0", 4)}}));
    registry.CloseKey();
    registry.ReadValuesCut(16, values);
    EXPECT_TRUE(values.empty());
}

TEST_F(RegistryTest, WritesSzWithTerminator)
{
    ASSERT_TRUE(registry.OpenKey("\\" + kBase + "\\Write", true));
    registry.WriteString("UninstallString", "\"C:\\A B\\u.exe\" /S");
    HKEY h;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, (kBase + "\\Write").c_str(), 0, KEY_READ, &h), ERROR_SUCCESS);
    char data[64];
    DWORD type = 0, size = sizeof data;
    ASSERT_EQ(RegQueryValueExA(h, "UninstallString", nullptr, &type, reinterpret_cast<BYTE*>(data), &size),
              ERROR_SUCCESS);
    RegCloseKey(h);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(std::string(data, size), std::string("\"C:\\A B\\u.exe\" /S") + '\0');
}

TEST_F(RegistryTest, DeleteRemovesTheWholeTree)
{
    for (const std::string k : {"\\Tree\\A\\A1\\A11", "\\Tree\\A\\A2", "\\Tree\\B", "\\Other"})
        SetRaw(kBase + k, "v", REG_SZ, "x");
    SetRaw(kBase + "\\Tree\\" + kJapanese + "\\" + kJapanese, "v", REG_SZ, "x");
    SetRaw(kBase + "\\" + kJapanese, "v", REG_SZ, "x");
    EXPECT_TRUE(registry.KeyExists("\\" + kBase + "\\" + kJapanese));
    EXPECT_TRUE(registry.DeleteKey("\\" + kBase + "\\" + kJapanese));
    EXPECT_FALSE(Exists(kBase + "\\" + kJapanese));
    EXPECT_TRUE(registry.DeleteKey("\\" + kBase + "\\Tree"));
    EXPECT_FALSE(Exists(kBase + "\\Tree"));
    EXPECT_TRUE(Exists(kBase + "\\Other"));
    EXPECT_FALSE(registry.DeleteKey("\\" + kBase + "\\Tree"));
}

// Names with a NUL inside, which only the native calls make: the wide calls
// would take "App\0x" for its sibling "App". The reader leaves them out, so
// no command ever acts on another key through them.
TEST_F(RegistryTest, NamesWithANulAreLeftOut)
{
    using CreateKey = LONG(NTAPI*)(HANDLE*, ACCESS_MASK, OBJECT_ATTRIBUTES*, ULONG, UNICODE_STRING*, ULONG, ULONG*);
    using SetValueKey = LONG(NTAPI*)(HANDLE, UNICODE_STRING*, ULONG, ULONG, void*, ULONG);
    using DeleteKey = LONG(NTAPI*)(HANDLE);
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    const auto createKey = reinterpret_cast<CreateKey>(reinterpret_cast<void*>(GetProcAddress(ntdll, "NtCreateKey")));
    const auto setValue = reinterpret_cast<SetValueKey>(reinterpret_cast<void*>(GetProcAddress(ntdll, "NtSetValueKey")));
    const auto deleteKey = reinterpret_cast<DeleteKey>(reinterpret_cast<void*>(GetProcAddress(ntdll, "NtDeleteKey")));
    ASSERT_TRUE(createKey && setValue && deleteKey);
    const auto counted = [](const wchar_t* text, size_t length) {
        return UNICODE_STRING{static_cast<USHORT>(length * 2), static_cast<USHORT>(length * 2), const_cast<wchar_t*>(text)};
    };

    SetRaw(kBase + "\\Nul\\App", "DisplayName", REG_SZ, std::string("Sibling\0", 8));
    SetRaw(kBase + "\\Nul", "V", REG_SZ, std::string("v\0", 2));
    HKEY parent;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, Wide(kBase + "\\Nul").c_str(), 0, KEY_ALL_ACCESS, &parent), ERROR_SUCCESS);
    UNICODE_STRING name = counted(L"App\0x", 5);
    OBJECT_ATTRIBUTES attributes{};
    attributes.Length = sizeof attributes;
    attributes.RootDirectory = parent;
    attributes.ObjectName = &name;
    HANDLE child = nullptr;
    ASSERT_EQ(createKey(&child, KEY_ALL_ACCESS, &attributes, 0, nullptr, 0, nullptr), 0);
    UNICODE_STRING valueName = counted(L"V\0x", 3);
    wchar_t data[] = L"evil";
    ASSERT_EQ(setValue(parent, &valueName, 0, REG_SZ, data, sizeof data), 0);

    ASSERT_TRUE(registry.OpenKey("\\" + kBase + "\\Nul", false));
    EXPECT_EQ(registry.GetKeyNames(), std::vector<std::string>{"App"});
    const KeyContents contents = registry.ReadContents();
    EXPECT_EQ(contents.subkeys, std::vector<std::string>{"App"});
    ASSERT_EQ(contents.values.size(), 1u);
    EXPECT_EQ(contents.values[0].name, "V");
    std::vector<RegistryValue> cut;
    registry.ReadValuesCut(16, cut);
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_EQ(cut[0].name, "V");

    EXPECT_EQ(deleteKey(child), 0);
    RegCloseKey(static_cast<HKEY>(child));
    RegCloseKey(parent);
}

// Into a control's buffer: never past it, NUL included, and never half of a
// surrogate pair at the cut; a lone surrogate stays as the text has it.
TEST(Wide, CopyWideCutsWithinTheBuffer)
{
    const std::string pair = "a\xF0\x9F\x98\x80" "b";  // a, U+1F600 (two units), b
    const std::string lone = "a\xED\xA0\x80" "b";       // a, a lone high surrogate, b
    const struct {
        std::string text;
        int capacity;
        std::wstring expected;  // what the buffer holds up to its NUL
    } cases[] = {
        {"abc", 0, L"untouched"},
        {"abc", 1, L""},
        {"abc", 2, L"a"},
        {"abc", 4, L"abc"},  // exactly
        {"abc", 9, L"abc"},
        {pair, 2, L"a"},
        {pair, 3, L"a"},  // the pair does not fit whole: none of it
        {pair, 4, L"a\xD83D\xDE00"},
        {pair, 5, L"a\xD83D\xDE00" L"b"},
        {lone, 3, L"a\xD800"},
    };
    for (const auto& c : cases) {
        wchar_t buffer[16];
        wcscpy(buffer, L"untouched");
        buffer[10] = L'#';
        CopyWide(c.text, buffer, c.capacity);
        EXPECT_EQ(std::wstring(buffer), c.expected) << c.text << " into " << c.capacity;
        EXPECT_EQ(buffer[10], L'#');
        if (c.capacity > 0) {
            EXPECT_LT(wcslen(buffer), static_cast<size_t>(c.capacity));
        }
    }
}

}  // namespace
