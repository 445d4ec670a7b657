// Undo against Wine's registry: what comes back is what the registry's own
// export showed before, and the changes file imports back byte for byte.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/MainFrm.h"
#include "catalogue/win32/Win32Registry.h"
#include "common/Unicode.h"
#include "common/win32/Wide.h"
#include "editing/ChangesFile.h"
#include "editing/win32/Win32FileWriter.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeMainView.h"
#include "platform/SystemTools.h"

using namespace quillet;
using namespace quillet::win32;
using namespace platform_tests;

namespace {

const std::string kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// The key as `reg export` writes it (UTF-16, shown here as its low bytes:
// every text of these tests is ASCII).
std::string Export(const std::string& path, const std::string& file)
{
    DeleteFileA(file.c_str());
    EXPECT_EQ(RunToEnd("reg.exe export \"HKLM\\" + path + "\" \"" + file + "\" /y"), 0u) << path;
    const std::string wide = ReadWholeFile(file);
    std::string text;
    for (size_t i = 2; i + 1 < wide.size(); i += 2) {
        EXPECT_EQ(wide[i + 1], '\0');
        text += wide[i];
    }
    return text;
}

void SetValue(HKEY key, const char* name, DWORD type, const std::string& data)
{
    ASSERT_EQ(RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                             static_cast<DWORD>(data.size())),
              ERROR_SUCCESS)
        << name;
}

// An entry with a value of each type, an empty one, the default value, and
// keys two levels below it.
void MakeFullEntry(const std::string& subkey, const std::string& name, const std::string& command)
{
    HKEY key, child, grandchild;
    const std::string path = kUninstall + "\\" + subkey;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    SetValue(key, "DisplayName", REG_SZ, name + '\0');
    SetValue(key, "UninstallString", REG_SZ, command + '\0');
    SetValue(key, "DisplayIcon", REG_EXPAND_SZ, std::string("%SystemRoot%\\a.ico\0", 19));
    SetValue(key, "Lines", REG_MULTI_SZ, std::string("one\0two\0\0", 9));
    SetValue(key, "EstimatedSize", REG_DWORD, std::string("\x78\x56\x34\x12", 4));
    SetValue(key, "Stamp", REG_QWORD, std::string("\x01\x02\x03\x04\x05\x06\x07\x80", 8));
    SetValue(key, "Blob", REG_BINARY, std::string("\x00\xff\x10", 3));
    SetValue(key, "Nothing", REG_NONE, "");
    SetValue(key, "Odd", 0x1234, std::string("\x09\x08", 2));
    SetValue(key, "Empty", REG_SZ, std::string(1, '\0'));
    SetValue(key, "", REG_SZ, std::string("default\0", 8));
    ASSERT_EQ(RegCreateKeyExA(key, "Child", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr), ERROR_SUCCESS);
    SetValue(child, "Level", REG_DWORD, std::string("\x01\x00\x00\x00", 4));
    ASSERT_EQ(RegCreateKeyExA(child, "Grandchild", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &grandchild, nullptr),
              ERROR_SUCCESS);
    SetValue(grandchild, "Deep", REG_EXPAND_SZ, std::string("%TEMP%\0", 7));
    RegCloseKey(grandchild);
    RegCloseKey(child);
    RegCloseKey(key);
}

class UndoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstall.c_str());
        CreateDirectoryA(dir.c_str(), nullptr);
        main.Editing().History.ChangesDir = dir;
        main.Catalogue().ApplySortState(0, true);
    }
    void TearDown() override
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstall.c_str());
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do DeleteFileA((dir + "\\" + found.cFileName).c_str());
            while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(dir.c_str());
    }
    std::string ChangesFile() { return main.Editing().History.ChangesPath(); }

    const std::string dir = TempDir("QuilletUndoTest");
    Win32Registry registry;
    fakes::FakeFileSystem files;  // no program exists: every entry is bad
    fakes::FakeLocale locale;
    fakes::FakeClock clock;
    fakes::FakeDialogs dialogs;
    fakes::FakeRunner runner;
    fakes::FakeMainView view;
    Win32FileWriter writer;
    TMain main{view, Ports{registry, files, locale, clock, dialogs, runner, &writer}};
};

TEST_F(UndoTest, DeleteUndoneGivesBackTheKeyTheRegistryExportedBefore)
{
    MakeFullEntry("QuilletFull", "Quillet Full", "C:\\gone\\uninst.exe");
    const std::string path = kUninstall + "\\QuilletFull";
    const std::string before = Export(path, dir + "\\before.reg");
    ASSERT_NE(before.find("Grandchild"), std::string::npos);
    main.Catalogue().LoadPrograms();
    ASSERT_EQ(main.Rows().size(), 1u);
    view.focused = 0;

    main.Guard([&] { main.Editing().DeleteClick(); });
    ASSERT_TRUE(dialogs.failures.empty()) << dialogs.failures[0];
    ASSERT_TRUE(main.Rows().empty());
    main.Guard([&] { main.Editing().UndoClick(); });
    EXPECT_TRUE(dialogs.failures.empty());
    EXPECT_EQ(Export(path, dir + "\\after.reg"), before);
    EXPECT_EQ(main.Rows().size(), 1u);
    EXPECT_EQ(main.Log().Records()[0].message, "Shortcut for \"Quillet Full\" application restored.");
}

