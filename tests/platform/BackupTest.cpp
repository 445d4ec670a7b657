#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "catalogue/win32/Win32Registry.h"
#include "common/Unicode.h"
#include "common/win32/Wide.h"
#include "common/win32/Win32Locale.h"
#include "editing/Backup.h"
#include "editing/win32/Win32FileWriter.h"
#include "fakes/FakeRegistry.h"
#include "platform/SystemTools.h"

using namespace quillet;
using quillet::win32::Win32FileWriter;
using quillet::win32::Win32Registry;
using namespace platform_tests;

namespace {

const std::string kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

struct Value {
    DWORD type = REG_NONE;
    std::string data;
    bool operator==(const Value& o) const { return type == o.type && data == o.data; }
};

Value Read(const std::string& subkey, const char* name)
{
    Value v;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, (kUninstall + "\\" + subkey).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return v;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &v.type, nullptr, &size) == ERROR_SUCCESS) {
        v.data.resize(size);
        RegQueryValueExA(key, name, nullptr, &v.type, reinterpret_cast<BYTE*>(v.data.data()), &size);
        v.data.resize(size);
    }
    RegCloseKey(key);
    return v;
}

void Seed(const std::string& subkey, DWORD type, const std::string& name, const std::string& command)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, (kUninstall + "\\" + subkey).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "DisplayName", 0, type, reinterpret_cast<const BYTE*>(name.c_str()),
                   static_cast<DWORD>(name.size() + 1));
    RegSetValueExA(key, "UninstallString", 0, type, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>(command.size() + 1));
    RegCloseKey(key);
}

class BackupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstall.c_str());
        CreateDirectoryA(dir.c_str(), nullptr);
    }
    void TearDown() override
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstall.c_str());
        DeleteFileA((dir + "backup.reg").c_str());
        RemoveDirectoryA(dir.c_str());
    }
    const std::string dir = TempDir("QuilletBackupTest\\");
};

