#include <windows.h>

#include <gtest/gtest.h>

#include "app/MainFrm.h"
#include "catalogue/win32/Win32Registry.h"
#include "catalogue/win32/Win32UserAccounts.h"
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
const std::string kOther = "S-1-5-21-1-2-3-1001";
const std::string kMine = "QuilletUsers Chat";
const std::string kTheirs = "{5A1D-77}_is1";

void Reg(const std::string& arguments) { ASSERT_EQ(RunToEnd("reg.exe " + arguments), 0u) << arguments; }

std::string Command(HKEY root, const std::string& path)
{
    HKEY h;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return "<none>";
    char data[MAX_PATH] = "";
    DWORD size = sizeof data - 1;
    const LONG rc = RegQueryValueExA(h, "UninstallString", nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(h);
    return rc == ERROR_SUCCESS ? data : "<no value>";
}

// The current user's entry and a second user's hive below HKEY_USERS, made
// with the registry tool as an installer or a signed-in user would leave them.
class UserSourcesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TearDown();
        const std::string mine = "\"HKCU\\" + kUninstall + "\\" + kMine + "\"";
        Reg("add " + mine + " /v DisplayName /d \"Chat (user)\" /f");
        Reg("add " + mine + " /v UninstallString /d \"C:\\nowhere\\Chat\\Update.exe --uninstall \" /f");
        Reg("add " + mine + " /v QuietUninstallString /d \"C:\\nowhere\\Chat\\Update.exe --uninstall -s\" /f");
        Reg("add " + mine + " /v EstimatedSize /t REG_DWORD /d 2048 /f");
        Reg("add " + mine + " /v Publisher /d " + std::string(3000, 'P') + " /f");
        const std::string theirs = "\"HKEY_USERS\\" + kOther + "\\" + kUninstall + "\\" + kTheirs + "\"";
        Reg("add " + theirs + " /v DisplayName /d \"Editor (Ann)\" /f");
        Reg("add " + theirs + " /v UninstallString /d \"\\\"C:\\nowhere\\Ed\\unins000.exe\\\"\" /f");
        Reg("add " + theirs + " /v InstallDate /d 20240131 /f");
        main.Catalogue().ApplySortState(0, true);
    }
    void TearDown() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, (kUninstall + "\\" + kMine).c_str());
        RegDeleteTreeA(HKEY_USERS, (kOther + "\\" + kUninstall + "\\" + kTheirs).c_str());
    }
    const EntryRow* Row(const std::string& subkey) const
    {
        for (const EntryRow& row : main.Rows())
            if (row.subkey == subkey) return &row;
        return nullptr;
    }

    Win32Registry registry;
    Win32UserAccounts accounts;
    fakes::FakeFileSystem files;
    fakes::FakeLocale locale;
    fakes::FakeClock clock;
    fakes::FakeDialogs dialogs;
    fakes::FakeRunner runner;
    fakes::FakeMainView view;
    TMain main{view, Ports{registry, files, locale, clock, dialogs, runner, nullptr, nullptr, nullptr, nullptr,
                           RunsOnWindows64(), &accounts}};
};

TEST_F(UserSourcesTest, EachHiveIsListedWithItsSourceAndItsDetails)
{
    ASSERT_FALSE(accounts.CurrentSid().empty());
    main.Catalogue().LoadPrograms();
    const EntryRow* mine = Row(kMine);
    const EntryRow* theirs = Row(kTheirs);
    ASSERT_NE(mine, nullptr);
    ASSERT_NE(theirs, nullptr);
    EXPECT_EQ(mine->SourceName(), "User");
    EXPECT_EQ(mine->command, "C:\\nowhere\\Chat\\Update.exe --uninstall ");
    EXPECT_EQ(mine->details.quietUninstall, "C:\\nowhere\\Chat\\Update.exe --uninstall -s");
    EXPECT_EQ(mine->details.sizeKiB, 2048);
    EXPECT_EQ(mine->details.publisher, std::string(kDetailChars, 'P'));  // longer than one read: cut
    EXPECT_EQ(theirs->SourceName().rfind("User: ", 0), 0u);
    EXPECT_EQ(theirs->sid, kOther);
    EXPECT_EQ(theirs->details.installDate, 20240131);
    // Our own hive is HKCU, never another user's.
    for (const EntryRow& row : main.Rows()) EXPECT_NE(row.sid, accounts.CurrentSid());

    // Another user's uninstaller is not started.
    for (size_t i = 0; i < main.Rows().size(); ++i)
        if (&main.Rows()[i] == theirs) view.focused = static_cast<int>(i);
    main.Job().uninstallClick();
    EXPECT_TRUE(runner.started.empty());
    EXPECT_EQ(dialogs.errorBoxes.size(), 1u);
}

TEST_F(UserSourcesTest, TheRegistryEditorRestoresEachUsersEntriesWhereTheyWere)
{
    const std::string file = TempDir("QuilletUsers backup.reg");
    Win32FileWriter writer;
    WriteRegBackup(registry, writer, file, win32::Win32Locale(), main.Catalogue().ReadSources());
    const std::string text = ReadWholeFile(file);
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\" + kUninstall + "\\" + kMine + "]"), std::string::npos);
    EXPECT_NE(text.find("[HKEY_USERS\\" + kOther + "\\" + kUninstall + "\\" + kTheirs + "]"), std::string::npos);
    TearDown();
    ASSERT_EQ(Command(HKEY_CURRENT_USER, kUninstall + "\\" + kMine), "<none>");

    ASSERT_EQ(RegeditImport(file), 0u);
    DeleteFileA(file.c_str());
    EXPECT_EQ(Command(HKEY_CURRENT_USER, kUninstall + "\\" + kMine), "C:\\nowhere\\Chat\\Update.exe --uninstall ");
    EXPECT_EQ(Command(HKEY_USERS, kOther + "\\" + kUninstall + "\\" + kTheirs), "\"C:\\nowhere\\Ed\\unins000.exe\"");
}

}  // namespace
