#include "runner/win32/AHMLed.h"

namespace quillet::win32 {

namespace {
constexpr const char* kClass = "TAHMLed";
constexpr UINT_PTR kBlinkTimer = 1;
}  // namespace

void TAHMLed::Create(HWND parent, int x, int y)
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);
    window_ = CreateWindowExA(0, kClass, "", WS_CHILD | WS_VISIBLE, x, y, kSize, kSize, parent, nullptr, instance,
                              nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void TAHMLed::SetLedisOn(bool on)
{
    on_ = on;
    InvalidateRect(window_, nullptr, TRUE);
}

void TAHMLed::SetBlinking(bool blinking)
{
    blinking_ = blinking;
    if (blinking) SetTimer(window_, kBlinkTimer, Interval, nullptr);
    else KillTimer(window_, kBlinkTimer);
}

void TAHMLed::Paint(HDC dc) const
{
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(128, 128, 128));
    HBRUSH brush = CreateSolidBrush(on_ ? LedOnColor : LedOffColor);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    Ellipse(dc, 2, 2, 14, 14);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
    static constexpr POINT kHighlight[] = {{6, 5}, {7, 5}, {8, 5}, {5, 6}, {5, 7}, {5, 8}, {6, 6}, {6, 7}, {7, 6}};
    for (const POINT& p : kHighlight) SetPixel(dc, p.x, p.y, LedShadow);
}

LRESULT CALLBACK TAHMLed::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* led = reinterpret_cast<TAHMLed*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        if (led) led->Paint(dc);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_TIMER:
        if (led && wParam == kBlinkTimer) led->SetLedisOn(!led->on_);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace quillet::win32
