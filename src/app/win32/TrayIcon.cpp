#include "app/win32/TrayIcon.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "common/win32/Wide.h"

namespace quillet::win32 {

TRxTrayIcon::~TRxTrayIcon() { Destroy(); }

void TRxTrayIcon::Create(HICON icon, std::function<std::vector<HICON>()> loadFrames)
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = &TRxTrayIcon::WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);
    // A top-level window that is never shown: it must be able to become the
    // foreground window for the menu to close on a click elsewhere.
    window_ = CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                              nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    icon_ = icon;
    loadFrames_ = std::move(loadFrames);

    std::lock_guard<std::mutex> guard(lock_);
    data_.cbSize = sizeof data_;
    data_.hWnd = window_;
    data_.uID = 0;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = kCallbackMessage;
    data_.hIcon = icon_;
}

void TRxTrayIcon::Show()
{
    std::lock_guard<std::mutex> guard(lock_);
    if (!window_ || added_) return;
    // Without a taskbar yet the add fails: the shell's restart message adds it later.
    added_ = Update(NIM_ADD);
}

void TRxTrayIcon::ShellRestarted()
{
    std::lock_guard<std::mutex> guard(lock_);
    if (!window_) return;
    // A broadcast while our icon still stands: the add fails, the icon is there.
    const bool had = added_;
    added_ = Update(NIM_ADD) || (had && Update(NIM_MODIFY));
}

void TRxTrayIcon::Destroy()
{
    StopTimer();
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (added_) Update(NIM_DELETE);
        added_ = false;
    }
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
    for (HICON frame : frames_) DestroyIcon(frame);
    frames_.clear();
}

bool TRxTrayIcon::Update(DWORD action)
{
    data_.hIcon = animated_ && !frames_.empty() ? frames_[frame_ < static_cast<int>(frames_.size()) ? frame_ : 0]
                                                : icon_;
    const std::wstring tip = Wide(TrayTip(hint_));
    std::memset(data_.szTip, 0, sizeof data_.szTip);
    tip.copy(data_.szTip, std::min<size_t>(tip.size(), 63));  // at most 63 and a zero
    if (action != NIM_ADD && !added_) return false;
    return Shell_NotifyIconW(action, &data_) != FALSE;
}

void TRxTrayIcon::SetHint(const std::string& hint)
{
    std::lock_guard<std::mutex> guard(lock_);
    if (hint == hint_) return;
    hint_ = hint;
    Update(NIM_MODIFY);
}

void TRxTrayIcon::SetAnimated(bool animated)
{
    if (animated && loadFrames_) {
        std::vector<HICON> frames = std::exchange(loadFrames_, nullptr)();
        std::lock_guard<std::mutex> guard(lock_);
        frames_ = std::move(frames);
    }
    if (frames_.empty()) return;
    if (!animated) StopTimer();
    std::lock_guard<std::mutex> guard(lock_);
    frame_ = 0;
    if (animated && !animated_) {
        animated_ = true;
        if (timer_.joinable()) timer_.join();
        timer_ = std::thread([this] { Run(); });
    }
    Update(NIM_MODIFY);
}

void TRxTrayIcon::StopTimer()
{
    {
        std::lock_guard<std::mutex> guard(lock_);
        animated_ = false;
    }
    wake_.notify_all();
    if (timer_.joinable()) timer_.join();
}

void TRxTrayIcon::Run()
{
    std::unique_lock<std::mutex> guard(lock_);
    while (animated_) {
        wake_.wait_for(guard, std::chrono::milliseconds(Interval));
        if (!animated_) break;
        frame_ = NextTrayFrame(frame_, static_cast<int>(frames_.size()));
        Update(NIM_MODIFY);
    }
}

LRESULT CALLBACK TRxTrayIcon::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<TRxTrayIcon*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && message == kCallbackMessage) {
        self->OnMouse(static_cast<UINT>(lParam));
        return 0;
    }
    if (self && message == WM_MENUSELECT && self->OnMenuSelect) {
        self->OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void TRxTrayIcon::OnMouse(UINT message)
{
    switch (message) {
    case WM_RBUTTONDOWN:
        rightDown_ = true;
        break;
    case WM_RBUTTONUP:
        // Both halves of the click on the icon.
        if (rightDown_) ShowMenu();
        rightDown_ = false;
        break;
    case WM_LBUTTONDBLCLK:
        // The menu has no default item, so the double-click is the handler's.
        if (OnDblClick) OnDblClick();
        break;
    }
}

void TRxTrayIcon::ShowMenu()
{
    if (!PopupMenu) return;
    HMENU menu = PopupMenu();
    if (!menu) return;
    POINT at;
    GetCursorPos(&at);
    SetForegroundWindow(window_);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    const int command = TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0,
                                       window_, nullptr);
    SetForegroundWindow(window_);
    PostMessageA(window_, WM_NULL, 0, 0);
    DestroyMenu(menu);
    if (command && OnCommand) OnCommand(command);
}

}  // namespace quillet::win32
