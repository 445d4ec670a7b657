#pragma once
#include <windows.h>

namespace quillet::win32 {

// The status lamp: a 15 x 15 circle, lit in the highlight colour while an
// uninstall runs, dark in the button-face colour otherwise.
class TAHMLed {
public:
    static constexpr int kSize = 15;

    void Create(HWND parent, int x, int y);
    HWND Handle() const { return window_; }
    void Move(int x, int y) const { SetWindowPos(window_, nullptr, x, y, kSize, kSize, SWP_NOZORDER | SWP_NOACTIVATE); }

    bool LedisOn() const { return on_; }
    void SetLedisOn(bool on);
    void SetBlinking(bool blinking);

    COLORREF LedOnColor = GetSysColor(COLOR_HIGHLIGHT);
    COLORREF LedOffColor = GetSysColor(COLOR_BTNFACE);
    COLORREF LedShadow = RGB(255, 255, 255);
    UINT Interval = 200;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint(HDC dc) const;

    HWND window_ = nullptr;
    bool on_ = false;
    bool blinking_ = false;
};

}  // namespace quillet::win32
