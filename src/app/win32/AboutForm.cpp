#include "app/win32/AboutForm.h"

#include <shellapi.h>

#include "app/JpegPicture.h"
#include "app/MainFrm.h"
#include "common/win32/Resource.h"
#include "common/win32/Wide.h"

namespace quillet::win32 {

namespace {

HFONT Verdana(int height, bool bold, bool underline)
{
    return CreateFontA(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, underline, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Verdana");
}

// Short enough to end inside the badge's blue face at the link's place.
constexpr const char* kWebAddress = "https://marrowby.example/";
constexpr const char* kMailAddress = "quillet@marrowby.example";

// The picture resource decoded into a bitmap; null when it cannot be read.
HBITMAP LoadPicture()
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(IDR_ABOUTPICTURE), MAKEINTRESOURCEA(10));  // RT_RCDATA
    if (!found) return nullptr;
    const auto* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(instance, found)));
    const Picture picture = DecodeJpeg(bytes, SizeofResource(instance, found));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;  // top-down like the decoder's rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return nullptr;
    auto* out = static_cast<unsigned char*>(bits);
    for (size_t i = 0, n = static_cast<size_t>(picture.width) * picture.height; i < n; ++i) {
        out[i * 4] = picture.rgb[i * 3 + 2];
        out[i * 4 + 1] = picture.rgb[i * 3 + 1];
        out[i * 4 + 2] = picture.rgb[i * 3];
        out[i * 4 + 3] = 0;
    }
    return bitmap;
}

}  // namespace

// ---- TSTCommandLabel

TSTCommandLabel::TSTCommandLabel()
{
    normal_ = Make({11, RGB(0, 0, 255)});
    mouseOver_ = Make({11, RGB(255, 0, 0)});
    mouseDown_ = Make({11, CLR_DEFAULT});
}

TSTCommandLabel::Font TSTCommandLabel::Make(FontSpec style)
{
    Font font;
    font.font.reset(Verdana(style.height, false, true));
    font.colour = style.colour;
    return font;
}

bool TSTCommandLabel::Create(HWND parent, int x, int y, int id)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const std::wstring className = Wide(kClassName);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(instance, className.c_str(), &wc)) {
        wc.lpfnWndProc = &TSTCommandLabel::WindowProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32649));  // IDC_HAND
        wc.lpszClassName = className.c_str();
        if (!RegisterClassExW(&wc)) return false;
    }
    if (!CreateWindowExW(WS_EX_TRANSPARENT, className.c_str(), Wide(caption_).c_str(), WS_CHILD | WS_VISIBLE, x, y, 10, 10,
                         parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this))
        return false;
    AutoSize();
    return true;
}

void TSTCommandLabel::SetCaption(const std::string& caption)
{
    caption_ = caption;
    if (hwnd_) {
        SetWindowTextW(hwnd_, Wide(caption).c_str());
        AutoSize();
    }
}

void TSTCommandLabel::SetNormalFont(FontSpec style)
{
    normal_ = Make(style);
    Display(&normal_);
    AutoSize();
}

