#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "common/win32/Resource.h"
#include "e2e/Fixture.h"

using namespace e2e;

namespace {

constexpr UINT kTrayCallback = WM_APP + 0x100;  // what the notification-area icon sends

// Where rows and headers are drawn: after every change each row has a place of
// its own in list order, and what a layout change moved is drawn anew.
struct Style {
    int command;
    const char* name;
    bool columnMajor;  // the list view fills columns top down; the others fill rows
};
constexpr Style kStyles[] = {{IDM_LARGEICONS, "large icons", false},
                             {IDM_SMALLICONS, "small icons", false},
                             {IDM_LIST, "list", true},
                             {IDM_DETAILS, "details", false}};

bool Before(const RECT& a, const RECT& b, bool columnMajor)
{
    if (columnMajor) return a.left < b.left || (a.left == b.left && a.top < b.top);
    return a.top < b.top || (a.top == b.top && a.left < b.left);
}

class PlacesTest : public QuilletTest {
protected:
    void SetUp() override
    {
        QuilletTest::SetUp();
        if (HasFatalFailure()) return;
        std::vector<Entry> entries;
        for (char c = 'a'; c <= 'p'; ++c) entries.push_back({std::string("k") + c, std::string("Entry ") + c, good});
        // Sorts last; ends on its own soon after it starts.
        entries.push_back({"job", "zz job", TestProgram("qtest_console.exe") + " exit 0 300"});
        SeedUninstallKey(entries);
        app.Start();
    }

    void ExpectOwnPlaces(const Style& style, const char* step)
    {
        SCOPED_TRACE(std::string(style.name) + ", after " + step);
        const std::vector<RECT> icons = ItemRects(app, IDC_PROGRAMS, LVIR_ICON);
        ASSERT_EQ(static_cast<int>(icons.size()), app.RowCount());
        for (size_t i = 0; i < icons.size(); ++i) {
            for (size_t j = i + 1; j < icons.size(); ++j) {
                RECT common;
                EXPECT_FALSE(IntersectRect(&common, &icons[i], &icons[j])) << "rows " << i << " and " << j;
            }
            if (i + 1 < icons.size()) {
                EXPECT_TRUE(Before(icons[i], icons[i + 1], style.columnMajor))
                    << "row " << i + 1 << " at " << icons[i + 1].left << "," << icons[i + 1].top << ", row " << i
                    << " at " << icons[i].left << "," << icons[i].top;
            }
        }
        const int focused = app.FocusedRow();
        if (focused < 0) return;
        RECT client, shown;
        GetClientRect(app.Child(IDC_PROGRAMS), &client);
        EXPECT_TRUE(IntersectRect(&shown, &client, &icons[focused])) << "focused row " << focused << " off screen";
    }

    void AddEntry(const std::string& name)
    {
        PostCommand(app, IDM_NEW);
        HWND dialog = WaitForDialog(app, "New shortcut");
        ASSERT_NE(dialog, nullptr);
        SetControlText(GetDlgItem(dialog, IDC_PROP_DISPLAY), name);
        SetControlText(GetDlgItem(dialog, IDC_PROP_UNINSTALL), good);
        const int rows = app.RowCount();
        PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        ASSERT_TRUE(Quillet::WaitFor([&] { return app.RowCount() == rows + 1; }));
    }

    void DeleteFocused()
    {
        const int rows = app.RowCount();
        PostCommand(app, IDM_DELETE);
        HWND box = WaitForDialog(app, "Confirm");
        ASSERT_NE(box, nullptr);
        PostMessageA(box, WM_COMMAND, IDYES, 0);
        ASSERT_TRUE(Quillet::WaitFor([&] { return app.RowCount() == rows - 1; }));
    }

