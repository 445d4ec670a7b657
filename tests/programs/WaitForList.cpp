// Waits until a Quillet window is visible and its status bar shows the counts
// of a filled list, then prints them; exits with 1 after the time limit.
// scripts/run uses it to take its screenshot only once there is a list to see.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// The status bar lives in Quillet's process: its text is read through a buffer made there.
std::string StatusPanel(HWND window, int panel)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (!process) return {};
    std::string text;
    HWND bar = GetDlgItem(window, 3004);
    void* remote = VirtualAllocEx(process, nullptr, 1024, MEM_COMMIT, PAGE_READWRITE);
    if (remote && LOWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, panel, 0)) < 1023) {
        char buffer[1024] = {};
        SendMessageA(bar, SB_GETTEXTA, panel, reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process, remote, buffer, sizeof buffer - 1, nullptr);
        text = buffer;
    }
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return text;
}

}  // namespace

// Usage: qwait_list [SECONDS [DESKTOP]]; a desktop's windows are seen only from inside it.
int main(int argc, char** argv)
{
    const DWORD limitMs = (argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 60) * 1000;
    const DWORD start = GetTickCount();
    // The desktop comes into being with Quillet's start: wait for it too.
    while (argc > 2) {
        HDESK desktop = OpenDesktopA(argv[2], 0, FALSE, GENERIC_ALL);
        if (desktop && SetThreadDesktop(desktop)) break;
        if (GetTickCount() - start > limitMs) {
            std::fprintf(stderr, "cannot enter the desktop %s\n", argv[2]);
            return 1;
        }
        Sleep(100);
    }
    std::string counts;
    for (;;) {
        HWND window = FindWindowA("TMain", nullptr);
        if (window && IsWindowVisible(window)) {
            counts = StatusPanel(window, 1);
            if (counts.rfind("Shortcuts / Bad shortcuts: ", 0) == 0) {
                // Let it handle what is queued (its paint among it) before the picture.
                DWORD_PTR answer = 0;
                SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
                std::printf("%s\n", counts.c_str());
                return 0;
            }
        }
        if (GetTickCount() - start > limitMs) {
            std::fprintf(stderr, "no filled list within %lu s (status: \"%s\")\n", limitMs / 1000, counts.c_str());
            return 1;
        }
        Sleep(100);
    }
}
