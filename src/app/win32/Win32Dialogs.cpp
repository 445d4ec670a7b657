#include "app/win32/Win32Dialogs.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>

#include <vector>

#include "app/MainFrm.h"
#include "app/win32/QueueCommands.h"
#include "common/win32/CentredBox.h"
#include "common/win32/DialogParts.h"
#include "common/win32/Resource.h"
#include "editing/win32/PropertiesDialog.h"
#include "catalogue/Find.h"
#include "editing/Backup.h"
#include "log/ActionsLog.h"

namespace quillet::win32 {

namespace {

struct EditLogState {
    const LogRecord* record;
    std::string comment;
    HFONT bold;
    PageBackground page;
};

INT_PTR CALLBACK EditLogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* state = reinterpret_cast<EditLogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        state = reinterpret_cast<EditLogState*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        // At its own place on the screen, not centred.
        SetWindowPos(dialog, nullptr, 594, 252, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        AddGeneralPage(dialog, IDC_PAGES);
        state->bold = MakeBold(dialog, {IDOK, IDCANCEL, IDC_TIMELABEL, IDC_MSGLABEL, IDC_COMMENTLABEL});
        SetItemText(dialog, IDC_TIME, state->record->time);
        SetItemText(dialog, IDC_MSG, state->record->message);
        SetItemText(dialog, IDC_COMMENT, state->record->comment);
        // Once shown and active, the keyboard goes to the comment.
        PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_COMMENT)), TRUE);
        return FALSE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            state->comment = ItemText(dialog, IDC_COMMENT);
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    case WM_CTLCOLORSTATIC:
        if (state) {
            HWND page = GetDlgItem(dialog, IDC_PAGES);
            if (HBRUSH brush = state->page.For(page, reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)))
                return reinterpret_cast<INT_PTR>(brush);
        }
        break;
    case WM_THEMECHANGED:
    case WM_SYSCOLORCHANGE:
        if (state) state->page.Reset();
        break;
    case WM_DESTROY:
        if (state && state->bold) DeleteObject(state->bold);
        break;
    }
    return FALSE;
}

INT_PTR CALLBACK FindProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* form = reinterpret_cast<TFindForm*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        form = reinterpret_cast<TFindForm*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        CheckRadioButton(dialog, IDC_SEARCHSHORTCUTS, IDC_SEARCHLOG,
                         form->SearchType == kSearchLog ? IDC_SEARCHLOG : IDC_SEARCHSHORTCUTS);
        HWND edit = GetDlgItem(dialog, IDC_FINDEDIT);
        SetText(edit, form->Edit);
        // Typing replaces the last search text.
        SetFocus(edit);
        SendMessageA(edit, EM_SETSEL, 0, -1);
        return FALSE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            form->Edit = ItemText(dialog, IDC_FINDEDIT);
            form->SearchType = IsDlgButtonChecked(dialog, IDC_SEARCHLOG) == BST_CHECKED ? kSearchLog : kSearchShortcuts;
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {  // the button, Escape and the close box
            // The dialog is kept between uses: its box keeps what was typed.
            form->Edit = ItemText(dialog, IDC_FINDEDIT);
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

INT_PTR CALLBACK SearchResultProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* form = reinterpret_cast<TSearchResultForm*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        form = reinterpret_cast<TSearchResultForm*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        HWND list = GetDlgItem(dialog, IDC_RESULTLIST);
        for (const std::string& line : form->List)
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(line).c_str()));
        SendMessageA(list, LB_SETCURSEL, form->ItemIndex, 0);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_RESULTLIST:
            if (HIWORD(wParam) != LBN_DBLCLK) break;
            [[fallthrough]];  // a double click acts as OK
        case IDOK:
            form->ItemIndex = static_cast<int>(SendDlgItemMessageA(dialog, IDC_RESULTLIST, LB_GETCURSEL, 0, 0));
            EndDialog(dialog, IDOK);
            return TRUE;
        case IDC_RESULTCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        case IDCANCEL:
            return TRUE;  // Escape: this dialog has no key for it
        }
        break;
    case WM_CLOSE:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

bool Win32Dialogs::Execute(SaveDialog& dialog)
{
    // "description|pattern|..." becomes the NUL-separated list the platform reads.
    std::wstring filter = Wide(dialog.Filter);
    for (wchar_t& c : filter)
        if (c == L'|') c = L'\0';
    filter += std::wstring(2, L'\0');
    // The platform appends an extension given without "*." or ".".
    std::string extension = dialog.DefaultExt;
    while (!extension.empty() && (extension[0] == '*' || extension[0] == '.')) extension.erase(0, 1);

    const std::wstring proposed = Wide(dialog.FileName);
    const std::wstring initialDir = Wide(dialog.InitialDir);
    const std::wstring defaultExt = Wide(extension);
    std::vector<wchar_t> name(32768, L'\0');
    proposed.copy(name.data(), std::min(proposed.size(), name.size() - 1));
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner_;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
    ofn.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
    // The current directory stays the system directory, where relative names are looked for.
    ofn.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR |
                (dialog.OverwritePrompt ? OFN_OVERWRITEPROMPT : 0) | (dialog.HideReadOnly ? OFN_HIDEREADONLY : 0) |
                (dialog.EnableSizing ? OFN_ENABLESIZING : 0);
    if (!GetSaveFileNameW(&ofn)) return false;
    dialog.FileName = Utf8(name.data());
    return true;
}

bool Win32Dialogs::ShowFindForm(TFindForm& form)
{
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_FIND), owner_, FindProc,
                           reinterpret_cast<LPARAM>(&form)) == IDOK;
}

bool Win32Dialogs::ShowSearchResultForm(TSearchResultForm& form)
{
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SEARCHRESULT), owner_, SearchResultProc,
                           reinterpret_cast<LPARAM>(&form)) == IDOK;
}

void Win32Dialogs::ShowFailure(const std::string& text)
{
    ShowCentredBox(owner_, text, kApplicationTitle, MB_OK | MB_ICONERROR);
}

void Win32Dialogs::ShowInformation(const std::string& text)
{
    ShowCentredBox(owner_, text, "Information", MB_OK | MB_ICONINFORMATION);
}

void Win32Dialogs::ShowErrorBox(const std::string& text)
{
    ShowCentredBox(owner_, text, "Error", MB_OK | MB_ICONERROR);
}

bool Win32Dialogs::Confirm(const std::string& text)
{
    return ShowCentredBox(owner_, text, "Confirm", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1, true) == IDYES;
}

bool Win32Dialogs::ConfirmQueue(const std::string& text, bool& quietly)
{
    return ShowQueueDialog(owner_, text, quietly);
}

bool Win32Dialogs::EditLog(const LogRecord& record, std::string& comment)
{
    EditLogState state{&record, comment, nullptr, {}};
    const INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_EDITLOG), owner_,
                                           EditLogProc, reinterpret_cast<LPARAM>(&state));
    if (result != IDOK) return false;
    comment = std::move(state.comment);
    return true;
}

bool Win32Dialogs::ShowProperties(TPropertiesForm& form) { return ShowPropertiesDialog(owner_, form); }

}  // namespace quillet::win32
