// Undo against Wine's registry: what comes back is what the registry's own
// export showed before, and the changes file imports back byte for byte.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "app/MainFrm.h"
#include "catalogue/win32/Win32Registry.h"
#include "common/Unicode.h"
#include "common/win32/Wide.h"
#include "editing/ChangesFile.h"
#include "editing/KeySnapshot.h"
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

// Properties writes to the changes file the two values it changes, as they
// were (one missing by then as "NAME"=-), not the key: importing it gives
// back exactly the key as the OK found it, the large value never written.
TEST_F(UndoTest, TheChangesFileOfPropertiesImportsBackItsTwoValues)
{
    MakeFullEntry("QuilletProps", "Quillet Props", "C:\\gone\\u.exe");
    const std::string path = kUninstall + "\\QuilletProps";
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    SetValue(key, "Big", REG_BINARY, std::string(1 << 20, 'b'));
    main.Catalogue().LoadPrograms();
    ASSERT_EQ(main.Rows().size(), 1u);
    view.focused = 0;
    std::string atOk;
    dialogs.onProperties = [&](TPropertiesForm& form) {
        form.Display = "Quillet Renamed";
        RegDeleteValueA(key, "UninstallString");  // as another program would, meanwhile
        atOk = Export(path, dir + "\\ok.reg");
    };
    main.Guard([&] { main.Editing().EditClick(); });
    RegCloseKey(key);
    ASSERT_TRUE(dialogs.failures.empty()) << dialogs.failures[0];
    ASSERT_NE(Export(path, dir + "\\changed.reg"), atOk);
    EXPECT_LT(ReadWholeFile(ChangesFile()).size(), 400u);

    EXPECT_EQ(RunToEnd("regedit.exe /S \"" + ChangesFile() + "\""), 0u);
    EXPECT_EQ(Export(path, dir + "\\imported.reg"), atOk);
}

