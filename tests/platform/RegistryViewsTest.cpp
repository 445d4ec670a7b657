#include <windows.h>

#include <gtest/gtest.h>

#include "app/MainFrm.h"
#include "catalogue/win32/Win32Registry.h"
#include "common/win32/Win32Locale.h"
#include "editing/Backup.h"
#include "editing/win32/Win32FileWriter.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeMainView.h"
#include "platform/SystemTools.h"

using namespace quillet;
using namespace quillet::win32;
using namespace platform_tests;

namespace {

const std::string kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const std::string kTwin = "QuilletViews Twin";

bool Exists(const std::string& path, REGSAM view)
{
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

void MakeEntry(REGSAM view, const std::string& subkey, const std::string& name, const std::string& command)
{
    HKEY h;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, (kUninstall + "\\" + subkey).c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS | view, nullptr, &h, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(h, "DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                   static_cast<DWORD>(name.size() + 1));
    RegSetValueExA(h, "UninstallString", 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>(command.size() + 1));
    RegCloseKey(h);
}

void Remove(REGSAM view, const std::string& subkey)
{
    HKEY uninstall;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstall.c_str(), 0, KEY_ALL_ACCESS | view, &uninstall) != ERROR_SUCCESS)
        return;
    RegDeleteKeyExA(uninstall, subkey.c_str(), view, 0);
    RegCloseKey(uninstall);
}

std::string Command(REGSAM view, const std::string& subkey)
{
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, (kUninstall + "\\" + subkey).c_str(), 0, KEY_READ | view, &h) !=
        ERROR_SUCCESS)
        return "<none>";
    char data[MAX_PATH] = "";
    DWORD size = sizeof data - 1;
    const LONG rc = RegQueryValueExA(h, "UninstallString", nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(h);
    return rc == ERROR_SUCCESS ? data : "<no value>";
}

class RegistryViewsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TearDown();
        MakeEntry(KEY_WOW64_64KEY, kTwin, "QuilletViews Twin", "C:\\nowhere\\u64.exe");
        MakeEntry(KEY_WOW64_32KEY, kTwin, "QuilletViews Twin", "C:\\nowhere\\u32.exe");
        main.Catalogue().ApplySortState(0, true);
    }
    void TearDown() override
    {
        for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) Remove(view, kTwin);
    }
    int RowOf(const std::string& command) const
    {
        for (size_t i = 0; i < main.Rows().size(); ++i)
            if (main.Rows()[i].command == command) return static_cast<int>(i);
        return -1;
    }

    Win32Registry registry;
    fakes::FakeFileSystem files;
    fakes::FakeLocale locale;
    fakes::FakeClock clock;
    fakes::FakeDialogs dialogs;
    fakes::FakeRunner runner;
    fakes::FakeMainView view;
    TMain main{view, Ports{registry, files, locale, clock, dialogs, runner, nullptr, nullptr, nullptr, nullptr,
                           RunsOnWindows64()}};
};

TEST_F(RegistryViewsTest, TheAccessorWorksInTheViewItIsGiven)
{
    ASSERT_TRUE(RunsOnWindows64());  // a 64-bit prefix
    // The 32-bit view's key is the one below Wow6432Node.
    EXPECT_TRUE(Exists("Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + kTwin,
                       KEY_WOW64_64KEY));
    for (RegistryView v : {RegistryView::Bits64, RegistryView::Bits32}) {
        registry.SetRootKey(RootKey::LocalMachine);
        registry.SetView(v);
        ASSERT_TRUE(registry.OpenKey("\\" + kUninstall + "\\" + kTwin, false));
        EXPECT_EQ(registry.ReadString("UninstallString"),
                  v == RegistryView::Bits32 ? "C:\\nowhere\\u32.exe" : "C:\\nowhere\\u64.exe");
    }
    // A new root starts in the native view again: the 64-bit one here.
    registry.SetRootKey(RootKey::LocalMachine);
    ASSERT_TRUE(registry.OpenKey("\\" + kUninstall + "\\" + kTwin, false));
    EXPECT_EQ(registry.ReadString("UninstallString"), "C:\\nowhere\\u64.exe");

    // Create, test and delete a tree in the 32-bit view only.
    registry.SetView(RegistryView::Bits32);
    ASSERT_TRUE(registry.OpenKey("\\" + kUninstall + "\\" + kTwin + "\\Below\\Deeper", true));
    EXPECT_TRUE(Exists(kUninstall + "\\" + kTwin + "\\Below\\Deeper", KEY_WOW64_32KEY));
    EXPECT_FALSE(Exists(kUninstall + "\\" + kTwin + "\\Below", KEY_WOW64_64KEY));
    EXPECT_TRUE(registry.KeyExists("\\" + kUninstall + "\\" + kTwin + "\\Below"));
    EXPECT_TRUE(registry.DeleteKey("\\" + kUninstall + "\\" + kTwin));
    EXPECT_FALSE(Exists(kUninstall + "\\" + kTwin, KEY_WOW64_32KEY));
    EXPECT_TRUE(Exists(kUninstall + "\\" + kTwin, KEY_WOW64_64KEY));
}

TEST_F(RegistryViewsTest, BothViewsAreListedAndEachEntryIsDeletedInItsOwn)
{
    main.Catalogue().LoadPrograms();
    const int row64 = RowOf("C:\\nowhere\\u64.exe");
    const int row32 = RowOf("C:\\nowhere\\u32.exe");
    ASSERT_GE(row64, 0);
    ASSERT_GE(row32, 0);
    EXPECT_EQ(main.Rows()[static_cast<size_t>(row64)].view, RegistryView::Bits64);
    EXPECT_EQ(main.Rows()[static_cast<size_t>(row32)].view, RegistryView::Bits32);

    view.focused = row32;
    dialogs.answerYes = true;
    main.Guard([&] { main.Editing().DeleteClick(); });
    EXPECT_TRUE(dialogs.failures.empty());
    EXPECT_FALSE(Exists(kUninstall + "\\" + kTwin, KEY_WOW64_32KEY));
    EXPECT_TRUE(Exists(kUninstall + "\\" + kTwin, KEY_WOW64_64KEY));
    EXPECT_EQ(RowOf("C:\\nowhere\\u32.exe"), -1);
    EXPECT_GE(RowOf("C:\\nowhere\\u64.exe"), 0);

    main.Catalogue().LoadPrograms();
    EXPECT_EQ(RowOf("C:\\nowhere\\u32.exe"), -1);
    view.focused = RowOf("C:\\nowhere\\u64.exe");
    main.Guard([&] { main.Editing().DeleteClick(); });
    EXPECT_FALSE(Exists(kUninstall + "\\" + kTwin, KEY_WOW64_64KEY));
}

TEST_F(RegistryViewsTest, TheRegistryEditorRestoresEachViewsEntriesWhereTheyWere)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string file = std::string(temp) + "QuilletViews backup.reg";
    Win32FileWriter writer;
    WriteRegBackup(registry, writer, file, win32::Win32Locale(), RunsOnWindows64());
    for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) Remove(view, kTwin);
    ASSERT_EQ(Command(KEY_WOW64_32KEY, kTwin), "<none>");
    ASSERT_EQ(Command(KEY_WOW64_64KEY, kTwin), "<none>");

    ASSERT_EQ(RegeditImport(file), 0u);
    DeleteFileA(file.c_str());
    EXPECT_EQ(Command(KEY_WOW64_64KEY, kTwin), "C:\\nowhere\\u64.exe");
    EXPECT_EQ(Command(KEY_WOW64_32KEY, kTwin), "C:\\nowhere\\u32.exe");
}

}  // namespace
