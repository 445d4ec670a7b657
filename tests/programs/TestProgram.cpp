// A stand-in for an uninstaller, built twice: as a console program and as a
// window program. Arguments:
//   exit CODE [MS]          wait MS milliseconds, then exit with CODE
//   window MS               show a window, wait for input for MS milliseconds, exit 0
//   uninstall SUBKEY [MS]   wait MS, delete the entry's key from the Uninstall key, exit 0
// Words before the first of these are skipped: the pieces of an unquoted
// program path with blanks. With QUILLET_TEST_MARKER set, the program first
// appends its own path to that file, so a test sees which copy ran.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int Window(DWORD ms)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QuilletTestProgram";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, "Test uninstaller", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                  100, nullptr, nullptr, wc.hInstance, nullptr);
    SetTimer(window, 1, ms, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER) break;
        DispatchMessageA(&msg);
    }
    DestroyWindow(window);
    return 0;
}

void Mark()
{
    char marker[MAX_PATH], self[MAX_PATH];
    if (!GetEnvironmentVariableA("QUILLET_TEST_MARKER", marker, MAX_PATH)) return;
    const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
    HANDLE file = CreateFileA(marker, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written;
    WriteFile(file, self, length, &written, nullptr);
    WriteFile(file, "\r\n", 2, &written, nullptr);
    CloseHandle(file);
}

int Run(int argc, char** argv)
{
    Mark();
    const auto mode = [](const char* word) {
        for (const char* known : {"exit", "window", "uninstall"})
            if (std::strcmp(word, known) == 0) return true;
        return false;
    };
    while (argc > 1 && !mode(argv[1])) {
        --argc;
        ++argv;
    }
    if (argc >= 3 && std::strcmp(argv[1], "exit") == 0) {
        if (argc >= 4) Sleep(std::atoi(argv[3]));
        return std::atoi(argv[2]);
    }
    if (argc >= 3 && std::strcmp(argv[1], "window") == 0) return Window(std::atoi(argv[2]));
    if (argc >= 3 && std::strcmp(argv[1], "uninstall") == 0) {
        if (argc >= 4) Sleep(std::atoi(argv[3]));
        const std::string key = std::string("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + argv[2];
        return RegDeleteTreeA(HKEY_LOCAL_MACHINE, key.c_str()) == ERROR_SUCCESS ? 0 : 1;
    }
    return 2;
}

}  // namespace

int main(int argc, char** argv) { return Run(argc, argv); }
