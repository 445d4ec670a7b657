// Quillet under a window manager, as a Linux desktop shows it: openbox on the
// test's display, started and stopped around this test by scripts/with-openbox
// (the other tests run without one). What a taskbar lists is read from the
// manager's client list and each client's properties.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "common/win32/Resource.h"
#include "e2e/Fixture.h"
#include "e2e/XInput.h"

using namespace e2e;

namespace {

using XIds = std::vector<unsigned long>;

// The X window Wine made for a window; 0 while it has none.
unsigned long XWindowOf(HWND window)
{
    return static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(GetPropA(window, "__wine_x11_whole_window")));
}

std::string Hex(unsigned long id)
{
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", id);
    return text;
}

class WindowManagerTest : public XInputQuilletTest {
protected:
    void SetUp() override
    {
        XInputQuilletTest::SetUp();
        if (HasFatalFailure() || IsSkipped()) return;
        ASSERT_NE(UnixOutput({"wmctrl", "-m"}).find("Openbox"), std::string::npos)
            << "no window manager on the display: run this test through scripts/with-openbox";
    }
    // The X windows the manager lists (_NET_CLIENT_LIST), with what a taskbar
    // reads of each, for the failure messages.
    static XIds Clients(std::string* described = nullptr)
    {
        std::istringstream list(UnixOutput({"xprop", "-root", "_NET_CLIENT_LIST"}));
        std::string word;
        XIds ids;
        while (list >> word)
            if (word.rfind("0x", 0) == 0) ids.push_back(std::stoul(word, nullptr, 16));
        for (unsigned long id : ids)
            if (described) *described += Properties(id) + "\n";
        return ids;
    }
    static std::string Properties(unsigned long id)
    {
        return UnixOutput({"xprop", "-id", Hex(id), "WM_CLASS", "_NET_WM_NAME", "_NET_WM_STATE", "WM_TRANSIENT_FOR"});
    }
    // Quillet's taskbar entries: its clients that neither skip the taskbar
    // nor stand in for another window (transient for it).
    static XIds Entries()
    {
        XIds entries;
        for (unsigned long id : Clients()) {
            const std::string p = Properties(id);
            if (p.find("\"quillet.exe\"") == std::string::npos) continue;
            if (p.find("_NET_WM_STATE_SKIP_TASKBAR") != std::string::npos) continue;
            if (p.find("WM_TRANSIENT_FOR(WINDOW)") != std::string::npos) continue;
            entries.push_back(id);
        }
        return entries;
    }
    static std::string Described()
    {
        std::string text;
        Clients(&text);
        return text;
    }
};

// One entry, the application window's, while the window shows; none while
// the program sits in the notification area; one again once it is back.
TEST_F(WindowManagerTest, OneTaskbarEntryWhileShownNoneInTheNotificationArea)
{
    SeedUninstallKey({{"k1", "Alpha", WindowsFile("notepad.exe")}});
    Quillet app;
    app.Start();
    const unsigned long owner = XWindowOf(app.AppWindow()), main = XWindowOf(app.Window());
    ASSERT_NE(owner, 0ul) << "Wine made no X window for the application window";
    EXPECT_TRUE(Quillet::WaitFor([&] { return Entries() == XIds{owner}; }, 5000)) << Described();
    EXPECT_EQ(UnixOutput({"xprop", "-id", Hex(owner), "_NET_WM_NAME"}), "_NET_WM_NAME(UTF8_STRING) = \"Quillet\"\n");

    // Used, then left for another window: the entry's click brings the main
    // window back with the keyboard. (Wine activates no window of no size:
    // it gives the focus to the program's window that had it last.)
    const HWND list = app.Child(IDC_PROGRAMS);
    ASSERT_TRUE(XClick(ScreenMiddle(list)));
    ASSERT_TRUE(Quillet::WaitFor([&] { return GetForegroundWindow() == app.Window(); }, 5000));
    const HWND area = FindWindowA(nullptr, "Wine System Tray");
    ASSERT_NE(area, nullptr) << "no notification area window";
    ASSERT_TRUE(XDo({"windowactivate", "--sync", Hex(XWindowOf(area))}));
    ASSERT_TRUE(Quillet::WaitFor([&] { return GetForegroundWindow() == area; }, 5000));
    ASSERT_TRUE(XDo({"windowactivate", Hex(owner)}));
    EXPECT_TRUE(Quillet::WaitFor([&] { return GetForegroundWindow() == app.Window(); }, 5000));

    // The manager's minimise (its title bar's button) takes it to the notification area.
    ASSERT_TRUE(XDo({"windowminimize", "--sync", Hex(main)}));
    ASSERT_TRUE(Quillet::WaitFor([&] { return !IsWindowVisible(app.Window()) && !IsWindowVisible(app.AppWindow()); }))
        << Described();
    EXPECT_TRUE(Quillet::WaitFor([&] { return Entries().empty(); }, 5000)) << Described();

    // The icon's double-click in Wine's own notification area brings it back.
    RECT icon{};
    GetClientRect(area, &icon);
    icon.right = GetSystemMetrics(SM_CXSMICON) + 4;  // our icon is the only one: the first place
    const POINT at = ScreenMiddle(area, icon);
    ASSERT_TRUE(XDo({"mousemove", "--sync", std::to_string(at.x), std::to_string(at.y), "click", "--repeat", "2", "1"}));
    ASSERT_TRUE(Quillet::WaitFor([&] { return IsWindowVisible(app.Window()) && !IsIconic(app.AppWindow()); }))
        << Described();
    EXPECT_TRUE(Quillet::WaitFor([&] { return Entries() == XIds{XWindowOf(app.AppWindow())}; }, 5000)) << Described();
}

}  // namespace
