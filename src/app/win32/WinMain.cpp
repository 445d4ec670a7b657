#include <windows.h>
#include <commctrl.h>

#include "app/MainFrm.h"
#include "app/win32/MainWindow.h"
#include "cli/win32/ConsoleMain.h"
#include "common/win32/SafeProcess.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand)
{
    wchar_t startDir[MAX_PATH * 4] = L"";  // for the command line's relative names; loads nothing
    GetCurrentDirectoryW(MAX_PATH * 4, startDir);
    quillet::win32::MakeProcessSafe();  // first: nothing may load from our folder or the one we were started in
    // A command (/list, /backup, ...) runs without a window, beside any running copy.
    int exitCode = 0;
    if (quillet::win32::RunCommandLine(startDir, exitCode)) return exitCode;
    // Held, never closed, until the process ends: it is the single-instance guard.
    CreateMutexA(nullptr, FALSE, quillet::kInstanceName);
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        // Wake the first copy. Synchronous for every live window; a hung one
        // is skipped rather than waited on forever.
        // Windows lets the first copy come forward only when we allow it.
        DWORD first = 0;
        if (HWND window = FindWindowA(quillet::win32::MainWindow::kClassName, nullptr))
            GetWindowThreadProcessId(window, &first);
        AllowSetForegroundWindow(first ? first : ASFW_ANY);
        const UINT message = RegisterWindowMessageA(quillet::kInstanceName);
        DWORD_PTR result;
        SendMessageTimeoutA(HWND_BROADCAST, message, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, 10000, &result);
        return 0;
    }

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    quillet::win32::MainWindow window;
    if (!window.Create(showCommand)) return 0;

    MSG msg;
    for (;;) {
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            window.OnIdle();
            // Step by step, each as long as no message waits.
            while (window.IdleStep() && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            }
        }
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) break;
        if (msg.hwnd && (msg.hwnd == window.hwnd() || IsChild(window.hwnd(), msg.hwnd)) &&
            TranslateAcceleratorW(window.hwnd(), window.Accelerators(), &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