TEST_F(UndoTest, TheChangesFileOfDeleteBadImportsBackEveryEntry)
{
    for (int i = 0; i < 50; ++i) {
        const std::string n = std::to_string(100 + i);
        MakeFullEntry("QuilletBad" + n, "Quillet \"Bad\" \\ " + n, "C:\\gone\\" + n + "\\uninst.exe /x");
    }
    const std::string before = Export(kUninstall, dir + "\\before.reg");
    ASSERT_NE(before.find("QuilletBad149\\Child\\Grandchild]"), std::string::npos);
    main.Catalogue().LoadPrograms();
    ASSERT_EQ(main.Catalogue().BadCount, 50);
    main.Guard([&] { main.Editing().DeleteBadBtnClick(); });
    ASSERT_TRUE(dialogs.failures.empty()) << dialogs.failures[0];
    ASSERT_TRUE(main.Rows().empty());
    ASSERT_EQ(Export(kUninstall, dir + "\\between.reg").find("QuilletBad"), std::string::npos);

    EXPECT_EQ(RunToEnd("regedit.exe /S \"" + ChangesFile() + "\""), 0u);
    EXPECT_EQ(Export(kUninstall, dir + "\\after.reg"), before);
}

// The changes file's Unicode format, as written here, is what the registry
// editor imports: names outside the code page, and data that is no exact
// UTF-16, come back byte for byte. (Wine's editor pads a string value of odd
// length on import, so that case is shown by the core tests' spelling only.)
TEST(ChangesFileImport, TheUnicodeFormatBringsBackEveryByte)
{
    const std::string day = "\xE6\x97\xA5\xE6\x9C\xAC";
    const std::string path = "Software\\QuilletUnicode " + day;
    const auto w = [](const std::string& utf8) { return Utf16LeFromUtf8(utf8); };
    KeySnapshot child{"Child " + day, true, {{"Deep", kRegExpandSz, w(std::string("%TEMP%\\", 7) + day + '\0')}}, {}};
    const std::vector<RegistryValue> values = {
        {"", kRegSz, w("default " + day + '\0')},
        {"Name " + day, kRegSz, w("A \"q\" \\ " + day + '\0')},
        {"Lines", kRegSz, w(day + "\r\nline 2" + '\0')},
        {"Lone", kRegMultiSz, std::string("\x3D\xD8\0\0", 4)},
        {"Size", kRegDword, std::string("\x78\x56\x34\x12", 4)},
    };
    KeySnapshot key{"k", true, values, {child}};
    fakes::FakeLocale locale;
    const ChangesText section =
        ChangesSection(LocalTime{2026, 12, 8, 9, 5, 7, 2}, "delete of \"" + day + "\"",
                       {{"HKEY_LOCAL_MACHINE\\" + path, key, true}}, locale);
    ASSERT_TRUE(section.unicode);

    const std::string dir = TempDir("QuilletUndoUnicode");
    CreateDirectoryA(dir.c_str(), nullptr);
    const std::string file = dir + "\\" + ChangesFileName(LocalTime{2026, 12, 8}, true);
    DeleteFileA(file.c_str());
    Win32FileWriter writer;
    AppendChanges(writer, file, section);
    AppendChanges(writer, file, section);  // a second change adds no second heading
    ASSERT_EQ(RunToEnd("regedit.exe /S \"" + file + "\""), 0u);

    const auto read = [](const std::string& keyPath, const std::string& name, DWORD& type) {
        HKEY handle;
        std::string data = "<no key>";
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, win32::Wide(keyPath).c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
            return data;
        DWORD size = 0;
        data = "<no value>";
        const std::wstring wideName = win32::Wide(name);
        if (RegQueryValueExW(handle, wideName.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
            data.assign(size, '\0');
            RegQueryValueExW(handle, wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
        }
        RegCloseKey(handle);
        return data;
    };
    for (const RegistryValue& value : values) {
        DWORD type = 0;
        EXPECT_EQ(read(path, value.name, type), value.data) << value.name;
        EXPECT_EQ(type, value.type) << value.name;
    }
    DWORD type = 0;
    EXPECT_EQ(read(path + "\\Child " + day, "Deep", type), child.values[0].data);
    EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, win32::Wide(path).c_str());
    DeleteFileA(file.c_str());
    RemoveDirectoryA(dir.c_str());
}

}  // namespace
