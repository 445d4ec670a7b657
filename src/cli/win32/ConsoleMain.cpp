#include "cli/win32/ConsoleMain.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "app/win32/MainWindow.h"
#include "app/win32/RecordsMessage.h"
#include "app/win32/Win32Profile.h"
#include "catalogue/win32/Win32FileSystem.h"
#include "catalogue/win32/Win32Registry.h"
#include "catalogue/win32/Win32UserAccounts.h"
#include "cli/ConsoleRun.h"
#include "common/win32/Wide.h"
#include "common/win32/Win32Locale.h"
#include "common/win32/Wow64.h"
#include "editing/win32/Win32FileWriter.h"

namespace quillet::win32 {

namespace {

bool Usable(HANDLE handle) { return handle && handle != INVALID_HANDLE_VALUE; }

// Standard output and error as given (a pipe or a file when redirected);
// otherwise the console of the program that started us, if it has one.
class Win32Console : public ConsoleOutput {
public:
    Win32Console() : out_(GetStdHandle(STD_OUTPUT_HANDLE)), err_(GetStdHandle(STD_ERROR_HANDLE))
    {
        if (Usable(out_) && Usable(err_)) return;
        if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
        console_ = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
        if (!Usable(out_)) out_ = console_;
        if (!Usable(err_)) err_ = console_;
    }
    ~Win32Console() override
    {
        if (Usable(console_)) CloseHandle(console_);
    }
    Win32Console(const Win32Console&) = delete;
    Win32Console& operator=(const Win32Console&) = delete;

    void Out(const std::string& text) override { Write(out_, text); }
    void Err(const std::string& text) override { Write(err_, text); }

private:
    static void Write(HANDLE handle, const std::string& text)
    {
        if (!Usable(handle) || text.empty()) return;
        DWORD mode = 0, written = 0;
        // A console shows UTF-16 whatever its code page; a file or a pipe gets UTF-8.
        if (GetConsoleMode(handle, &mode)) {
            std::wstring wide = Wide(text);
            for (size_t at = 0; at < wide.size(); at += written) {
                const DWORD part = static_cast<DWORD>(std::min<size_t>(wide.size() - at, 8192));
                if (!WriteConsoleW(handle, wide.data() + at, part, &written, nullptr) || !written) return;
            }
            return;
        }
        for (size_t at = 0; at < text.size(); at += written) {
            const DWORD part = static_cast<DWORD>(std::min<size_t>(text.size() - at, 1u << 20));
            if (!WriteFile(handle, text.data() + at, part, &written, nullptr) || !written) return;
        }
    }

    HANDLE out_, err_;
    HANDLE console_ = INVALID_HANDLE_VALUE;
};

class Win32RunningWindow : public RunningWindow {
public:
    bool TakeRecords(const std::string& lines) override
    {
        const HWND window = FindWindowA(MainWindow::kClassName, nullptr);
        if (!window || lines.size() > kRecordsMaxBytes) return false;
        COPYDATASTRUCT data{kRecordsCopyData, static_cast<DWORD>(lines.size()), const_cast<char*>(lines.data())};
        DWORD_PTR result = 0;
        return SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                   SMTO_NORMAL | SMTO_ABORTIFHUNG, 10000, &result) &&
               result == TRUE;
    }
};

class Win32FileReader : public FileReader {
public:
    bool ReadAll(const std::string& path, std::string& bytes, std::string& error) override
    {
        const HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return Fail(error);
        LARGE_INTEGER size{};
        // A changes file of a busy day is megabytes; more than this is no changes file.
        bool ok = GetFileSizeEx(file, &size);
        if (ok && size.QuadPart >= (512ll << 20)) {
            SetLastError(ERROR_FILE_TOO_LARGE);
            ok = false;
        }
        if (ok) {
            bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
            DWORD read = 0;
            for (size_t at = 0; ok && at < bytes.size(); at += read) {
                const DWORD part = static_cast<DWORD>(std::min<size_t>(bytes.size() - at, 1u << 20));
                ok = ReadFile(file, &bytes[at], part, &read, nullptr) && read;
            }
        }
        if (!ok) Fail(error);
        CloseHandle(file);
        return ok;
    }

private:
    static bool Fail(std::string& error)
    {
        const DWORD code = GetLastError();
        wchar_t* text = nullptr;
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
        error = text ? Utf8(text) : "error " + std::to_string(code);
        if (text) LocalFree(text);
        while (!error.empty() && (error.back() == '\n' || error.back() == '\r' || error.back() == ' ')) error.pop_back();
        return false;
    }
};

std::vector<std::string> Arguments()
{
    std::vector<std::string> arguments;
    int count = 0;
    if (LPWSTR* list = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i) arguments.push_back(Utf8(list[i]));
        LocalFree(list);
    }
    return arguments;
}

// A name relative to the folder we were started in, made whole: the process
// runs in the system directory by now.
std::string FullName(const std::wstring& startDir, const std::string& name)
{
    std::wstring path = Wide(name);
    const bool absolute = (path.size() > 1 && path[1] == L':') || (!path.empty() && (path[0] == L'\\' || path[0] == L'/'));
    if (!absolute && !startDir.empty()) path = startDir + (startDir.back() == L'\\' ? L"" : L"\\") + path;
    std::vector<wchar_t> full(32768);
    const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    return length && length < full.size() ? Utf8(full.data(), length) : Utf8(path);
}

std::string ExePath()
{
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    return Utf8(path.data(), length);
}

}  // namespace

bool RunCommandLine(const std::wstring& startDir, int& exitCode)
{
    Invocation run = ParseArguments(Arguments());
    if (run.action == Invocation::Action::Window) return false;
    if (!run.file.empty()) run.file = FullName(startDir, run.file);

    Win32Console console;
    Win32Registry registry;
    Win32FileSystem files;
    Win32Locale locale;
    Win32Clock clock;
    Win32FileWriter writer;
    Win32FileReader reader;
    Win32Profile profile;
    Win32RunningWindow window;
    Win32UserAccounts accounts;
    ConsolePorts ports{registry, files,   locale, clock, writer, reader, profile, window, console, RunsOnWindows64(),
                       ExePath(), &accounts};
    exitCode = RunConsole(run, ports);
    return true;
}

}  // namespace quillet::win32
