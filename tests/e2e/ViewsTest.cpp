#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/win32/Resource.h"
#include "e2e/Fixture.h"

using namespace e2e;

namespace {

class ViewsTest : public QuilletTest {
protected:
    void SetUp() override
    {
        QuilletTest::SetUp();
        if (HasFatalFailure()) return;
        SeedUninstallKey({{"Editor", "Editor", WindowsFile("notepad.exe")},
                          {"Gone", "Gone", "C:\\Nowhere\\uninst.exe"}});
        app.Start();
    }
    bool Visible(int id) const { return IsWindowVisible(app.Child(id)) != FALSE; }
    RECT ChildRect(int id) const
    {
        RECT r;
        GetWindowRect(app.Child(id), &r);
        MapWindowPoints(nullptr, app.Window(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    DWORD ListStyle() const
    {
        return static_cast<DWORD>(GetWindowLongPtrA(app.Child(IDC_PROGRAMS), GWL_STYLE)) & LVS_TYPEMASK;
    }
    // Puts the pointer over a point of a child control and waits for the hint.
    bool HintAt(int id, POINT at, const std::string& expected)
    {
        ClientToScreen(app.Child(id), &at);
        return PointAt(at, [&] { return app.StatusPanel(0) == expected; });
    }
    // Moves the pointer to a point of the screen and waits until `shown`
    // holds. Hints follow moves, and where the pointer rests when the window
    // first idles says nothing: a test that finds it resting there already
    // (the window may not have idled since its start) comes in once more
    // from a corner outside the window, once the program has seen it there.
    template <class Shown>
    bool PointAt(POINT at, Shown shown)
    {
        for (int attempt = 0; attempt < 2; ++attempt) {
            if (attempt > 0) {
                SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
                Quillet::WaitFor([&] { return app.StatusPanel(0).empty(); }, 2000);
            }
            SetCursorPos(at.x + 1, at.y);
            SetCursorPos(at.x, at.y);
            if (Quillet::WaitFor(shown, 2500)) return true;
        }
        return false;
    }

    Quillet app;
};

TEST_F(ViewsTest, SwitchesHideAndShowTheirPartAndTheListTakesTheRoom)
{
    const RECT list = ChildRect(IDC_PROGRAMS);
    app.Command(IDM_TOOLBAR);
    EXPECT_FALSE(Visible(IDC_TOOLBAR));
    EXPECT_EQ(ChildRect(IDC_PROGRAMS).top, list.top - 45);
    app.Command(IDM_TOOLBAR);
    EXPECT_TRUE(Visible(IDC_TOOLBAR));
    EXPECT_EQ(ChildRect(IDC_PROGRAMS).top, list.top);

    app.Command(IDM_LOG);
    EXPECT_FALSE(Visible(IDC_LOG));
    EXPECT_GT(ChildRect(IDC_PROGRAMS).bottom, list.bottom + 90);  // the log's 102 pixels, less nothing else
    app.Command(IDM_LOG);
    EXPECT_TRUE(Visible(IDC_LOG));
    EXPECT_EQ(ChildRect(IDC_PROGRAMS).bottom, list.bottom);

    app.Command(IDM_STATUSBAR);
    EXPECT_FALSE(Visible(IDC_STATUSBAR));
    EXPECT_GT(ChildRect(IDC_PROGRAMS).bottom + ChildRect(IDC_LOG).bottom, list.bottom + ChildRect(IDC_LOG).top);
    app.Command(IDM_STATUSBAR);
    EXPECT_TRUE(Visible(IDC_STATUSBAR));
}

TEST_F(ViewsTest, TextLabelsShrinkTheButtonsAndBringThemBack)
{
    HWND toolBar = app.Child(IDC_TOOLBAR);
    const int listTop = ChildRect(IDC_PROGRAMS).top;
    EXPECT_EQ(SendMessageA(toolBar, TB_GETBUTTONSIZE, 0, 0), MAKELONG(81, 41));
    app.Command(IDM_TEXTLABELS);
    EXPECT_EQ(SendMessageA(toolBar, TB_GETBUTTONSIZE, 0, 0), MAKELONG(28, 27));
    EXPECT_EQ(SendMessageA(toolBar, TB_GETTEXTROWS, 0, 0), 0);
    EXPECT_LT(ChildRect(IDC_PROGRAMS).top, listTop - 10);  // the toolbar fits the small buttons
    app.Command(IDM_TEXTLABELS);
    EXPECT_EQ(SendMessageA(toolBar, TB_GETBUTTONSIZE, 0, 0), MAKELONG(81, 41));
    EXPECT_EQ(SendMessageA(toolBar, TB_GETTEXTROWS, 0, 0), 1);
    EXPECT_EQ(ChildRect(IDC_PROGRAMS).top, listTop);
}

TEST_F(ViewsTest, ViewStylesAndTheViewsButtonCycle)
{
    EXPECT_EQ(ListStyle(), static_cast<DWORD>(LVS_REPORT));  // details until settings say otherwise
    app.Command(IDM_VIEWS);  // large icons checked at start: small icons next
    EXPECT_EQ(ListStyle(), static_cast<DWORD>(LVS_SMALLICON));
    app.Command(IDM_VIEWS);
    EXPECT_EQ(ListStyle(), static_cast<DWORD>(LVS_LIST));
    app.Command(IDM_VIEWS);
    EXPECT_EQ(ListStyle(), static_cast<DWORD>(LVS_REPORT));
    app.Command(IDM_VIEWS);
    EXPECT_EQ(ListStyle(), static_cast<DWORD>(LVS_ICON));
    app.Command(IDM_LIST);
    EXPECT_EQ(ListStyle(), static_cast<DWORD>(LVS_LIST));
    app.Command(IDM_VIEWS);
    EXPECT_EQ(ListStyle(), static_cast<DWORD>(LVS_REPORT));
    EXPECT_EQ(app.RowCount(), 2);  // the rows stay through every style
}

TEST_F(ViewsTest, HintOfTheButtonOrLogUnderThePointerGoesToTheFirstPanel)
{
    // Buttons 81 wide from the left; an 8-pixel separator after the fourth.
    EXPECT_TRUE(HintAt(IDC_TOOLBAR, {81 + 40, 20}, "Delete selected shortcut to add or remove application"))
        << app.StatusPanel(0);
    EXPECT_TRUE(HintAt(IDC_TOOLBAR, {6 * 81 + 8 + 20, 20}, "Choose view type")) << app.StatusPanel(0);
    EXPECT_TRUE(HintAt(IDC_LOG, {40, 40}, "Actions log")) << app.StatusPanel(0);
    EXPECT_TRUE(HintAt(IDC_PROGRAMS, {40, 60}, "")) << app.StatusPanel(0);
}

struct TipSearch {
    DWORD process;
    std::string text;
};

BOOL CALLBACK FindShownTip(HWND window, LPARAM found)
{
    auto* search = reinterpret_cast<TipSearch*>(found);
    char name[64];
    GetClassNameA(window, name, sizeof name);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == search->process && lstrcmpiA(name, TOOLTIPS_CLASSA) == 0 && IsWindowVisible(window))
        search->text = ControlText(window);
    return TRUE;
}

// A visible tooltip of the program's process and its text, or "" when none shows.
std::string ShownTip(const Quillet& app)
{
    TipSearch search{app.ProcessId(), {}};
    EnumWindows(FindShownTip, reinterpret_cast<LPARAM>(&search));
    return search.text;
}

// Each row says why it is good or bad, where the pointer rests on it: in the
// first panel and in its tooltip, in every view.
TEST_F(ViewsTest, ARowUnderThePointerTellsWhyItIsGoodOrBad)
{
    ASSERT_EQ(app.RowText(1, 0), "Gone");
    const std::string gone = "Bad: the folder does not exist: C:\\Nowhere";
    for (int view : {IDM_DETAILS, IDM_LARGEICONS, IDM_LIST}) {
        app.Command(view);
        const std::vector<RECT> rows = ItemRects(app, IDC_PROGRAMS, LVIR_ICON);
        ASSERT_EQ(rows.size(), 2u);
        const POINT middle{(rows[1].left + rows[1].right) / 2, (rows[1].top + rows[1].bottom) / 2};
        EXPECT_TRUE(HintAt(IDC_PROGRAMS, middle, gone)) << view << ": " << app.StatusPanel(0);
        EXPECT_TRUE(Quillet::WaitFor([&] { return ShownTip(app) == gone; }, 5000)) << view << ": " << ShownTip(app);
        const POINT editor{(rows[0].left + rows[0].right) / 2, (rows[0].top + rows[0].bottom) / 2};
        EXPECT_TRUE(HintAt(IDC_PROGRAMS, editor, "Good: the program is there: " + WindowsFile("notepad.exe")))
            << view << ": " << app.StatusPanel(0);
    }
}

TEST_F(ViewsTest, DelAndAltEnterDoNothingOnTheEntryBeingUninstalled)
{
    SeedUninstallKey({{"Slow", "Slow", TestProgram("qtest_console.exe") + " exit 0 4000"}});
    app.Command(IDM_REFRESH);
    ASSERT_EQ(app.RowCount(), 1);
    app.PressKey(VK_RETURN);
    ASSERT_TRUE(Quillet::WaitFor([&] { return app.StatusText() == "Adding or removing \"Slow\""; }));
    app.PressKey(VK_DELETE);
    EXPECT_EQ(app.WaitForMessageBox(1500), nullptr) << "Del acted on the running entry";
    SetForegroundWindow(app.Window());
    SendKeys({VK_MENU}, VK_RETURN);
    EXPECT_EQ(WaitForDialog(app, "Edit program properties", 1500), nullptr) << "Alt+Enter acted";
    // Once it has ended, Del asks again.
    ASSERT_TRUE(Quillet::WaitFor([&] { return app.StatusText() == "Ready..."; }, 20000));
    app.PressKey(VK_DELETE);
    HWND box = app.WaitForMessageBox(5000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(DialogText(box).substr(0, 8), "Confirm|");
    PostMessageA(box, WM_COMMAND, IDNO, 0);
}

TEST_F(ViewsTest, AboutBoxOpensCentredAndHidesWhenAnotherWindowIsActivated)
{
    app.Command(IDM_ABOUT);
    HWND about = nullptr;
    ASSERT_TRUE(Quillet::WaitFor([&] {
        about = FindWindowA("TAboutForm", "About");
        return about && IsWindowVisible(about);
    }));
    RECT r;
    GetWindowRect(about, &r);
    EXPECT_EQ(r.right - r.left, 299);
    EXPECT_EQ(r.bottom - r.top, 264);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 299) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 264) / 2);
    EXPECT_TRUE(GetWindowLongA(about, GWL_EXSTYLE) & WS_EX_TOPMOST);
    // The elliptic region: the corners are cut off.
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(about, region), ERROR);
    EXPECT_FALSE(PtInRegion(region, 2, 2));
    EXPECT_TRUE(PtInRegion(region, 149, 132));
    DeleteObject(region);