void TSTCommandLabel::AutoSize()
{
    if (!hwnd_) return;
    HDC dc = GetDC(hwnd_);
    HGDIOBJ old = SelectObject(dc, normal_.font.get());
    SIZE size{};
    GetTextExtentPoint32A(dc, caption_.c_str(), static_cast<int>(caption_.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
    SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TSTCommandLabel::Display(const Font* font)
{
    if (shown_ == font) return;
    shown_ = font;
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void TSTCommandLabel::Paint(HDC dc)
{
    // Transparent: the parent paints what lies behind us first.
    HWND parent = GetParent(hwnd_);
    POINT origin{0, 0};
    MapWindowPoints(hwnd_, parent, &origin, 1);
    POINT old;
    OffsetViewportOrgEx(dc, -origin.x, -origin.y, &old);
    SendMessageA(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    SetViewportOrgEx(dc, old.x, old.y, nullptr);

    HGDIOBJ oldFont = SelectObject(dc, shown_->font.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, shown_->colour == CLR_DEFAULT ? GetSysColor(COLOR_WINDOWTEXT) : shown_->colour);
    TextOutA(dc, 0, 0, caption_.c_str(), static_cast<int>(caption_.size()));
    SelectObject(dc, oldFont);
}

LRESULT TSTCommandLabel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        Paint(dc);
        EndPaint(hwnd_, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEMOVE:
        if (!tracking_) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
            tracking_ = TrackMouseEvent(&track) != FALSE;
            if (!pressed_) Display(&mouseOver_);
        }
        return 0;
    case WM_MOUSELEAVE:
        tracking_ = false;
        if (!pressed_) Display(&normal_);
        return 0;
    case WM_LBUTTONDOWN:
        pressed_ = true;
        SetCapture(hwnd_);
        Display(&mouseDown_);
        return 0;
    case WM_LBUTTONUP: {
        if (!pressed_) return 0;
        pressed_ = false;
        ReleaseCapture();
        Display(&normal_);
        RECT client;
        GetClientRect(hwnd_, &client);
        const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        // Released outside: no click.
        if (PtInRect(&client, at) && !Command.empty())
            ShellExecuteW(nullptr, nullptr, Wide(Command).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (pressed_) {
            pressed_ = false;
            Display(&normal_);
        }
        return 0;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

// ---- TAboutForm

TAboutForm::~TAboutForm()
{
    if (hwnd_) DestroyWindow(hwnd_);
}

bool TAboutForm::Create(HWND owner)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const std::wstring className = Wide(kClassName);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &TAboutForm::WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.lpszClassName = className.c_str();
    if (!GetClassInfoExW(instance, className.c_str(), &wc) && !RegisterClassExW(&wc)) return false;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    if (!CreateWindowExW(WS_EX_TOPMOST, className.c_str(), L"About", WS_POPUP | WS_CLIPCHILDREN, x, y, kWidth, kHeight,
                         owner, nullptr, instance, this))
        return false;
    FormCreate();
    return true;
}

void TAboutForm::FormCreate()
{
    SetWindowRgn(hwnd_, CreateEllipticRgn(0, 0, kWidth, kHeight), TRUE);
    picture_.reset(LoadPicture());
    label1Font_.reset(Verdana(13, false, false));
    label2Font_.reset(Verdana(19, true, false));
    label3Font_.reset(Verdana(13, true, false));

    const COLORREF white = RGB(255, 255, 255), red = RGB(255, 0, 0);
    web_.Create(hwnd_, 94, 168, 1);
    web_.Command = web_.Hint = kWebAddress;
    web_.SetCaption(kWebAddress);
    mail_.Create(hwnd_, 94, 192, 2);
    mail_.Command = mail_.Hint = std::string("mailto:") + kMailAddress;
    mail_.SetCaption(kMailAddress);
    for (TSTCommandLabel* link : {&web_, &mail_}) {
        link->SetNormalFont({11, white});
        link->SetMouseOverFont({11, red});
        link->SetMouseDownFont({11, red});
    }
}

void TAboutForm::Show()
{
    // Centred on the screen each time it shows.
    const int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    SetWindowPos(hwnd_, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
}

void TAboutForm::FormDeactivate() { ShowWindow(hwnd_, SW_HIDE); }

void TAboutForm::Paint(HDC dc)
{
    if (picture_) {
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, picture_.get());
        BitBlt(dc, 0, 0, kWidth, kHeight, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    HGDIOBJ old = SelectObject(dc, label1Font_.get());
    TextOutA(dc, 98, 64, "Freeware utility", 16);
    SelectObject(dc, label2Font_.get());
    RECT title{0, 88, 297, 137};
    const std::string name = std::string(kApplicationTitle) + "\r\n" + kVersionText;
    DrawTextA(dc, name.c_str(), -1, &title, DT_CENTER);
    SelectObject(dc, label3Font_.get());
    RECT third{0, 144, 297, 160};
    DrawTextA(dc, "Keeps the programs list tidy", -1, &third, DT_CENTER | DT_SINGLELINE);
    SelectObject(dc, old);
}

LRESULT TAboutForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        Paint(dc);
        EndPaint(hwnd_, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) FormDeactivate();
        return 0;
    case WM_CLOSE:
        FormDeactivate();  // closing hides: the next use shows this window again
        return 0;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

const std::string* TAboutForm::LinkHint(HWND control) const
{
    if (!control) return nullptr;
    if (control == web_.hwnd()) return &web_.Hint;
    if (control == mail_.hwnd()) return &mail_.Hint;
    return nullptr;
}

}  // namespace quillet::win32
