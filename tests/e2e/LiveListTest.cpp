#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/win32/Resource.h"
#include "e2e/Fixture.h"

using namespace e2e;

namespace {

// Another program changes the Uninstall key while Quillet shows it.
class LiveListTest : public QuilletTest {
protected:
    void SetUp() override
    {
        QuilletTest::SetUp();
        if (HasFatalFailure()) return;
        const std::string good = WindowsFile("notepad.exe");
        SeedUninstallKey({{"B", "Bravo", good}, {"D", "Delta", good}, {"F", "Foxtrot", good}, {"H", "Hotel", good}});
        app.Start();
    }
    // Wine's reg.exe, as a user or an installer would run it; its exit code.
    static DWORD Reg(const std::string& arguments)
    {
        std::string line = "reg.exe " + arguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                            &process))
            return ~0u;
        WaitForSingleObject(process.hProcess, 30000);
        DWORD code = ~0u;
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return code;
    }
    static DWORD RegAdd(const std::string& subkey, const std::string& name, const std::string& command,
                        const std::string& root = "HKLM")
    {
        const std::string key = "\"" + root + "\\" + kUninstallKey + "\\" + subkey + "\"";
        const DWORD first = Reg("add " + key + " /v DisplayName /d \"" + name + "\" /f");
        return first ? first : Reg("add " + key + " /v UninstallString /d \"" + command + "\" /f");
    }

    Quillet app;
};

TEST_F(LiveListTest, AnEntryAddedOutsideShowsUpAndTheFocusStaysWithItsEntry)
{
    ASSERT_TRUE(FocusRow(app, 1));  // Delta
    ASSERT_EQ(RegAdd("A", "Alpha", "C:\\Gone\\x.exe"), 0u);
    ASSERT_TRUE(Quillet::WaitFor([&] { return app.RowCount() == 5; }, 10000)) << app.RowCount();
    EXPECT_EQ(app.RowText(0, 0), "Alpha");
    EXPECT_EQ(app.RowText(app.FocusedRow(), 0), "Delta");
    EXPECT_EQ(app.StatusPanel(1), "Shortcuts / Bad shortcuts: 5 / 1");

    // The focused entry removed outside: the focus stays on its row, as F5 leaves it.
    const int row = app.FocusedRow();
    ASSERT_EQ(Reg(std::string("delete \"HKLM\\") + kUninstallKey + "\\D\" /f"), 0u);
    ASSERT_TRUE(Quillet::WaitFor([&] { return app.RowCount() == 4; }, 10000)) << app.RowCount();
    EXPECT_EQ(app.FocusedRow(), row);
    EXPECT_EQ(app.RowText(row, 0), "Foxtrot");
}

// Sources that were not there at the start: the current user's first
// per-user install makes HKCU's Uninstall key, a user signing in adds a hive.
class NewSourcesTest : public LiveListTest {
protected:
    void SetUp() override
    {
        QuilletTest::SetUp();
        if (HasFatalFailure()) return;
        RegDeleteTreeA(HKEY_CURRENT_USER, kUninstallKey);
        RegDeleteTreeA(HKEY_USERS, kHive);
        SeedUninstallKey({{"M", "Machine", WindowsFile("notepad.exe")}});
        app.Start();
    }
    void TearDown() override
    {
        app.Close();
        EXPECT_TRUE(app.Exited(15000));
        RegDeleteTreeA(HKEY_CURRENT_USER, kUninstallKey);
        RegDeleteTreeA(HKEY_USERS, kHive);
        LiveListTest::TearDown();
    }
    static constexpr const char* kHive = "S-1-5-21-1-2-3-1001";
};

TEST_F(NewSourcesTest, AnUninstallKeyOrAHiveMadeAfterTheStartIsFollowed)
{
    ASSERT_EQ(app.RowCount(), 1);
    const std::string good = WindowsFile("notepad.exe");
    ASSERT_EQ(RegAdd("U", "Mine", good, "HKCU"), 0u);
    ASSERT_TRUE(Quillet::WaitFor([&] { return app.RowCount() == 2; }, 10000)) << "HKCU's new Uninstall key";
    // Followed from now on, as any other source.
    ASSERT_EQ(RegAdd("V", "Mine too", good, "HKCU"), 0u);
    ASSERT_TRUE(Quillet::WaitFor([&] { return app.RowCount() == 3; }, 10000)) << "an entry added to it";
    ASSERT_EQ(RegAdd("W", "Theirs", good, std::string("HKEY_USERS\\") + kHive), 0u);
    ASSERT_TRUE(Quillet::WaitFor([&] { return app.RowCount() == 4; }, 10000)) << "a hive loaded since";
    ASSERT_EQ(RegAdd("X", "Theirs too", good, std::string("HKEY_USERS\\") + kHive), 0u);
    ASSERT_TRUE(Quillet::WaitFor([&] { return app.RowCount() == 5; }, 10000)) << "an entry added to the hive";
    std::vector<std::string> sources = app.Column(3);
    std::sort(sources.begin(), sources.end());
    EXPECT_EQ(sources[1], "User");
    EXPECT_EQ(sources[3].rfind("User: ", 0), 0u);
}

TEST_F(LiveListTest, NotWhileABoxAsksButRightAfterIt)
{
    ASSERT_TRUE(FocusRow(app, 2));  // Foxtrot
    PostCommand(app, IDM_DELETE);
    HWND box = app.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    ASSERT_EQ(RegAdd("A", "Alpha", WindowsFile("notepad.exe")), 0u);
    Sleep(1500);  // well past the wait for the burst to settle
    EXPECT_EQ(app.RowCount(), 4);
    PostMessageA(box, WM_COMMAND, IDNO, 0);
    ASSERT_TRUE(Quillet::WaitFor([&] { return app.RowCount() == 5; }, 10000)) << app.RowCount();
    EXPECT_EQ(app.RowText(app.FocusedRow(), 0), "Foxtrot");
}

}  // namespace
