// The application's window: the taskbar button, minimising and restoring the application, activation passed on.
#include "app/win32/ApplicationWindow.h"

#include "common/win32/Resource.h"
#include "common/win32/Wide.h"

namespace quillet::win32 {

namespace {

constexpr UINT kSync = WM_APP + 1;

}  // namespace

ApplicationWindow::~ApplicationWindow()
{
    if (hwnd_) DestroyWindow(hwnd_);
}

bool ApplicationWindow::Create(const std::string& title)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &ApplicationWindow::WindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_QUILLET));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUILLET), IMAGE_ICON, 16, 16, 0));
    wc.lpszClassName = kClassName;
    if (!RegisterClassExW(&wc)) return false;

    // No size, so nothing of it is ever drawn; a popup, so that no minimum
    // size is forced on it. At the primary screen's corner, not off the
    // screen: Wine maps only a window on the screen, and an unmapped one
    // gives a Linux desktop's taskbar no entry.
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS | WS_VISIBLE;
    return CreateWindowExW(0, kClassName, Wide(title).c_str(), style, 0, 0, 0, 0, nullptr, nullptr, instance, this) !=
           nullptr;
}

void ApplicationWindow::Minimize()
{
    if (!hwnd_) return;
    if (!IsIconic(hwnd_)) ShowWindow(hwnd_, SW_MINIMIZE);
    Sync();
}

void ApplicationWindow::Restore()
{
    if (!hwnd_ || !IsIconic(hwnd_)) return;
    ShowWindow(hwnd_, SW_RESTORE);  // shows it too when it was hidden
    Sync();
}

bool ApplicationWindow::TakeSysCommand(WPARAM command)
{
    if ((command & 0xFFF0) == SC_MINIMIZE) {
        Minimize();
        return true;
    }
    if ((command & 0xFFF0) == SC_RESTORE && Minimised()) {
        Restore();
        return true;
    }
    return false;
}

void ApplicationWindow::ShowButton(bool shown)
{
    if (hwnd_ && shown != (IsWindowVisible(hwnd_) != FALSE)) ShowWindow(hwnd_, shown ? SW_SHOWNA : SW_HIDE);
}

void ApplicationWindow::Sync()
{
    const bool iconic = IsIconic(hwnd_) != FALSE;
    const bool changed = iconic != minimised_;
    minimised_ = iconic;
    if (iconic) {
        // Minimised too, then hidden: a restore brings it back as it stood,
        // maximised or not.
        if (main_ && IsWindowVisible(main_)) {
            if (!IsIconic(main_)) ShowWindow(main_, SW_SHOWMINNOACTIVE);
            ShowWindow(main_, SW_HIDE);
        }
        if (changed && OnMinimize) OnMinimize();
        return;
    }
    if (!changed) return;
    if (main_) ShowWindow(main_, SW_RESTORE);
    if (OnRestore) OnRestore();
}

LRESULT ApplicationWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SYSCOMMAND:
        // The taskbar button's clicks and its menu; a restore that finds
        // nothing minimised changes nothing.
        if (TakeSysCommand(wParam) || (wParam & 0xFFF0) == SC_RESTORE) return 0;
        break;
    case WM_SIZE:
        // Minimised or restored by someone else's ShowWindow: followed once that call is over.
        PostMessageW(hwnd_, kSync, 0, 0);
        return 0;
    case kSync:
        Sync();
        return 0;
    case WM_SETFOCUS:
        // Chosen on the taskbar or with Alt+Tab: the user means the main window, or the box it has open.
        if (main_) {
            const HWND target = GetLastActivePopup(main_);
            if (IsWindowVisible(target) && IsWindowEnabled(target)) SetFocus(target);
        }
        return 0;
    case WM_CLOSE:
        // The main window's own close, with its question during a job.
        if (main_) SendMessageW(main_, WM_CLOSE, 0, 0);
        return 0;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace quillet::win32
