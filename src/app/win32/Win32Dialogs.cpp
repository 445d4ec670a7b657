#include "app/win32/Win32Dialogs.h"

#include <commctrl.h>

#include "app/MainFrm.h"
#include "app/win32/Resource.h"
#include "editing/win32/PropertiesDialog.h"
#include "log/ActionsLog.h"

namespace quillet::win32 {

namespace {

// The box being opened on this thread: centred on the screen, and for a
// Yes/No question Escape (and the close command) answers No.
thread_local HHOOK boxHook = nullptr;
thread_local bool escapeAnswersNo = false;

LRESULT CALLBACK EscapeIsNo(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(box, IDNO);
        return 0;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(box, EscapeIsNo, 1);
    return DefSubclassProc(box, message, wParam, lParam);
}

void CentreOnScreen(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    SetWindowPos(window, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK BoxHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wParam);
        CentreOnScreen(box);
        if (escapeAnswersNo) SetWindowSubclass(box, EscapeIsNo, 1, 0);
        UnhookWindowsHookEx(boxHook);
        boxHook = nullptr;
        return 0;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

int ShowBox(HWND owner, const std::string& text, const char* title, UINT type, bool question = false)
{
    escapeAnswersNo = question;
    boxHook = SetWindowsHookExA(WH_CBT, BoxHook, nullptr, GetCurrentThreadId());
    const int result = MessageBoxA(owner, text.c_str(), title, type);
    if (boxHook) {
        UnhookWindowsHookEx(boxHook);
        boxHook = nullptr;
    }
    return result;
}

struct EditLogState {
    const LogRecord* record;
    std::string comment;
    HFONT bold;
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
        TCITEMA page{};
        page.mask = TCIF_TEXT;
        page.pszText = const_cast<char*>("General");
        SendDlgItemMessageA(dialog, IDC_PAGES, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&page));
        // Labels and buttons bold, fields plain.
        LOGFONTA font{};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
        font.lfWeight = FW_BOLD;
        state->bold = CreateFontIndirectA(&font);
        for (int id : {IDOK, IDCANCEL, IDC_TIMELABEL, IDC_MSGLABEL, IDC_COMMENTLABEL})
            SendDlgItemMessageA(dialog, id, WM_SETFONT, reinterpret_cast<WPARAM>(state->bold), FALSE);
        SetDlgItemTextA(dialog, IDC_TIME, state->record->time.c_str());
        SetDlgItemTextA(dialog, IDC_MSG, state->record->message.c_str());
        SetDlgItemTextA(dialog, IDC_COMMENT, state->record->comment.c_str());
        // Once shown and active, the keyboard goes to the comment.
        PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_COMMENT)), TRUE);
        return FALSE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            HWND edit = GetDlgItem(dialog, IDC_COMMENT);
            std::string text(GetWindowTextLengthA(edit) + 1, '\0');
            text.resize(GetWindowTextA(edit, text.data(), static_cast<int>(text.size())));
            state->comment = std::move(text);
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    case WM_DESTROY:
        if (state && state->bold) DeleteObject(state->bold);
        break;
    }
    return FALSE;
}

}  // namespace

void Win32Dialogs::ShowFailure(const std::string& text)
{
    ShowBox(owner_, text, kApplicationTitle, MB_OK | MB_ICONERROR);
}

void Win32Dialogs::ShowInformation(const std::string& text)
{
    ShowBox(owner_, text, "Information", MB_OK | MB_ICONINFORMATION);
}

void Win32Dialogs::ShowErrorBox(const std::string& text) { ShowBox(owner_, text, "Error", MB_OK | MB_ICONERROR); }

bool Win32Dialogs::Confirm(const std::string& text)
{
    return ShowBox(owner_, text, "Confirm", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1, true) == IDYES;
}

bool Win32Dialogs::EditLog(const LogRecord& record, std::string& comment)
{
    EditLogState state{&record, comment, nullptr};
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_EDITLOG), owner_,
                                           EditLogProc, reinterpret_cast<LPARAM>(&state));
    if (result != IDOK) return false;
    comment = std::move(state.comment);
    return true;
}

bool Win32Dialogs::ShowProperties(TPropertiesForm& form) { return ShowPropertiesDialog(owner_, form); }

int ShowCentredBox(HWND owner, const std::string& text, const char* title, UINT type, bool question)
{
    return ShowBox(owner, text, title, type, question);
}

}  // namespace quillet::win32
