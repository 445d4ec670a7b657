#pragma once
#include <windows.h>

#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

// Drives a running Quillet.exe from outside, as a user's tools would: window
// messages, and buffers made inside its process to read its controls.
namespace e2e {

inline const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

struct Entry {
    std::string subkey, name, command;
};

// The Uninstall key emptied, then filled with these entries.
void SeedUninstallKey(const std::vector<Entry>& entries);
void DeleteEntry(const std::string& subkey);
std::string WindowsFile(const char* name);  // a file that exists in the prefix
// The prefix is 64-bit Windows, as the prefix says: Quillet lists both registry
// views, shows the Platform column and backs the 32-bit view up below Wow6432Node.
bool Windows64();
// What a backup adds after the 64-bit view's entries when the 32-bit view has none.
std::string EmptyBackupSection32();
// A test program built beside Quillet.exe, quoted, for use in a command line.
std::string TestProgram(const char* name);

class Quillet {
public:
    Quillet() = default;
    ~Quillet();
    Quillet(const Quillet&) = delete;
    Quillet& operator=(const Quillet&) = delete;

    // Starts the program and waits for its main window and its first list.
    void Start();
    // Only starts the process; Start is Launch, WaitForWindow, WaitForList.
    void Launch();
    void WaitForWindow();
    void WaitForList();
    // A message box of this process, or null when none shows within the time.
    HWND WaitForMessageBox(DWORD timeoutMs = 10000) const;
    // Starts another copy and returns its exit code (or -1 when it hangs).
    static long StartSecondCopy(DWORD timeoutMs);
    void Close();

    HWND Window() const { return window_; }
    // The window that owns the main window and carries the taskbar button;
    // a minimised Quillet is this window iconic, the main window hidden.
    HWND AppWindow() const { return GetWindow(window_, GW_OWNER); }
    HWND Child(int id) const { return GetDlgItem(window_, id); }
    std::string StatusPanel(int panel) const;
    int RowCount() const;
    std::string RowText(int row, int column) const;
    int FocusedRow() const;
    // Posts a key to the program list as the keyboard would deliver it.
    void PressKey(WORD key) const;
    // Clicks the middle of a column's header with the mouse.
    void ClickHeader(int column) const;
    // A header item's format flags and image index.
    std::pair<int, int> HeaderImage(int column) const;
    // Sends a menu command as choosing the item would.
    void Command(int id) const { SendMessageA(window_, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    std::vector<std::string> Column(int column) const;
    int LogRowCount() const;
    std::string LogText(int row, int column) const;
    std::string StatusText() const;
    // The status lamp's fill colour, read from the screen.
    COLORREF LampColor() const;
    // Waits until the predicate holds, pumping nothing of ours; false on timeout.
    template <class Predicate>
    static bool WaitFor(Predicate predicate, DWORD timeoutMs = 10000)
    {
        const DWORD start = GetTickCount();
        while (!predicate()) {
            if (GetTickCount() - start > timeoutMs) return false;
            Sleep(20);
        }
        return true;
    }
    DWORD ProcessId() const { return process_.dwProcessId; }
    // The settings file beside the executable. Unless kept, Launch replaces it
    // by one whose view style names no style: the list starts in its design
    // style (details) with the design's check marks, as if nothing were stored.
    static std::string SettingsPath();
    bool KeepSettings = false;
    // Started as from a desktop, not with the test's console: a console
    // program it starts then opens a window of its own, as for a user.
    bool FromTheDesktop = false;
    bool Exited(DWORD timeoutMs) const { return WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0; }

private:
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

// Texts are UTF-8 in the tests, as in the program.
std::wstring Utf16(const std::string& utf8);
std::string Utf8(const wchar_t* text);

// Top-level windows of the main-window class, in any process.
std::vector<HWND> MainWindows();
// The caption and the static texts of a dialog, as "caption|text".
std::string DialogText(HWND dialog);
// Seeds one entry with raw values of any type.
void SeedRawEntry(const std::string& subkey, DWORD nameType, const std::string& name, DWORD commandType,
                  const std::string& command);

// Text of a row of any list view of the program (the log is control 3003).
std::string ListText(const Quillet& app, int listId, int row, int column);
// The picture a row of the program list shows: its index in the list's images.
int RowImage(const Quillet& app, int row);
// Presses a key with modifiers through the system's input queue, so that the
// program's accelerators see the modifier state. The window must be in front.
void SendKeys(std::initializer_list<WORD> held, WORD key);
// A visible dialog of the program with that caption, or null after the time.
HWND WaitForDialog(const Quillet& app, const char* caption, DWORD timeoutMs = 10000);

}  // namespace e2e

// Helpers shared by tests that follow a user through several steps: what they
// read outside the window, and a few more ways of driving it.

namespace e2e {

// The folder of Quillet.exe as Windows names it, with its trailing backslash.
std::string ExeDirectory();
// A file's bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);
// An entry's subkey exists below the Uninstall key.
bool KeyExists(const std::string& subkey);
// A key of Quillet's settings file, "<none>" when missing.
std::string Ini(const char* section, const char* key);
// A string value of a subkey below the Uninstall key as stored, "<none>" when missing.
std::string StoredValue(const std::string& subkey, const char* name);
// Writes a string value below the Uninstall key, creating the subkey path.
void SeedValue(const std::string& subkeyPath, const char* name, const std::string& value);
// The direct subkeys of the Uninstall key in the registry's enumeration order.
std::vector<std::string> UninstallSubkeys();
// Everything below the Uninstall key, read with the registry's own calls:
// subkey path ("a\\b") -> value name -> type and bytes.
using RegistryTree = std::map<std::string, std::map<std::string, std::string>>;
RegistryTree ReadUninstallTree();
// The text of another process's control, and setting it.
std::string ControlText(HWND control);
void SetControlText(HWND control, const std::string& text);
// Brings the main window in front, as keys through the input queue need; false after the time.
bool BringToFront(const Quillet& app);
// Posts a menu command, as choosing the item would, for commands that open a modal window.
void PostCommand(const Quillet& app, int id);
// Moves the program list's focus to a row with the keyboard; false when it did not get there.
bool FocusRow(const Quillet& app, int row);
// The column whose header shows the sort arrow: its bitmap differs from the
// other two, which show the same blank one; -1 when no column does.
int ArrowColumn(const Quillet& app);
// The program's windows that have a taskbar button (and an Alt+Tab entry):
// visible top-level ones that are either marked as application windows, or
// unowned and not tool windows.
std::vector<HWND> TaskbarWindows(const Quillet& app);
// The notification-area icon's hidden window in the program's process, or null.
HWND TrayWindow(const Quillet& app);
// What the shell sends for a right click on the icon, then these keys to the
// menu that opens; false when no menu opened.
bool TrayMenuKeys(const Quillet& app, const std::vector<WORD>& keys);

}  // namespace e2e

// Where the drawing lands, read from outside.
namespace e2e {

// Each row's rectangle (LVIR_BOUNDS, LVIR_ICON, ...) in a list view of the program, in its client coordinates.
std::vector<RECT> ItemRects(const Quillet& app, int listId, int part);
// A window's rectangle in the client coordinates of another.
RECT RectIn(HWND window, HWND client);
// The pixels the screen shows in a rectangle of a window's client area, row by row.
std::vector<COLORREF> ScreenPixels(HWND window, const RECT& area);

}  // namespace e2e
