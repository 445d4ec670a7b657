#include <windows.h>

#include <gtest/gtest.h>

#include <set>

#include "e2e/Fixture.h"

using namespace e2e;

namespace {

class StartupTest : public QuilletTest {
protected:
    void SetUp() override
    {
        QuilletTest::SetUp();
        if (HasFatalFailure()) return;
        SeedUninstallKey({
            {"Notepad", "Notepad & Co", WindowsFile("notepad.exe") + " /uninstall"},
            {"Quoted", "Quoted path", "\"" + WindowsFile("regedit.exe") + "\" /S"},
            {"Gone", "Gone Tool", "C:\\Program Files\\Gone\\uninst.exe /x"},
            {"Rundll", "Runs through rundll", "rundll32.exe advpack.dll,LaunchINFSection x.inf"},
            {"Percent", "Percent", "%ProgramFiles%\\App\\unins000.exe"},
            {"Missing2", "Another gone", "C:\\Nowhere\\remove.exe"},
            {"NoCommand", "Not listed", ""},
        });
    }
};

TEST_F(StartupTest, ShowsTheSeededEntriesWithTheirCounts)
{
    Quillet app;
    app.Start();
    EXPECT_EQ(app.StatusPanel(1), "Shortcuts / Bad shortcuts: 6 / 2");
    ASSERT_EQ(app.RowCount(), 6);
    std::set<std::string> names;
    for (int row = 0; row < app.RowCount(); ++row) {
        names.insert(app.RowText(row, 0));
        if (app.RowText(row, 2) == "Quoted") {
            EXPECT_EQ(app.RowText(row, 1), "\"" + WindowsFile("regedit.exe") + "\" /S");
        }
    }
    EXPECT_EQ(names.count("Notepad & Co"), 1u);
    EXPECT_EQ(names.count("Not listed"), 0u);
    EXPECT_EQ(app.FocusedRow(), 0);
    char caption[64];
    GetWindowTextA(app.Window(), caption, sizeof caption);
    EXPECT_STREQ(caption, "Quillet 2.0");
}

TEST_F(StartupTest, SecondCopyEndsWithZeroAndRestoresTheFirst)
{
    Quillet app;
    app.Start();
    SendMessageA(app.Window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(Quillet::WaitFor([&] { return IsIconic(app.Window()) != FALSE; }));

    EXPECT_EQ(Quillet::StartSecondCopy(20000), 0);
    EXPECT_TRUE(Quillet::WaitFor([&] { return !IsIconic(app.Window()); }));
    EXPECT_EQ(MainWindows().size(), 1u);
    EXPECT_EQ(GetForegroundWindow(), app.Window());

    // A window already on screen keeps its state.
    SendMessageA(app.Window(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ASSERT_TRUE(Quillet::WaitFor([&] { return IsZoomed(app.Window()) != FALSE; }));
    EXPECT_EQ(Quillet::StartSecondCopy(20000), 0);
    EXPECT_TRUE(IsZoomed(app.Window()));
    EXPECT_EQ(MainWindows().size(), 1u);
}

TEST_F(StartupTest, RefreshDropsAnEntryDeletedFromOutside)
{
    Quillet app;
    app.Start();
    ASSERT_EQ(app.RowCount(), 6);
    DeleteEntry("Gone");
    app.PressKey(VK_F5);
    EXPECT_TRUE(Quillet::WaitFor([&] { return app.RowCount() == 5; }));
    EXPECT_TRUE(Quillet::WaitFor([&] { return app.StatusPanel(1) == "Shortcuts / Bad shortcuts: 5 / 1"; }))
        << app.StatusPanel(1);
    for (int row = 0; row < app.RowCount(); ++row) EXPECT_NE(app.RowText(row, 0), "Gone Tool");
}

}  // namespace
