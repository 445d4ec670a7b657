// Message boxes centred on the screen, for every part of the program that asks or tells.
#include "common/win32/CentredBox.h"

#include <commctrl.h>

#include "common/win32/Wide.h"

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

}  // namespace

int ShowCentredBox(HWND owner, const std::string& text, const char* title, UINT type, bool question)
{
    escapeAnswersNo = question;
    boxHook = SetWindowsHookExA(WH_CBT, BoxHook, nullptr, GetCurrentThreadId());
    const int result = MessageBoxW(owner, Wide(text).c_str(), Wide(title).c_str(), type);
    if (boxHook) {
        UnhookWindowsHookEx(boxHook);
        boxHook = nullptr;
    }
    return result;
}

}  // namespace quillet::win32
