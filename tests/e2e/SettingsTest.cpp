#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <fstream>

#include "common/win32/Resource.h"
#include "e2e/Driver.h"
#include "e2e/Fixture.h"

using namespace e2e;

namespace {

using Texts = std::vector<std::string>;

class SettingsTest : public QuilletTest {
protected:
    void SetUp() override
    {
        QuilletTest::SetUp();
        SeedUninstallKey({
            {"k3", "Alpha", WindowsFile("notepad.exe")},
            {"k1", "Beta", WindowsFile("notepad.exe")},
            {"k2", "Gamma", WindowsFile("notepad.exe")},
        });
        DeleteFileA(Quillet::SettingsPath().c_str());
    }
    void TearDown() override { DeleteFileA(Quillet::SettingsPath().c_str()); }

    static std::string FileText() { return ReadFileBytes(Quillet::SettingsPath()); }
    static void WriteFile(const std::string& text)
    {
        std::ofstream(Quillet::SettingsPath(), std::ios::binary) << text;
    }
    static RECT Rect(HWND window)
    {
        RECT r;
        GetWindowRect(window, &r);
        return r;
    }
    static int Width(const Quillet& app, int list, int column)
    {
        return static_cast<int>(SendMessageA(app.Child(list), LVM_GETCOLUMNWIDTH, column, 0));
    }
    static DWORD StyleOf(const Quillet& app)
    {
        return static_cast<DWORD>(GetWindowLongA(app.Child(IDC_PROGRAMS), GWL_STYLE)) & LVS_TYPEMASK;
    }
    // Del on the focused row, answered Yes: one record in the log.
    static void DeleteFocusedRow(Quillet& app)
    {
        const int rows = app.RowCount();
        ASSERT_TRUE(FocusRow(app, 0));
        app.PressKey(VK_DELETE);
        HWND box = WaitForDialog(app, "Confirm");
        ASSERT_NE(box, nullptr);
        PostMessageA(box, WM_COMMAND, IDYES, 0);
        ASSERT_TRUE(Quillet::WaitFor([&] { return app.RowCount() == rows - 1; }));
    }
    static void CloseAndWait(Quillet& app)
    {
        app.Close();
        ASSERT_TRUE(app.Exited(15000));
    }
};

TEST_F(SettingsTest, CloseAndRestartRestoresPositionSizesSortAndLog)
{
    // A hand-written log: repeated time texts, the mark inside a comment.
    WriteFile("[Main]\r\nLogHeight=140\r\n[Log]\r\n"
              "08.12.2026 10:00:00=1;Second;x\xFE" "c\xFE" "d\r\n"
              "08.12.2026 10:00:00=0;First\xFE\r\n"
              "07.12.2026 09:00:00=0;Oldest\r\n");
    {
        Quillet app;
        app.KeepSettings = true;
        app.Start();
        ASSERT_EQ(app.LogRowCount(), 3);
        app.Command(IDM_DETAILS);  // the widths belong to the details view
        SetWindowPos(app.Window(), nullptr, 40, 30, 700, 520, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageA(app.Child(IDC_PROGRAMS), LVM_SETCOLUMNWIDTH, 1, 170);
        SendMessageA(app.Child(IDC_LOG), LVM_SETCOLUMNWIDTH, 0, 130);
        app.Command(IDM_SORTSUBKEY);
        app.Command(IDM_REVERSED);
        ASSERT_EQ(app.Column(2), (Texts{"k3", "k2", "k1"}));
        app.Command(IDM_LIST);
        app.Command(IDM_STATUSBAR);
        CloseAndWait(app);
    }
    EXPECT_EQ(Ini("Main", "NormPos"), "40,30,740,550");
    EXPECT_EQ(Ini("Main", "Visible"), "0");
    EXPECT_EQ(Ini("Main", "CmdLiNeWidth"), "170");
    EXPECT_EQ(Ini("View", "SortOn"), "2");
    EXPECT_EQ(Ini("View", "Ascending"), "0");
    EXPECT_EQ(Ini("View", "ViewType"), "2");
    EXPECT_EQ(Ini("View", "StatusBar"), "0");
    // Three lines back, newest first, one per record although two keys repeat.
    EXPECT_NE(FileText().find("[Log]\r\n08.12.2026 10:00:00=1;Second;x\xFE" "c\xFE" "d\r\n"
                              "08.12.2026 10:00:00=0;First\xFE\r\n07.12.2026 09:00:00=0;Oldest\xFE"),
              std::string::npos)
        << FileText();

    Quillet again;
    again.KeepSettings = true;
    again.Start();
    EXPECT_EQ(StyleOf(again), static_cast<DWORD>(LVS_LIST));
    const RECT r = Rect(again.Window());
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(r.right, 740);
    EXPECT_EQ(r.bottom, 550);
    again.Command(IDM_DETAILS);
    EXPECT_EQ(Width(again, IDC_PROGRAMS, 1), 170);
    EXPECT_EQ(Width(again, IDC_LOG, 0), 130);
    RECT log;
    GetWindowRect(again.Child(IDC_LOG), &log);
    EXPECT_EQ(log.bottom - log.top, 140);
    EXPECT_EQ(again.Column(2), (Texts{"k3", "k2", "k1"}));
    EXPECT_FALSE(IsWindowVisible(again.Child(IDC_STATUSBAR)));
    EXPECT_TRUE(IsWindowVisible(again.Child(IDC_TOOLBAR)));
    ASSERT_EQ(again.LogRowCount(), 3);
    EXPECT_EQ(again.LogText(0, 0), "08.12.2026 10:00:00");
    EXPECT_EQ(again.LogText(0, 2), "c\xC3\xBE" "d");  // the byte 0xFE in the ANSI file
    EXPECT_EQ(again.LogText(1, 1), "First");
    EXPECT_EQ(again.LogText(2, 1), "Oldest");
}

TEST_F(SettingsTest, FileExitWritesTheSettingsAndTheLogAsACloseDoes)
{
    {
        Quillet app;
        app.KeepSettings = true;  // none yet
        app.Start();
        CloseAndWait(app);
    }
    ASSERT_EQ(Ini("Main", "NameWidth"), "200");
    ASSERT_EQ(Ini("View", "ViewType"), "0");  // no file: large icons
    Quillet app;
    app.KeepSettings = true;
    app.Start();
    EXPECT_EQ(StyleOf(app), static_cast<DWORD>(LVS_ICON));
    app.Command(IDM_DETAILS);
    app.Command(IDM_TOOLBAR);
    SetWindowPos(app.Window(), nullptr, 100, 80, 660, 500, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(app.Child(IDC_PROGRAMS), LVM_SETCOLUMNWIDTH, 0, 90);
    app.Command(IDM_SORTSUBKEY);
    DeleteFocusedRow(app);
    app.Command(IDM_EXIT);
    ASSERT_TRUE(app.Exited(15000));
    EXPECT_EQ(Ini("Main", "NormPos"), "100,80,760,580");
    EXPECT_EQ(Ini("Main", "Visible"), "0");  // as a close writes it
    EXPECT_EQ(Ini("Main", "NameWidth"), "90");
    EXPECT_EQ(Ini("View", "SortOn"), "2");
    EXPECT_EQ(Ini("View", "ViewType"), "3");
    EXPECT_EQ(Ini("View", "ToolBar"), "0");
    EXPECT_NE(FileText().find("application deleted!"), std::string::npos);
}

// Logging off ends the program without a close: the run's records are written first.
TEST_F(SettingsTest, EndOfTheSessionWritesTheLog)
{
    for (const UINT message : {WM_QUERYENDSESSION, WM_ENDSESSION}) {
        SCOPED_TRACE(message);
        DeleteFileA(Quillet::SettingsPath().c_str());
        Quillet app;
        app.KeepSettings = true;
        app.Start();
        DeleteFocusedRow(app);
        ASSERT_EQ(FileText().find("application deleted!"), std::string::npos);
        const LRESULT answer = SendMessageA(app.Window(), message, TRUE, ENDSESSION_LOGOFF);
        if (message == WM_QUERYENDSESSION) {
            EXPECT_EQ(answer, TRUE);
        }
        EXPECT_NE(FileText().find("application deleted!"), std::string::npos);
        EXPECT_EQ(Ini("Main", "NameWidth"), "200");
        CloseAndWait(app);
    }
}

TEST_F(SettingsTest, AWindowMadeSmallKeepsTheLogHeightTheUserSet)
{
    Quillet app;
    app.KeepSettings = true;
    app.Start();
    const auto logHeight = [&] {
        RECT r = Rect(app.Child(IDC_LOG));
        return r.bottom - r.top;
    };
    const RECT normal = Rect(app.Window());
    ASSERT_EQ(logHeight(), 102);
    SetWindowPos(app.Window(), nullptr, 0, 0, 320, 240, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_LT(logHeight(), 102);  // fitted while small
    SetWindowPos(app.Window(), nullptr, 0, 0, normal.right - normal.left, normal.bottom - normal.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(logHeight(), 102);
    CloseAndWait(app);
    EXPECT_EQ(Ini("Main", "LogHeight"), "102");
}

TEST_F(SettingsTest, PositionFromAnotherPixelDensityIsIgnored)
{
    WriteFile("[Main]\r\nPixelsPerInch=1\r\nNormPos=10,10,400,300\r\n");
    Quillet app;
    app.KeepSettings = true;
    app.Start();
    const RECT r = Rect(app.Window());
    EXPECT_NE(r.left, 10);
    // Centred on the screen.
    EXPECT_LE(std::abs((r.left + r.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2), 1);
}

TEST_F(SettingsTest, RefusedWriteOnCloseIsShownOnceAndTheProgramCloses)
{
    // A folder where the file should be: every write is refused.
    ASSERT_TRUE(CreateDirectoryA(Quillet::SettingsPath().c_str(), nullptr));
    Quillet app;
    app.KeepSettings = true;
    app.Start();
    app.Close();
    HWND box = app.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(DialogText(box), "Quillet|Unable to write to " + Quillet::SettingsPath() + ".");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(app.Exited(15000)) << "a second box: " << DialogText(app.WaitForMessageBox(500));
    RemoveDirectoryA(Quillet::SettingsPath().c_str());
}

}  // namespace