// Hostile names against Wine's own registry: a subkey ending in half a
// surrogate pair beside one ending in U+FFFD, names with ']' '[' and CR,
// string data without its NUL. Delete and Undo give back the export taken
// before; the changes file imports back the same, and the sibling is never
// touched. A key name with a line break refuses the Delete.
std::string RawExport(const std::string& path, const std::string& file)
{
    DeleteFileA(file.c_str());
    EXPECT_EQ(RunToEnd("reg.exe export \"HKLM\\" + path + "\" \"" + file + "\" /y"), 0u) << path;
    return ReadWholeFile(file);
}
void SetW(HKEY key, const std::wstring& name, DWORD type, const std::string& data)
{
    const std::string padded = data + "\xFF\xFF";  // no NUL after the data for the call to count in
    ASSERT_EQ(RegSetValueExW(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(padded.data()),
                             static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
}
HKEY MakeW(HKEY parent, const std::wstring& name)
{
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExW(parent, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS);
    return key;
}

TEST_F(UndoTest, HostileNamesComeBackExactlyAndTouchNoOtherKey)
{
    const std::wstring uninstall = Wide(kUninstall);
    const std::wstring lone = std::wstring(L"QuilletHostile") + wchar_t(0xD800);
    HKEY sibling = MakeW(HKEY_LOCAL_MACHINE, uninstall + L"\\QuilletHostile\xFFFD");
    SetW(sibling, L"DisplayName", REG_SZ, Utf16LeFromUtf8(std::string("Sibling\0", 8)));
    RegCloseKey(sibling);
    HKEY key = MakeW(HKEY_LOCAL_MACHINE, uninstall + L"\\" + lone);
    SetW(key, L"DisplayName", REG_SZ, Utf16LeFromUtf8(std::string("Hostile\0", 8)));
    SetW(key, L"UninstallString", REG_SZ, Utf16LeFromUtf8(std::string("C:\\gone\\u.exe\0", 14)));
    SetW(key, L"NoNul", REG_SZ, Utf16LeFromUtf8("ab"));
    SetW(key, L"Cr\rLf\n", REG_DWORD, std::string("\1\0\0\0", 4));
    SetW(key, std::wstring(L"Half") + wchar_t(0xDC00), REG_BINARY, std::string("\0\xff", 2));
    SetW(key, L"Path", REG_EXPAND_SZ, Utf16LeFromUtf8(std::string("%TEMP%\0", 7)));
    SetW(key, L"Lines", REG_MULTI_SZ, Utf16LeFromUtf8(std::string("a\0b\0\0", 5)));
    SetW(key, L"Stamp", REG_QWORD, std::string("\1\2\3\4\5\6\7\x80", 8));
    SetW(key, L"Odd", 0x1234, std::string("\x09", 1));
    SetW(key, L"", REG_SZ, Utf16LeFromUtf8(std::string("default\0", 8)));
    HKEY child = MakeW(key, L"x]y");
    RegCloseKey(MakeW(child, L"[z ; w]"));
    SetW(child, L"v", REG_DWORD, std::string("\2\0\0\0", 4));
    RegCloseKey(child);
    RegCloseKey(key);
    const std::string before = RawExport(kUninstall, dir + "\\before.reg");
    KeySnapshots snapshots(registry);
    const EntryKey entry{Utf8(lone)};
    const KeySnapshot captured = snapshots.Capture(entry);
    ASSERT_EQ(captured.values.size(), 10u);
    for (const RegistryValue& value : captured.values) {
        if (value.name == "NoNul") {
            EXPECT_EQ(value.data, Utf16LeFromUtf8("ab"));
        }
    }
    const KeySnapshot siblingBefore = snapshots.Capture({"QuilletHostile\xEF\xBF\xBD"});
    ASSERT_TRUE(siblingBefore.exists);

    const auto deleteHostile = [&] {
        main.Catalogue().LoadPrograms();
        view.focused = main.Catalogue().IndexOf(entry);
        ASSERT_GE(view.focused, 0);
        dialogs.failures.clear();
        main.Guard([&] { main.Editing().DeleteClick(); });
        ASSERT_TRUE(dialogs.failures.empty()) << dialogs.failures[0];
        EXPECT_FALSE(snapshots.Capture(entry).exists);
        EXPECT_EQ(snapshots.Capture({"QuilletHostile\xEF\xBF\xBD"}), siblingBefore);
    };
    deleteHostile();
    main.Guard([&] { main.Editing().UndoClick(); });
    EXPECT_TRUE(dialogs.failures.empty());
    const std::string afterUndo = RawExport(kUninstall, dir + "\\undone.reg");
    EXPECT_EQ(afterUndo, before);
    EXPECT_EQ(snapshots.Capture(entry), captured);

    deleteHostile();
    EXPECT_EQ(RunToEnd("regedit.exe /S \"" + ChangesFile() + "\""), 0u);
    // No syntax of a registry script gives back a REG_SZ without its closing
    // NUL: Wine's editor ends string data given in hex with one. So Ctrl+Z
    // alone restores "NoNul" exactly, the changes file says so in a comment
    // before its line, and that value's line is the one difference allowed
    // between the whole Uninstall key exported before and after the import.
    const std::string file = ReadWholeFile(ChangesFile());
    std::string changes;
    Utf8FromUtf16Le(file.substr(2), changes);
    EXPECT_NE(changes.find("; \"NoNul\" holds 4 bytes without a closing NUL"), std::string::npos) << changes;
    const auto lines = [](const std::string& exported) {
        std::string text;
        Utf8FromUtf16Le(exported.substr(2), text);
        std::vector<std::string> out;
        for (size_t at = 0; at <= text.size();) {
            const size_t end = std::min(text.find("\r\n", at), text.size());
            out.push_back(text.substr(at, end - at));
            at = end + 2;
        }
        return out;
    };
    const std::vector<std::string> was = lines(before), now = lines(RawExport(kUninstall, dir + "\\imported.reg"));
    ASSERT_EQ(now.size(), was.size());
    std::vector<std::string> differing;
    std::string shown;
    for (size_t i = 0; i < was.size(); ++i)
        if (now[i] != was[i]) {
            differing.push_back(was[i]);
            shown += was[i] + " -> " + now[i] + "\n";
        }
    ASSERT_EQ(differing.size(), 1u) << shown;
    EXPECT_EQ(differing[0].rfind("\"NoNul\"=", 0), 0u) << shown;
    KeySnapshot imported = snapshots.Capture(entry);
    for (const RegistryValue& value : imported.values) {
        if (value.name == "NoNul") {
            EXPECT_EQ(value.data, Utf16LeFromUtf8(std::string("ab\0", 3)));
        }
    }
    EXPECT_EQ(snapshots.Capture({"QuilletHostile\xEF\xBF\xBD"}), siblingBefore);

    // A child named to end its section and start another: the Delete is refused.
    HKEY again = MakeW(HKEY_LOCAL_MACHINE, uninstall + L"\\" + lone + L"\\x]\r\n[-HKEY_LOCAL_MACHINE\\Software\\Victim]\r\n;");
    RegCloseKey(again);
    const KeySnapshot hostile = snapshots.Capture(entry);
    main.Catalogue().LoadPrograms();
    view.focused = main.Catalogue().IndexOf(entry);
    main.Guard([&] { main.Editing().DeleteClick(); });
    ASSERT_EQ(dialogs.failures.size(), 1u);
    EXPECT_NE(dialogs.failures[0].find("line break"), std::string::npos) << dialogs.failures[0];
    EXPECT_EQ(snapshots.Capture(entry), hostile);
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