    void RunJobToItsEnd()
    {
        app.PressKey(VK_END);
        ASSERT_TRUE(Quillet::WaitFor([&] { return app.FocusedRow() == app.RowCount() - 1; }));
        app.PressKey(VK_RETURN);
        ASSERT_TRUE(Quillet::WaitFor([&] { return app.StatusText() != "Ready..."; }));
        ASSERT_TRUE(Quillet::WaitFor([&] { return app.StatusText() == "Ready..."; }, 20000));
    }

    // The screen once two looks in a row agree: the program has painted what it had to.
    static std::vector<COLORREF> SettledPixels(HWND window, const RECT& area)
    {
        std::vector<COLORREF> last = ScreenPixels(window, area), now;
        Quillet::WaitFor([&] {
            Sleep(150);
            now = ScreenPixels(window, area);
            return std::exchange(last, now) == now;
        }, 5000);
        return last;
    }

    // What the screen shows of a window is what a fresh paint of it and its children draws.
    void ExpectDrawnAsFresh(HWND window, const char* what)
    {
        SCOPED_TRACE(what);
        ASSERT_TRUE(BringToFront(app));
        RECT area;
        GetClientRect(window, &area);
        const std::vector<COLORREF> shown = SettledPixels(window, area);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        const std::vector<COLORREF> fresh = SettledPixels(window, area);
        ASSERT_EQ(shown.size(), fresh.size());
        size_t differing = 0;
        for (size_t i = 0; i < shown.size(); ++i) differing += shown[i] != fresh[i];
        EXPECT_EQ(differing, 0u);
    }

    // The log's three columns share its client width, with no horizontal scroll bar.
    void ExpectLogColumnsFill(const char* step)
    {
        SCOPED_TRACE(step);
        HWND log = app.Child(IDC_LOG);
        RECT client;
        GetClientRect(log, &client);
        int sum = 0;
        for (int column = 0; column < 3; ++column) sum += ListView_GetColumnWidth(log, column);
        EXPECT_EQ(sum, client.right);
        EXPECT_FALSE(GetWindowLongA(log, GWL_STYLE) & WS_HSCROLL);
    }

