// The window driven as a user drives it: X mouse and keys on the display,
// through the input paths Windows programs get them by.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "common/win32/Resource.h"
#include "e2e/Fixture.h"
#include "e2e/XInput.h"

using namespace e2e;

namespace {

class XInputTest : public XInputQuilletTest {
protected:
    // The pointer back where Xvfb starts it, mid-screen: the other tests
    // never had it resting on a row, a header or the notification area.
    void TearDown() override
    {
        if (XInputMissing().empty())
            XDo({"mousemove", "--sync", std::to_string(GetSystemMetrics(SM_CXSCREEN) / 2),
                 std::to_string(GetSystemMetrics(SM_CYSCREEN) / 2)});
    }
    // The window that has the keyboard in the program, or null.
    static HWND KeyboardAt(const Quillet& app)
    {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(app.Window(), nullptr), &info);
        return info.hwndFocus;
    }
    // Clicks the middle of a row of the program list; true once it is focused.
    static bool ClickRow(const Quillet& app, int row)
    {
        const std::vector<RECT> rows = ItemRects(app, IDC_PROGRAMS, LVIR_LABEL);
        if (row >= static_cast<int>(rows.size())) return false;
        const HWND list = app.Child(IDC_PROGRAMS);
        return XClick(ScreenMiddle(list, rows[static_cast<size_t>(row)])) && Answers(app.Window()) &&
               Quillet::WaitFor([&] { return app.FocusedRow() == row; }, 5000);
    }
};

// Right after the start, the first row the user moves to says why it is
// good or bad, with the keyboard as with the mouse.
TEST_F(XInputTest, TheFirstRowFocusedAfterTheStartShowsItsReason)
{
    const std::string good = WindowsFile("notepad.exe");
    SeedUninstallKey({{"ka", "A app", good}, {"kb", "B app", "C:\\Gone Vendor\\u.exe"}, {"kc", "C app", good}});
    const std::string gone = "Bad: the folder does not exist: C:\\Gone Vendor";
    for (const bool mouse : {false, true}) {
        // The pointer rests mid-screen, where the centred window's list shows no row.
        ASSERT_TRUE(XDo({"mousemove", "--sync", std::to_string(GetSystemMetrics(SM_CXSCREEN) / 2),
                         std::to_string(GetSystemMetrics(SM_CYSCREEN) / 2)}));
        Quillet app;
        app.Launch();
        app.WaitForWindow();
        // At once, as a user who knows the list does: no waiting for the program to settle.
        if (mouse) {
            ASSERT_TRUE(ClickRow(app, 1));
        } else {
            ASSERT_TRUE(XKeys({"Down"}));
            ASSERT_TRUE(Quillet::WaitFor([&] { return app.FocusedRow() == 1; }, 5000)) << "the keys went elsewhere";
        }
        ASSERT_TRUE(Answers(app.Window()));
        EXPECT_EQ(app.StatusPanel(0), gone) << (mouse ? "clicked" : "keyed");
        ASSERT_TRUE(XKeys({"Down"}));
        EXPECT_TRUE(Quillet::WaitFor([&] { return app.StatusPanel(0).rfind("Good: the program is there", 0) == 0; }, 5000))
            << app.StatusPanel(0);
        app.Close();
        ASSERT_TRUE(app.Exited(15000));
    }
}

// A console uninstaller's window had the keyboard; once it ends, Enter in
// the list starts the job again, without a click into the list first.
TEST_F(XInputTest, EnterInTheListStartsTheJobAgainAfterAConsoleUninstallerEnded)
{
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    // The command processor's window is the console's, as for many an uninstaller.
    SeedUninstallKey(
        {{"kq", "Quick app", std::string(system) + "\\cmd.exe /c " + TestProgram("qtest_console.exe") + " exit 0 2000"}});
    Quillet app;
    app.FromTheDesktop = true;
    app.Start();
    ASSERT_TRUE(ClickRow(app, 0));
    for (int round = 1; round <= 2; ++round) {
        ASSERT_TRUE(XKeys({"Return"})) << round;
        ASSERT_TRUE(Quillet::WaitFor([&] { return app.StatusText() == "Adding or removing \"Quick app\""; }, 10000))
            << "Enter started nothing in round " << round << "; the list has the keyboard: "
            << (KeyboardAt(app) == app.Child(IDC_PROGRAMS)) << "; a window has it: " << (GetForegroundWindow() != nullptr);
        ASSERT_TRUE(Quillet::WaitFor([&] {
            DWORD process = 0;
            GetWindowThreadProcessId(GetForegroundWindow(), &process);
            return process != 0 && process != app.ProcessId();
        })) << "the console's window never had the keyboard in round " << round;
        ASSERT_TRUE(Quillet::WaitFor([&] { return app.StatusText() == "Ready..."; }, 20000)) << round;
        ASSERT_TRUE(Quillet::WaitFor([&] { return app.RowCount() == 1; })) << "the reload after the job";
        // Back with the window below the console's, as on Windows.
        ASSERT_TRUE(Quillet::WaitFor([&] { return GetForegroundWindow() == app.Window(); }))
            << "no window has the keyboard after round " << round;
        ASSERT_TRUE(Answers(app.Window()));
    }
}