    // Each link's hint (its address) reaches the status bar under the pointer.
    int links = 0;
    for (HWND link = FindWindowExA(about, nullptr, "TSTCommandLabel", nullptr); link;
         link = FindWindowExA(about, link, "TSTCommandLabel", nullptr)) {
        RECT at;
        GetWindowRect(link, &at);
        char caption[256];
        GetWindowTextA(link, caption, sizeof caption);
        EXPECT_TRUE(PointAt({at.left + 4, at.top + 4},
                            [&] { return app.StatusPanel(0).find(caption) != std::string::npos; }))
            << caption << " / " << app.StatusPanel(0);
        ++links;
    }
    EXPECT_EQ(links, 2);

    SetForegroundWindow(app.Window());
    EXPECT_TRUE(Quillet::WaitFor([&] { return !IsWindowVisible(about); }, 5000)) << "still shown";
    EXPECT_TRUE(IsWindow(about));

    app.Command(IDM_ABOUT);
    EXPECT_TRUE(Quillet::WaitFor([&] { return IsWindowVisible(about) != FALSE; }));
    EXPECT_EQ(FindWindowA("TAboutForm", "About"), about);  // the same window
}

TEST_F(ViewsTest, StartWritesTheRegistrationRecord)
{
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Marrowby\\Quillet", 0, KEY_READ, &key), ERROR_SUCCESS);
    char path[MAX_PATH];
    DWORD type = 0, size = sizeof path;
    EXPECT_EQ(RegQueryValueExA(key, "Path", nullptr, &type, reinterpret_cast<BYTE*>(path), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    // Quillet.exe is built beside this test program.
    char exe[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, exe, sizeof exe);
    const std::string expected = std::string(exe, length).substr(0, std::string(exe).rfind('\\')) + "\\Quillet.exe";
    EXPECT_EQ(lstrcmpiA(path, expected.c_str()), 0) << path << " / " << expected;
    unsigned char lastRun[16];
    size = sizeof lastRun;
    EXPECT_EQ(RegQueryValueExA(key, "LastRun", nullptr, &type, lastRun, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(size, 8u);
    RegCloseKey(key);
}

}  // namespace
