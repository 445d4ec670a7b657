#include <windows.h>

#include <gtest/gtest.h>

#include "e2e/Driver.h"
#include "e2e/Fixture.h"

using namespace e2e;

namespace {

constexpr UINT kTrayCallback = WM_APP + 0x100;

class TrayTest : public QuilletTest {
protected:
    // The icon's own hidden window in the program's process.
    static HWND TrayWindow(const Quillet& app)
    {
        HWND w = nullptr;
        while ((w = FindWindowExA(nullptr, w, "TRxTrayIconWindow", nullptr)) != nullptr) {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid == app.ProcessId()) return w;
        }
        return nullptr;
    }
    // What the shell sends for a right click on the icon, then keys to the open menu.
    static void RightClickAndKeys(HWND tray, std::initializer_list<WORD> keys)
    {
        PostMessageA(tray, kTrayCallback, 0, WM_RBUTTONDOWN);
        PostMessageA(tray, kTrayCallback, 0, WM_RBUTTONUP);
        ASSERT_TRUE(Quillet::WaitFor([] { return FindWindowA("#32768", nullptr) != nullptr; }, 5000))
            << "no menu opened";
        for (WORD key : keys) {
            Sleep(150);
            PostMessageA(tray, WM_KEYDOWN, key, 0);
            PostMessageA(tray, WM_KEYUP, key, 0xC0000000);
        }
    }
    static bool KeyExists(const std::string& subkey)
    {
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, (std::string(kUninstallKey) + "\\" + subkey).c_str(), 0, KEY_READ,
                          &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }
};

TEST_F(TrayTest, MinimiseHidesTheTaskbarButtonAndASecondStartBringsItBack)
{
    SeedUninstallKey({{"A", "A", WindowsFile("notepad.exe")}});
    Quillet app;
    app.Start();
    ASSERT_NE(TrayWindow(app), nullptr);
    SendMessageA(app.Window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(Quillet::WaitFor([&] { return !IsWindowVisible(app.Window()); })) << "the window still shows";

    EXPECT_EQ(Quillet::StartSecondCopy(20000), 0);
    EXPECT_TRUE(Quillet::WaitFor([&] { return IsWindowVisible(app.Window()) && !IsIconic(app.Window()); }));

    // The icon's double-click does the same.
    SendMessageA(app.Window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(Quillet::WaitFor([&] { return !IsWindowVisible(app.Window()); }));
    PostMessageA(TrayWindow(app), kTrayCallback, 0, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(Quillet::WaitFor([&] { return IsWindowVisible(app.Window()) && !IsIconic(app.Window()); }));
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
    RightClickAndKeys(tray, {VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN});
    EXPECT_TRUE(Quillet::WaitFor([&] { return app.StatusText() == "Adding or removing \"Tom & Jerry\""; }))
        << app.StatusText();
    ASSERT_TRUE(Quillet::WaitFor([&] { return app.LogRowCount() == 1; }, 20000));
    EXPECT_EQ(app.LogText(0, 1), "Application \"Tom & Jerry\" successfuly uninstalled.");
    EXPECT_FALSE(KeyExists(second));
    EXPECT_TRUE(KeyExists(first));
}

}  // namespace
