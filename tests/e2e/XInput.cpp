#include "e2e/XInput.h"

namespace e2e {

namespace {

// Wine's own way of starting a Linux program (found on PATH), waiting for it
// when asked; 0 when it ran and exited with 0.
using Spawn = LONG(WINAPI*)(char* const argv[], int wait);

Spawn UnixSpawn()
{
    return reinterpret_cast<Spawn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "__wine_unix_spawnvp")));
}

// Every Wine's ntdll says its version; Windows' has no such export.
bool UnderWine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

bool Run(std::vector<std::string> argv)
{
    const Spawn spawn = UnixSpawn();
    if (!spawn) return false;
    std::vector<char*> pointers;
    for (std::string& a : argv) pointers.push_back(a.data());
    pointers.push_back(nullptr);
    return spawn(pointers.data(), 1) == 0;
}

// Wine's name of a Windows path on the Linux side; empty when it has none.
std::string UnixName(const wchar_t* path)
{
    using ToUnix = char*(CDECL*)(const wchar_t*);
    const auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    char* name = toUnix ? toUnix(path) : nullptr;
    if (!name) return {};
    std::string unix(name);
    HeapFree(GetProcessHeap(), 0, name);
    return unix;
}

}  // namespace

std::string UnixOutput(const std::vector<std::string>& argv)
{
    wchar_t folder[MAX_PATH], file[MAX_PATH];
    if (!GetTempPathW(MAX_PATH, folder) || !GetTempFileNameW(folder, L"qx", 0, file)) return {};
    std::string output;
    const std::string unix = UnixName(file);
    std::vector<std::string> shell{"/bin/sh", "-c", "exec \"$@\" >\"$0\"", unix};
    shell.insert(shell.end(), argv.begin(), argv.end());
    if (!unix.empty() && Run(shell)) {
        const HANDLE h = CreateFileW(file, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        char buffer[4096];
        DWORD read = 0;
        while (h != INVALID_HANDLE_VALUE && ReadFile(h, buffer, sizeof buffer, &read, nullptr) && read)
            output.append(buffer, read);
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
    DeleteFileW(file);
    return output;
}

std::string XInputMissing()
{
    if (!UnderWine()) return "real X input needs Wine: this is not Wine";
    // Under Wine the tests must run: a Wine that cannot start xdotool fails them.
    if (!UnixSpawn()) return "this Wine's ntdll lacks __wine_unix_spawnvp: X input cannot be given";
    if (!Run({"/bin/sh", "-c", "command -v xdotool >/dev/null"})) return "xdotool is missing: run scripts/setup";
    return {};
}

bool XDo(const std::vector<std::string>& args)
{
    std::vector<std::string> argv{"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    return Run(argv);
}

bool XClick(POINT screen, int button)
{
    return XDo({"mousemove", "--sync", std::to_string(screen.x), std::to_string(screen.y), "click",
                std::to_string(button)});
}

bool XKeys(const std::vector<std::string>& keys)
{
    std::vector<std::string> args{"key", "--delay", "50"};
    args.insert(args.end(), keys.begin(), keys.end());
    return XDo(args);
}

bool Answers(HWND window, DWORD timeoutMs)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

POINT ScreenMiddle(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

POINT ScreenMiddle(HWND window, const RECT& client)
{
    POINT p{(client.left + client.right) / 2, (client.top + client.bottom) / 2};
    ClientToScreen(window, &p);
    return p;
}

}  // namespace e2e
