#include <windows.h>

#include <gtest/gtest.h>

#include <string>

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
    static DWORD RegAdd(const std::string& subkey, const std::string& name, const std::string& command)
    {
        const std::string key = std::string("\"HKLM\\") + kUninstallKey + "\\" + subkey + "\"";
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