// A click on a header sorts by that column; a second click reverses it. A
// detail column sorts by the details, which the list reads after its load.
TEST_F(XInputTest, AHeaderClickSortsByItsColumn)
{
    SeedUninstallKey({{"k1", "Alpha", "C:\\c.exe"}, {"k2", "Beta", "C:\\a.exe"}, {"k3", "Gamma", "C:\\b.exe"}});
    for (const auto& [key, publisher] : {std::pair{"k1", "Zeta"}, {"k2", "Mu"}, {"k3", "Ace"}})
        SeedValue(key, "Publisher", publisher);
    Quillet app;
    // Narrow first columns: the Publisher header lies within the window.
    app.KeepSettings = true;
    DeleteFileA(Quillet::SettingsPath().c_str());
    WritePrivateProfileStringA("View", "ViewType", "-1", Quillet::SettingsPath().c_str());
    for (const char* width : {"NameWidth", "CmdLiNeWidth", "SubKeyWidth"})
        WritePrivateProfileStringA("Main", width, "60", Quillet::SettingsPath().c_str());
    app.Start();
    const HWND list = app.Child(IDC_PROGRAMS);
    const HWND header = ListView_GetHeader(list);
    RECT bar{};
    GetClientRect(header, &bar);
    auto clickHeader = [&](int column) {
        int left = 0;
        for (int c = 0; c < column; ++c) left += ListView_GetColumnWidth(list, c);
        const RECT item{left, bar.top, left + ListView_GetColumnWidth(list, column), bar.bottom};
        return XClick(ScreenMiddle(header, item)) && Answers(app.Window());
    };
    using Names = std::vector<std::string>;
    ASSERT_EQ(app.Column(0), (Names{"Alpha", "Beta", "Gamma"}));
    ASSERT_TRUE(clickHeader(1));
    EXPECT_TRUE(Quillet::WaitFor([&] { return app.Column(0) == Names{"Beta", "Gamma", "Alpha"}; }, 5000));
    EXPECT_EQ(ArrowColumn(app), 1);
    ASSERT_TRUE(clickHeader(1));
    EXPECT_TRUE(Quillet::WaitFor([&] { return app.Column(0) == Names{"Alpha", "Gamma", "Beta"}; }, 5000));
    ASSERT_TRUE(clickHeader(4));  // Publisher
    EXPECT_TRUE(Quillet::WaitFor([&] { return app.Column(0) == Names{"Gamma", "Beta", "Alpha"}; }, 5000));
}

// The header's menu, right-clicked: Publisher hidden, and still hidden
// after a restart; shown again the same way.
TEST_F(XInputTest, TheHeaderMenuHidesAColumnAndTheSettingsKeepIt)
{
    SeedUninstallKey({{"k1", "Alpha", "C:\\a.exe"}});
    constexpr int kPublisher = 4;
    for (const bool hide : {true, false}) {
        Quillet app;
        app.KeepSettings = !hide;
        app.Start();
        const HWND list = app.Child(IDC_PROGRAMS);
        ASSERT_EQ(ListView_GetColumnWidth(list, kPublisher) == 0, !hide);
        RECT bar{};
        GetClientRect(ListView_GetHeader(list), &bar);
        bar.right = ListView_GetColumnWidth(list, 0);
        ASSERT_TRUE(XClick(ScreenMiddle(ListView_GetHeader(list), bar), 3));
        ASSERT_TRUE(Quillet::WaitFor([] { return FindWindowA("#32768", nullptr) != nullptr; }, 5000)) << "no menu";
        ASSERT_TRUE(XKeys({"Down", "Down", "Return"}));  // Source, then Publisher
        EXPECT_TRUE(Quillet::WaitFor([&] { return (ListView_GetColumnWidth(list, kPublisher) == 0) == hide; }, 5000));
        app.Close();
        ASSERT_TRUE(app.Exited(15000));
    }
    Quillet again;
    again.KeepSettings = true;
    again.Start();
    EXPECT_GT(ListView_GetColumnWidth(again.Child(IDC_PROGRAMS), kPublisher), 0);
}

// The icon in Wine's own notification area, right-clicked: its menu's
// Uninstall submenu names the entry as it is written, and starts its job.
TEST_F(XInputTest, TheTrayMenuChosenWithMouseAndKeysStartsTheEntrysJob)
{
    SeedUninstallKey({{"kt", "Tom & Jerry", TestProgram("qtest_console.exe") + " exit 0 300"}});
    Quillet app;
    app.Start();
    ASSERT_NE(TrayWindow(app), nullptr);
    // Wine shows the icons in a window of its own when no desktop holds them.
    const HWND area = FindWindowA(nullptr, "Wine System Tray");
    ASSERT_NE(area, nullptr) << "no notification area window";
    RECT r{};
    GetClientRect(area, &r);
    r.right = GetSystemMetrics(SM_CXSMICON) + 4;  // our icon is the only one: the first place
    ASSERT_TRUE(XClick(ScreenMiddle(area, r), 3));
    ASSERT_TRUE(Quillet::WaitFor([] { return FindWindowA("#32768", nullptr) != nullptr; }, 5000)) << "no menu opened";
    ASSERT_TRUE(XKeys({"Down", "Right", "Return"}));
    EXPECT_TRUE(Quillet::WaitFor([&] { return app.StatusText() == "Adding or removing \"Tom & Jerry\""; }, 10000))
        << app.StatusText();
    EXPECT_TRUE(Quillet::WaitFor([&] { return app.StatusText() == "Ready..."; }, 20000)) << app.StatusText();
}

}  // namespace
