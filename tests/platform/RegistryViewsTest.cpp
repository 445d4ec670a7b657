#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "app/MainFrm.h"
#include "catalogue/win32/Win32Registry.h"
#include "common/TestedWindows.h"
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

// The views of the Windows the prefix is, each with the command seeded in it:
// two on 64-bit Windows, where the 32-bit one lives below Wow6432Node; one,
// the plain path, on 32-bit Windows (which ignores the WoW64 flags).
struct ViewCase {
    RegistryView view;
    REGSAM flag;
    const char* command;
};
const std::vector<ViewCase>& Views()
{
    static const std::vector<ViewCase> views64 = {{RegistryView::Bits64, KEY_WOW64_64KEY, "C:\\nowhere\\u64.exe"},
                                                  {RegistryView::Bits32, KEY_WOW64_32KEY, "C:\\nowhere\\u32.exe"}};
    static const std::vector<ViewCase> views32 = {{RegistryView::Native, 0, "C:\\nowhere\\u.exe"}};
    return tested_windows::Windows64() ? views64 : views32;
}

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
        // The program's own answer must be the prefix's.
        ASSERT_EQ(RunsOnWindows64(), tested_windows::Windows64());
        TearDown();
        for (const ViewCase& v : Views()) MakeEntry(v.flag, kTwin, "QuilletViews Twin", v.command);
        main.Catalogue().ApplySortState(0, true);
    }
    void TearDown() override
    {
        for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) Remove(view, kTwin);
    }
    int RowOf(const std::string& command) const
    {
        int found = -1;
        for (size_t i = 0; i < main.Rows().size(); ++i)
            if (main.Rows()[i].command == command) {
                EXPECT_EQ(found, -1) << command << " is listed twice";
                found = static_cast<int>(i);
            }
        return found;
    }
    // Each view's entry exists, or not, exactly where it was seeded.
    void ExpectEntries(size_t fromView)
    {
        for (size_t i = 0; i < Views().size(); ++i)
            EXPECT_EQ(Command(Views()[i].flag, kTwin), i < fromView ? Views()[i].command : "<none>");
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
    // Only 64-bit Windows has the 32-bit view's key below Wow6432Node.
    EXPECT_EQ(Exists("Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + kTwin,
                     KEY_WOW64_64KEY),
              tested_windows::Windows64());
    const std::string twin = "\\" + kUninstall + "\\" + kTwin;
    for (const ViewCase& v : Views()) {
        registry.SetRootKey(RootKey::LocalMachine);
        registry.SetView(v.view);
        ASSERT_TRUE(registry.OpenKey(twin, false));
        EXPECT_EQ(registry.ReadString("UninstallString"), v.command);
    }
    // A new root starts in the program's own view again: the 32-bit one for
    // the 32-bit build, which 64-bit Windows redirects.
    registry.SetRootKey(RootKey::LocalMachine);
    ASSERT_TRUE(registry.OpenKey(twin, false));
    EXPECT_EQ(registry.ReadString("UninstallString"), (sizeof(void*) == 8 ? Views().front() : Views().back()).command);

    // Create, test and delete a tree in the last view only.
    const ViewCase& last = Views().back();
    registry.SetView(last.view);
    ASSERT_TRUE(registry.OpenKey(twin + "\\Below\\Deeper", true));
    EXPECT_TRUE(Exists(kUninstall + "\\" + kTwin + "\\Below\\Deeper", last.flag));
    for (const ViewCase& other : Views()) {
        if (&other != &last) {
            EXPECT_FALSE(Exists(kUninstall + "\\" + kTwin + "\\Below", other.flag));
        }
    }
    EXPECT_TRUE(registry.KeyExists(twin + "\\Below"));
    EXPECT_TRUE(registry.DeleteKey(twin));
    ExpectEntries(Views().size() - 1);
}

TEST_F(RegistryViewsTest, EachViewsEntryIsListedOnceAndDeletedInItsOwn)
{
    main.Catalogue().LoadPrograms();
    size_t twins = 0;
    for (const auto& row : main.Rows()) twins += row.subkey == kTwin;
    EXPECT_EQ(twins, Views().size());
    for (const ViewCase& v : Views()) {
        const int row = RowOf(v.command);
        ASSERT_GE(row, 0) << v.command;
        EXPECT_EQ(main.Rows()[static_cast<size_t>(row)].view, v.view);
    }

    // Deleted from the last view on, reloading after each: the others stay.
    dialogs.answerYes = true;
    for (size_t i = Views().size(); i-- > 0;) {
        view.focused = RowOf(Views()[i].command);
        main.Guard([&] { main.Editing().DeleteClick(); });
        EXPECT_TRUE(dialogs.failures.empty());
        EXPECT_EQ(RowOf(Views()[i].command), -1);
        ExpectEntries(i);
        main.Catalogue().LoadPrograms();
        EXPECT_EQ(RowOf(Views()[i].command), -1);
        if (i > 0) {
            EXPECT_GE(RowOf(Views()[i - 1].command), 0);
        }
    }
}

TEST_F(RegistryViewsTest, TheRegistryEditorRestoresEachViewsEntriesWhereTheyWere)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string file = std::string(temp) + "QuilletViews backup.reg";
    Win32FileWriter writer;
    WriteRegBackup(registry, writer, file, win32::Win32Locale(), RunsOnWindows64());
    // ASCII names: an ANSI file. 32-bit Windows: the plain path only.
    const std::string text = ReadWholeFile(file);
    EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE\\" + kUninstall + "\\" + kTwin + "]"), std::string::npos);
    EXPECT_EQ(text.find("Wow6432Node") != std::string::npos, tested_windows::Windows64());
    TearDown();
    ExpectEntries(0);

    ASSERT_EQ(RegeditImport(file), 0u);
    DeleteFileA(file.c_str());
    ExpectEntries(Views().size());
}

}  // namespace
