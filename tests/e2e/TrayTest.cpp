#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "common/win32/Resource.h"
#include "e2e/Driver.h"
#include "e2e/Fixture.h"

using namespace e2e;

namespace {

constexpr UINT kTrayCallback = WM_APP + 0x100;

class TrayTest : public QuilletTest {};

// The shell holds an icon for that window: a change to it is accepted.
bool IconShown(HWND tray)
{
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = tray;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

// Explorer restarting forgets every icon and broadcasts "TaskbarCreated".
TEST_F(TrayTest, IconComesBackWhenTheShellRestarts)
{
    SeedUninstallKey({{"A", "A", WindowsFile("notepad.exe")}});
    Quillet app;
    app.Start();
    HWND tray = TrayWindow(app);
    ASSERT_NE(tray, nullptr);
    ASSERT_TRUE(IconShown(tray));
    const UINT restarted = RegisterWindowMessageA("TaskbarCreated");
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = tray;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));
    ASSERT_FALSE(IconShown(tray));
    SendMessageA(app.Window(), restarted, 0, 0);
    EXPECT_TRUE(IconShown(tray));
    // A broadcast while the icon stands leaves it standing.
    SendMessageA(app.Window(), restarted, 0, 0);
    EXPECT_TRUE(IconShown(tray));
}

TEST_F(TrayTest, MinimiseHidesTheTaskbarButtonAndASecondStartBringsItBack)
{
    SeedUninstallKey({{"A", "A", WindowsFile("notepad.exe")}});
    Quillet app;
    app.Start();
    ASSERT_NE(TrayWindow(app), nullptr);
    const auto logHeight = [&] {
        RECT r;
        GetWindowRect(app.Child(IDC_LOG), &r);
        return r.bottom - r.top;
    };
    const int shownHeight = logHeight();
    const auto shown = [&] { return IsWindowVisible(app.Window()) && !IsIconic(app.AppWindow()); };
    SendMessageA(app.Window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(Quillet::WaitFor([&] { return !IsWindowVisible(app.Window()); })) << "the window still shows";
    EXPECT_TRUE(IsIconic(app.AppWindow()));
    EXPECT_TRUE(TaskbarWindows(app).empty());

    EXPECT_EQ(Quillet::StartSecondCopy(20000), 0);
    EXPECT_TRUE(Quillet::WaitFor(shown));
    EXPECT_EQ(TaskbarWindows(app), std::vector<HWND>{app.AppWindow()});
    EXPECT_EQ(logHeight(), shownHeight);  // the panes come back as they were

    // The icon's double-click does the same.
    SendMessageA(app.Window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(Quillet::WaitFor([&] { return !IsWindowVisible(app.Window()); }));
    EXPECT_TRUE(TaskbarWindows(app).empty());
    PostMessageA(TrayWindow(app), kTrayCallback, 0, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(Quillet::WaitFor(shown));
    EXPECT_EQ(TaskbarWindows(app), std::vector<HWND>{app.AppWindow()});
}

TEST_F(TrayTest, UninstallItemStartsTheJobOfThePickedEntry)
{
    SeedUninstallKey({
        {"TJ1", "Tom & Jerry", TestProgram("qtest_console.exe") + " uninstall TJ1 300"},
        {"TJ2", "Tom & Jerry", TestProgram("qtest_console.exe") + " uninstall TJ2 300"},
    });
    Quillet app;
    app.Start();
    ASSERT_EQ(app.RowCount(), 2);
    const std::string second = app.RowText(1, 2);
    const std::string first = app.RowText(0, 2);
    HWND tray = TrayWindow(app);
    ASSERT_NE(tray, nullptr);

    // "Uninstall", into its submenu, the second item.
    ASSERT_TRUE(TrayMenuKeys(app, {VK_DOWN, VK_RIGHT, VK_DOWN})) << "no menu opened";
    // Each item's hint reaches the status bar: an entry's is its command.
    EXPECT_TRUE(Quillet::WaitFor([&] { return app.StatusPanel(0) == TestProgram("qtest_console.exe") +
                                                                         " uninstall TJ2 300"; }))
        << app.StatusPanel(0);
    PostMessageA(tray, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(Quillet::WaitFor([&] { return app.StatusText() == "Adding or removing \"Tom & Jerry\""; }))
        << app.StatusText();
    ASSERT_TRUE(Quillet::WaitFor([&] { return app.LogRowCount() == 1; }, 20000));
    EXPECT_EQ(app.LogText(0, 1), "Application \"Tom & Jerry\" successfuly uninstalled.");
    EXPECT_FALSE(KeyExists(second));
    EXPECT_TRUE(KeyExists(first));
}

TEST_F(TrayTest, MenuHintsReachTheStatusBar)
{
    SeedUninstallKey({{"A", "A", WindowsFile("notepad.exe")}});
    Quillet app;
    app.Start();
    const struct {
        std::vector<WORD> keys;
        const char* hint;
    } cases[] = {
        {{VK_DOWN, VK_DOWN}, "Backup registry entries used in Quillet"},
        {{VK_DOWN, VK_DOWN, VK_DOWN}, "Exit Quillet"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(TrayMenuKeys(app, c.keys)) << "no menu opened";
        EXPECT_TRUE(Quillet::WaitFor([&] { return app.StatusPanel(0) == c.hint; })) << app.StatusPanel(0);
        PostMessageA(TrayWindow(app), WM_KEYDOWN, VK_ESCAPE, 0);
        ASSERT_TRUE(Quillet::WaitFor([] { return FindWindowA("#32768", nullptr) == nullptr; }));
    }
}

}  // namespace
