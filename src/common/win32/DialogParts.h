#pragma once
#include <windows.h>
#include <commctrl.h>

#include <initializer_list>
#include <string>

// What the program's dialogs share: the one "General" page, bold labels and
// buttons over plain fields, and reading a control's text.
namespace quillet::win32 {

inline std::string WindowText(HWND control)
{
    std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

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

}  // namespace quillet::win32
