#pragma once
#include <windows.h>
#include <commctrl.h>

#include <initializer_list>
#include <string>

#include "common/win32/Handles.h"
#include "common/win32/Wide.h"

// What the program's dialogs share: the one "General" page, bold labels and
// buttons over plain fields, and reading a control's text.
namespace quillet::win32 {

inline std::string WindowText(HWND control)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return Utf8(text);
}

inline void SetText(HWND control, const std::string& text) { SetWindowTextW(control, Wide(text).c_str()); }
inline void SetItemText(HWND dialog, int id, const std::string& text) { SetText(GetDlgItem(dialog, id), text); }

inline std::string ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

inline void AddGeneralPage(HWND dialog, int tabControlId)
{
    TCITEMA page{};
    page.mask = TCIF_TEXT;
    page.pszText = const_cast<char*>("General");
    SendDlgItemMessageA(dialog, tabControlId, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&page));
}

// Gives the controls a bold form of the dialog's font; the caller deletes it.
inline HFONT MakeBold(HWND dialog, std::initializer_list<int> ids)
{
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
    font.lfWeight = FW_BOLD;
    HFONT bold = CreateFontIndirectA(&font);
    for (int id : ids) SendDlgItemMessageA(dialog, id, WM_SETFONT, reinterpret_cast<WPARAM>(bold), FALSE);
    return bold;
}

// The labels on the "General" page stand on the page, not on the dialog: under
// a visual style the page is white while the dialog's own brush is grey. The
// page is drawn once into a bitmap, and each label fills itself with its part
// of that picture.
class PageBackground {
public:
    // For WM_CTLCOLORSTATIC: the brush for a label on the page, null otherwise
    // (read-only fields keep their usual colours).
    HBRUSH For(HWND page, HWND control, HDC dc)
    {
        char kind[16] = "";
        GetClassNameA(control, kind, sizeof kind);
        if (!page || lstrcmpiA(kind, "Static") != 0) return nullptr;
        RECT label, onPage;
        GetWindowRect(control, &label);
        GetWindowRect(page, &onPage);
        if (!IntersectRect(&onPage, &onPage, &label) || !EqualRect(&onPage, &label)) return nullptr;
        if (!brush_) Paint(page);
        if (!brush_) return nullptr;
        POINT origin{0, 0};
        MapWindowPoints(control, page, &origin, 1);
        SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
        SetBkMode(dc, TRANSPARENT);
        return static_cast<HBRUSH>(brush_.get());
    }
    // The page looks different after a change of theme or colours.
    void Reset()
    {
        brush_.reset();
        picture_.reset();
    }

private:
    void Paint(HWND page)
    {
        RECT client;
        GetClientRect(page, &client);
        if (client.right <= 0 || client.bottom <= 0) return;
        HDC screen = GetDC(page);
        HDC memory = CreateCompatibleDC(screen);
        picture_.reset(CreateCompatibleBitmap(screen, client.right, client.bottom));
        ReleaseDC(page, screen);
        HGDIOBJ old = SelectObject(memory, picture_.get());
        FillRect(memory, &client, GetSysColorBrush(COLOR_BTNFACE));
        SendMessageA(page, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT | PRF_ERASEBKGND);
        SelectObject(memory, old);
        DeleteDC(memory);
        brush_.reset(CreatePatternBrush(static_cast<HBITMAP>(picture_.get())));
    }

    GdiObject picture_, brush_;
};

}  // namespace quillet::win32
