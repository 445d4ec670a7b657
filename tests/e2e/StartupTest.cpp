#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <set>
#include <string>

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

// Where a DLL loaded in another process comes from, lower case; empty when it is not loaded.
std::string LoadedModulePath(DWORD processId, const char* dll)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process) return {};
    HMODULE modules[512];
    DWORD bytes = 0;
    std::string found;
    if (EnumProcessModules(process, modules, sizeof modules, &bytes)) {
        for (DWORD i = 0; i < bytes / sizeof(HMODULE) && found.empty(); ++i) {
            char path[MAX_PATH] = {};
            GetModuleFileNameExA(process, modules[i], path, MAX_PATH);
            const char* name = strrchr(path, '\\');
            if (name && lstrcmpiA(name + 1, dll) == 0) found = path;
        }
    }
    CloseHandle(process);
    for (char& c : found) c = char(tolower(static_cast<unsigned char>(c)));
    return found;
}

// The manifest's common-controls dependency fits this build's architecture:
// version 6 comes from the side-by-side assembly of the program's own
// architecture; a wrong one fails to start or falls back to the old controls.
TEST_F(StartupTest, RunsOnVersion6OfTheCommonControls)
{
    Quillet app;
    app.Start();
    const std::string assembly = std::string(sizeof(void*) == 8 ? "\\amd64_" : "\\x86_") +
                                 "microsoft.windows.common-controls_6595b64144ccf1df_6.0.";
    EXPECT_NE(LoadedModulePath(app.ProcessId(), "comctl32.dll").find(assembly), std::string::npos)
        << LoadedModulePath(app.ProcessId(), "comctl32.dll");
}

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
    ASSERT_TRUE(Quillet::WaitFor([&] { return IsIconic(app.AppWindow()) && !IsWindowVisible(app.Window()); }));

    EXPECT_EQ(Quillet::StartSecondCopy(20000), 0);
    EXPECT_TRUE(Quillet::WaitFor([&] { return !IsIconic(app.AppWindow()) && IsWindowVisible(app.Window()); }));
    EXPECT_EQ(MainWindows().size(), 1u);
    EXPECT_EQ(GetForegroundWindow(), app.Window());

    // A window already on screen keeps its state.
    SendMessageA(app.Window(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ASSERT_TRUE(Quillet::WaitFor([&] { return IsZoomed(app.Window()) != FALSE; }));
    EXPECT_EQ(Quillet::StartSecondCopy(20000), 0);
    EXPECT_TRUE(IsZoomed(app.Window()));
    EXPECT_EQ(MainWindows().size(), 1u);
}

TEST_F(StartupTest, TheTaskbarButtonIsAWindowOfItsOwnNamedQuilletThatOwnsTheMainWindow)
{
    Quillet app;
    app.Start();
    const HWND owner = app.AppWindow();
    ASSERT_NE(owner, nullptr) << "the main window has no owner";
    EXPECT_EQ(TaskbarWindows(app), std::vector<HWND>{owner});
    char caption[64];
    GetWindowTextA(owner, caption, sizeof caption);
    EXPECT_STREQ(caption, "Quillet");
    RECT r;
    GetWindowRect(owner, &r);
    EXPECT_TRUE(IsRectEmpty(&r)) << r.left << "," << r.top << "," << r.right << "," << r.bottom;

    // Picked on the taskbar or with Alt+Tab, it passes the activation on.
    SetForegroundWindow(owner);
    SendMessageA(owner, WM_NULL, 0, 0);
    EXPECT_TRUE(Quillet::WaitFor([&] { return GetForegroundWindow() == app.Window(); }))
        << "foreground: " << GetForegroundWindow();
    // The button's Close is the main window's.
    PostMessageA(owner, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(app.Exited(15000)) << "still running";
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
