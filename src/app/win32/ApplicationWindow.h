// The application's window: never drawn, it owns the main window and carries the taskbar button.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "common/win32/Window.h"

namespace quillet::win32 {

// An invisible top-level window that owns the main window, so that the
// taskbar button and Alt+Tab show the application title, not the main
// window's caption. Minimising the application makes this window iconic and
// hides the main window; restoring it shows the main window again.
class ApplicationWindow : public Window<ApplicationWindow> {
public:
    static constexpr const wchar_t* kClassName = L"QuilletApplication";

    ApplicationWindow() = default;
    ~ApplicationWindow();
    ApplicationWindow(const ApplicationWindow&) = delete;
    ApplicationWindow& operator=(const ApplicationWindow&) = delete;

    // Created shown (with a taskbar button), but of no size.
    bool Create(const std::string& title);
    // The window it owns: activation and closes are passed on to it.
    void SetMainWindow(HWND main) { main_ = main; }

    void Minimize();
    // Does nothing unless the application is minimised.
    void Restore();
    bool Minimised() const { return hwnd_ && IsIconic(hwnd_); }
    // The main window's minimise, and its restore while the application is
    // minimised, act on the application; true when the command was taken.
    bool TakeSysCommand(WPARAM command);
    static bool Minimising(int showCommand)
    {
        return showCommand == SW_MINIMIZE || showCommand == SW_SHOWMINIMIZED || showCommand == SW_SHOWMINNOACTIVE ||
               showCommand == SW_FORCEMINIMIZE;
    }
    // The taskbar button, taken away while the program sits in the notification area.
    void ShowButton(bool shown);

    std::function<void()> OnMinimize;
    std::function<void()> OnRestore;

private:
    friend class Window<ApplicationWindow>;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Brings the main window and the events in line with this window's state.
    void Sync();

    HWND main_ = nullptr;
    bool minimised_ = false;
};

}  // namespace quillet::win32
