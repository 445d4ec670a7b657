#include <windows.h>

#include <gtest/gtest.h>

#include "e2e/Fixture.h"

using namespace e2e;

namespace {

class UninstallTest : public QuilletTest {};

TEST_F(UninstallTest, UninstallerThatRemovesItsEntryIsRecorded)
{
    SeedUninstallKey({{"TestApp", "Test App", TestProgram("qtest_console.exe") + " uninstall TestApp 700"}});
    Quillet app;
    app.Start();
    const COLORREF dark = app.LampColor();
    app.PressKey(VK_RETURN);
    EXPECT_TRUE(Quillet::WaitFor([&] { return app.StatusText() == "Adding or removing \"Test App\""; }))
        << app.StatusText();
    EXPECT_NE(dark, CLR_INVALID);
    EXPECT_TRUE(Quillet::WaitFor([&] { return app.LampColor() != dark; }, 2000)) << "the lamp did not light";

    ASSERT_TRUE(Quillet::WaitFor([&] { return app.LogRowCount() == 1; }, 20000));
    EXPECT_EQ(app.LogText(0, 1), "Application \"Test App\" successfuly uninstalled.");
    EXPECT_EQ(app.LogText(0, 2).rfind("Probably ", 0), 0u) << app.LogText(0, 2);
    EXPECT_EQ(app.LogText(0, 2).substr(app.LogText(0, 2).size() - 3), " MB");
    EXPECT_EQ(app.StatusText(), "Ready...");
    EXPECT_TRUE(Quillet::WaitFor([&] { return app.LampColor() == dark; }, 2000)) << "the lamp stayed lit";
    EXPECT_EQ(app.RowCount(), 0);
    EXPECT_FALSE(KeyExists("TestApp"));
}

// A's uninstaller ends while Delete asks about B: the reload moves C into
// B's row, and Yes still deletes B.
TEST_F(UninstallTest, DeleteConfirmedDuringAJobEndDeletesTheEntryItNamed)
{
    const std::string good = WindowsFile("notepad.exe");
    SeedUninstallKey({{"kA", "A app", TestProgram("qtest_console.exe") + " uninstall kA 1500"},
                      {"kB", "B app", good},
                      {"kC", "C app", good}});
    Quillet app;
    app.Start();
    ASSERT_TRUE(FocusRow(app, 0));
    app.PressKey(VK_RETURN);
    ASSERT_TRUE(Quillet::WaitFor([&] { return app.StatusText() == "Adding or removing \"A app\""; }));
    ASSERT_TRUE(FocusRow(app, 1));
    app.PressKey(VK_DELETE);
    HWND box = app.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(DialogText(box), "Confirm|Are you really want to delete shortcut to uninstall \"B app\" application?");
    ASSERT_TRUE(Quillet::WaitFor([&] { return app.RowCount() == 2; }, 20000)) << "the job did not end";
    EXPECT_EQ(app.RowText(0, 0), "B app");
    PostMessageA(box, WM_COMMAND, IDYES, 0);

    ASSERT_TRUE(Quillet::WaitFor([&] { return app.RowCount() == 1; }));
    EXPECT_FALSE(KeyExists("kB"));
    EXPECT_TRUE(KeyExists("kC"));
    EXPECT_EQ(app.RowText(0, 0), "C app");
    EXPECT_EQ(app.LogText(0, 1), "Uninstall shortcut for \"B app\" application deleted!");
    EXPECT_EQ(app.LogText(1, 1), "Application \"A app\" successfuly uninstalled.");
}

TEST_F(UninstallTest, UninstallerThatLeavesItsEntryIsRecordedAsNotUninstalled)
{
    SeedUninstallKey({{"Stays", "Stays", TestProgram("qtest_console.exe") + " exit 3 500"}});
    Quillet app;
    app.Start();
    app.PressKey(VK_RETURN);
    ASSERT_TRUE(Quillet::WaitFor([&] { return app.StatusText() == "Adding or removing \"Stays\""; }))
        << app.StatusText();
    ASSERT_TRUE(Quillet::WaitFor([&] { return app.StatusText() == "Ready..."; }, 20000)) << app.StatusText();
    // "Ready..." is shown before the reload that decides whether to log.
    EXPECT_TRUE(Quillet::WaitFor([&] { return app.LogRowCount() == 1; })) << app.LogRowCount();
    EXPECT_EQ(app.RowCount(), 1);
    EXPECT_EQ(app.LogText(0, 1), "Application \"Stays\" was not uninstalled.");
    EXPECT_EQ(app.LogText(0, 2), "Exit code: 3");
}

TEST_F(UninstallTest, ClosingDuringAJobAsksAndLeavesTheUninstallerRunning)
{
    // Slow enough to outlast the close: under Xvfb without a window manager
    // Wine spends about 2 s on each window it unmaps (ours, the tray icon's).
    SeedUninstallKey({{"Slow", "Slow App", TestProgram("qtest_console.exe") + " uninstall Slow 15000"}});
    Quillet app;
    app.Start();
    app.PressKey(VK_RETURN);
    ASSERT_TRUE(Quillet::WaitFor([&] { return app.StatusText() == "Adding or removing \"Slow App\""; }));

    PostMessageA(app.Window(), WM_CLOSE, 0, 0);
    HWND box = app.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(DialogText(box), "Confirm|Uninstallation in progress! Exit anyway?");
    PostMessageA(box, WM_COMMAND, IDNO, 0);
    Sleep(300);
    EXPECT_TRUE(IsWindow(app.Window()));
    EXPECT_EQ(app.StatusText(), "Adding or removing \"Slow App\"");

    PostMessageA(app.Window(), WM_CLOSE, 0, 0);
    box = app.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    PostMessageA(box, WM_COMMAND, IDYES, 0);
    EXPECT_TRUE(app.Exited(10000));
    EXPECT_TRUE(KeyExists("Slow"));  // the uninstaller has not finished yet...
    EXPECT_TRUE(Quillet::WaitFor([&] { return !KeyExists("Slow"); }, 25000));  // ...but it does, alone
}

}  // namespace