TEST_F(BackupTest, FileWriterWritesBytesAndNamesItsFailures)
{
    Win32FileWriter writer;
    const std::string name = dir + "backup.reg";
    ASSERT_TRUE(writer.Create(name)) << writer.LastError();
    ASSERT_TRUE(writer.Write(std::string("a\r\n\xE9\0z", 6)));
    ASSERT_TRUE(writer.Write("tail"));
    ASSERT_TRUE(writer.Close());
    EXPECT_EQ(ReadWholeFile(name), std::string("a\r\n\xE9\0ztail", 10));

    // Created anew: the old content goes.
    ASSERT_TRUE(writer.Create(name));
    ASSERT_TRUE(writer.Close());
    EXPECT_EQ(ReadWholeFile(name), "");

    EXPECT_FALSE(writer.Create(dir + "missing\\x.reg"));
    EXPECT_FALSE(writer.LastError().empty());
    EXPECT_NE(writer.LastError().back(), '.');
    EXPECT_EQ(writer.LastError().find('\n'), std::string::npos);

    EXPECT_TRUE(writer.Remove(name));
    EXPECT_EQ(GetFileAttributesA(name.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(writer.Remove(name));

    EXPECT_TRUE(writer.MakeDirectory(dir + "made"));
    EXPECT_FALSE(writer.MakeDirectory(dir + "made"));  // exists
    EXPECT_TRUE(RemoveDirectoryA((dir + "made").c_str()));
}

TEST_F(BackupTest, RegistryEditorRestoresEveryEntryByteForByte)
{
    Seed("Plain", REG_SZ, "Plain App", "C:\\Apps\\remove.exe /x");
    Seed("A & B \"quoted\"", REG_SZ, "Say \"hi\" & bye", "\"C:\\Program Files\\A & B\\un.exe\" /S");
    Seed("caf\xE9 na\xEFve", REG_SZ, "Caf\xE9 \xC0 la cr\xE8me \xFF", "C:\\caf\xE9\\u.exe");
    Seed("Ends", REG_SZ, "Ends in backslash\\", "C:\\x\\\\\\\"odd\"\\");
    Seed("{8A2B-1234}", REG_EXPAND_SZ, "Expandable", "%ProgramFiles%\\x\\u.exe");
    Seed("Tabs", REG_SZ, "Tab\there", "C:\\t.exe\t/q");
    Seed("Lines", REG_SZ, "Two\r\nlines \"q\" caf\xE9", "C:\\l.exe\n/q\\");
    struct Expected {
        std::string subkey;
        Value name, command;
    };
    std::vector<Expected> expected;
    for (const char* subkey : {"Plain", "A & B \"quoted\"", "caf\xE9 na\xEFve", "Ends", "{8A2B-1234}", "Tabs", "Lines"})
        expected.push_back({subkey, Read(subkey, "DisplayName"), Read(subkey, "UninstallString")});
    // Written as plain strings, also what was stored expandable.
    expected[4].name.type = expected[4].command.type = REG_SZ;

    Win32Registry registry;
    Win32FileWriter writer;
    const std::string file = dir + "backup.reg";
    WriteRegBackup(registry, writer, file, win32::Win32Locale());
    const std::string text = ReadWholeFile(file);
    EXPECT_EQ(text.substr(0, 10), "REGEDIT4\r\n");
    EXPECT_NE(text.find("\"UninstallString\"=\"\\\"C:\\\\Program Files\\\\A & B\\\\un.exe\\\" /S\"\r\n"),
              std::string::npos);

    ASSERT_EQ(RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstall.c_str()), ERROR_SUCCESS);
    ASSERT_EQ(Read("Plain", "DisplayName").type, static_cast<DWORD>(REG_NONE));
    ASSERT_EQ(RegeditImport(file), 0u);

    for (const Expected& e : expected) {
        EXPECT_EQ(Read(e.subkey, "DisplayName"), e.name) << e.subkey << ": " << Read(e.subkey, "DisplayName").data;
        EXPECT_EQ(Read(e.subkey, "UninstallString"), e.command)
            << e.subkey << ": " << Read(e.subkey, "UninstallString").data;
    }
    // Nothing but the two values comes back.
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, (kUninstall + "\\Plain").c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD values = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(key);
    EXPECT_EQ(values, 2u);
}

// The value's bytes as the wide call gives them: UTF-16LE, NUL included.
std::string ReadWide(const std::string& subkey, const char* name)
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, win32::Wide(kUninstall + "\\" + subkey).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return "<no key>";
    DWORD size = 0, type = 0;
    std::string data;
    if (RegQueryValueExW(key, win32::Wide(name).c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        data.resize(size);
        RegQueryValueExW(key, win32::Wide(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
        data.resize(size);
    }
    RegCloseKey(key);
    return type == REG_SZ ? data : "<not REG_SZ>";
}

// The Unicode format as written here is what the registry editor imports:
// names outside the code page, and a value with a line break, come back exactly.
TEST_F(BackupTest, TheRegistryEditorRestoresTheUnicodeFormatExactly)
{
    const std::string kDay = "\xE6\x97\xA5\xE6\x9C\xAC";  // two Japanese characters
    const std::string subkey = "Q " + kDay;
    const std::string name = kDay + " caf\xC3\xA9 \"q\"";
    const std::string lines = kDay + "\r\nline 2";
    const std::string command = "C:\\" + kDay + "\\u.exe";
    fakes::FakeRegistry fake;
    for (const auto& [key, displayName] : {std::pair{subkey, name}, {std::string("Lines"), lines}}) {
        auto& made = fake.Make(RootKey::LocalMachine, kUninstall + "\\" + key);
        fakes::FakeRegistry::Set(made, "DisplayName", fakes::kSz, displayName + '\0');
        fakes::FakeRegistry::Set(made, "UninstallString", fakes::kSz, command + '\0');
    }
    Win32FileWriter writer;
    const std::string file = dir + "backup.reg";
    ASSERT_NE(GetACP(), 932u) << "the names must lie outside the code page";
    EXPECT_TRUE(WriteRegBackup(fake, writer, file, win32::Win32Locale()));
    EXPECT_EQ(ReadWholeFile(file).substr(0, 4), std::string("\xFF\xFEW\0", 4));

    ASSERT_EQ(RegeditImport(file), 0u);
    EXPECT_EQ(ReadWide(subkey, "DisplayName"), Utf16LeFromUtf8(name + '\0'));
    EXPECT_EQ(ReadWide(subkey, "UninstallString"), Utf16LeFromUtf8(command + '\0'));
    EXPECT_EQ(ReadWide("Lines", "DisplayName"), Utf16LeFromUtf8(lines + '\0'));
}

// Paths are UTF-8: a folder and a file named outside the code page.
TEST_F(BackupTest, FileWriterTakesNamesOutsideTheCodePage)
{
    Win32FileWriter writer;
    const std::string folder = dir + "\xE6\x97\xA5";
    const std::string name = folder + "\\\xE6\x9C\xAC.reg";
    ASSERT_TRUE(writer.MakeDirectory(folder)) << writer.LastError();
    ASSERT_TRUE(writer.Create(name)) << writer.LastError();
    ASSERT_TRUE(writer.Write("x"));
    ASSERT_TRUE(writer.Close());
    unsigned long long size = 0;
    ASSERT_TRUE(writer.Append(name, size));
    EXPECT_EQ(size, 1u);
    ASSERT_TRUE(writer.Close());
    EXPECT_NE(GetFileAttributesW(win32::Wide(name).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(writer.Remove(name));
    EXPECT_EQ(GetFileAttributesW(win32::Wide(name).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(RemoveDirectoryW(win32::Wide(folder).c_str()));
}

}  // namespace
