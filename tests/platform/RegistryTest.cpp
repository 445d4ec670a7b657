#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "catalogue/win32/Win32Registry.h"
#include "common/Error.h"
#include "common/win32/Wide.h"

using namespace quillet;
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

}  // namespace