    const std::string good = WindowsFile("notepad.exe");
    Quillet app;
};

TEST_F(PlacesTest, EveryRowKeepsItsOwnPlaceInEveryViewThroughReloadsAndEdits)
{
    for (const Style& style : kStyles) {
        app.Command(style.command);
        ExpectOwnPlaces(style, "the switch");
        app.Command(IDM_REFRESH);
        ExpectOwnPlaces(style, "F5");
        AddEntry(std::string("New ") + style.name);
        if (HasFatalFailure()) return;
        ExpectOwnPlaces(style, "New");
        DeleteFocused();
        if (HasFatalFailure()) return;
        ExpectOwnPlaces(style, "Delete");
        app.Command(IDM_REVERSED);
        ExpectOwnPlaces(style, "a sort");
        app.Command(IDM_REVERSED);
        RunJobToItsEnd();
        if (HasFatalFailure()) return;
        ExpectOwnPlaces(style, "a job's end");
    }
}

TEST_F(PlacesTest, NewEntriesIntoAnEmptyListEachGetTheirOwnPlace)
{
    SeedUninstallKey({});
    for (const Style& style : {kStyles[0], kStyles[1]}) {
        app.Command(style.command);
        app.Command(IDM_REFRESH);
        ASSERT_EQ(app.RowCount(), 0);
        for (const char* name : {"One", "Two", "Three"}) {
            AddEntry(std::string(name) + " " + style.name);
            if (HasFatalFailure()) return;
        }
        ExpectOwnPlaces(style, "three New into an empty list");
        SeedUninstallKey({});
    }
}

TEST_F(PlacesTest, AResizeAndTheTrayMenusReloadWhileHiddenKeepThePlacesInTheIconViews)
{
    RECT frame;
    GetWindowRect(app.Window(), &frame);
    for (const Style& style : {kStyles[0], kStyles[1]}) {
        app.Command(style.command);
        app.PressKey(VK_END);
        for (int grow : {-250, 0}) {
            SetWindowPos(app.Window(), nullptr, 0, 0, frame.right - frame.left + grow, frame.bottom - frame.top,
                         SWP_NOMOVE | SWP_NOZORDER);
            ExpectOwnPlaces(style, grow ? "a narrower window" : "the width back");
        }
        SendMessageA(app.Window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(Quillet::WaitFor([&] { return !IsWindowVisible(app.Window()); }));
        ASSERT_TRUE(TrayMenuKeys(app, {VK_ESCAPE})) << "no menu opened";
        PostMessageA(TrayWindow(app), kTrayCallback, 0, WM_LBUTTONDBLCLK);
        ASSERT_TRUE(Quillet::WaitFor([&] { return IsWindowVisible(app.Window()) && !IsIconic(app.AppWindow()); }));
        ExpectOwnPlaces(style, "the tray menu's reload while hidden");
    }
}

TEST_F(PlacesTest, ToolbarAndLabelsSwitchedBackDrawTheHeaderWhereTheListsClientAreaIs)
{
    HWND list = app.Child(IDC_PROGRAMS);
    HWND header = ListView_GetHeader(list);
    ASSERT_TRUE(BringToFront(app));
    for (int command : {IDM_TOOLBAR, IDM_TEXTLABELS}) {
        SCOPED_TRACE(command == IDM_TOOLBAR ? "toolbar" : "text labels");
        app.Command(command);
        app.Command(command);
        RECT client;
        GetClientRect(list, &client);
        const RECT at = RectIn(header, list);
        EXPECT_EQ(at.top, 0);
        EXPECT_EQ(at.left, 0);
        EXPECT_GE(at.right, client.right);
        EXPECT_EQ(ItemRects(app, IDC_PROGRAMS, LVIR_BOUNDS)[0].top, at.bottom);

        ExpectDrawnAsFresh(list, "the list");
    }
}

TEST_F(PlacesTest, DeleteBadKeepsThePlacesAndTheLogColumnsFillItsWidthAsRecordsComeAndGoAndTheWindowResizes)
{
    std::vector<Entry> entries;
    for (char c = 'a'; c <= 'h'; ++c) {
        entries.push_back({std::string("bad") + c, std::string("Gone ") + c, "C:\\Nowhere\\x.exe"});
        if (c <= 'd') entries.push_back({std::string("good") + c, std::string("Good ") + c, good});
    }
    SeedUninstallKey(entries);
    app.Command(IDM_LARGEICONS);
    app.Command(IDM_REFRESH);
    ExpectLogColumnsFill("the start");

    PostCommand(app, IDM_DELETEBAD);
    HWND box = WaitForDialog(app, "Confirm");
    ASSERT_NE(box, nullptr);
    PostMessageA(box, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(Quillet::WaitFor([&] { return app.LogRowCount() == 8; }));
    ExpectOwnPlaces(kStyles[0], "Delete bad");
    ASSERT_TRUE(GetWindowLongA(app.Child(IDC_LOG), GWL_STYLE) & WS_VSCROLL) << "too few records to scroll";
    ExpectLogColumnsFill("records came");

    RECT frame;
    GetWindowRect(app.Window(), &frame);
    for (int grow : {-150, 200}) {
        SetWindowPos(app.Window(), nullptr, 0, 0, frame.right - frame.left + grow, frame.bottom - frame.top,
                     SWP_NOMOVE | SWP_NOZORDER);
        ExpectLogColumnsFill(grow < 0 ? "narrower" : "wider");
        ExpectDrawnAsFresh(app.Window(), grow < 0 ? "narrower" : "wider");
    }

    PostCommand(app, IDM_CLEARLOG);
    box = WaitForDialog(app, "Confirm");
    ASSERT_NE(box, nullptr);
    PostMessageA(box, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(Quillet::WaitFor([&] { return app.LogRowCount() == 0; }));
    ExpectLogColumnsFill("the log was cleared");
}

}  // namespace
