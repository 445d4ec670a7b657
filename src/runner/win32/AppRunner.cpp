#include "runner/win32/AppRunner.h"

#include <vector>

#include "common/win32/Wide.h"
#include "common/win32/Wow64.h"
#include "runner/Launch.h"

namespace quillet::win32 {

namespace {

constexpr UINT kIdleReport = WM_APP + 1;
constexpr UINT kEndReport = WM_APP + 2;
constexpr const char* kReportClass = "TAppRunnerReports";

}  // namespace

TAppRunner::TAppRunner()
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = ReportProc;
    wc.hInstance = instance;
    wc.lpszClassName = kReportClass;
    RegisterClassA(&wc);  // fails harmlessly when a second runner registers again
    reports_ = CreateWindowExA(0, kReportClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    SetWindowLongPtrA(reports_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    wake_.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    thread_.reset(CreateThread(nullptr, 0, SpyThread, this, 0, nullptr));
}

TAppRunner::~TAppRunner()
{
    detached_ = true;
    terminate_ = true;
    SetEvent(wake_.get());
    // The watcher leaves at the top of its next cycle; a report it sends
    // meanwhile is served (and dropped) so that neither side waits forever.
    const HANDLE thread = thread_.get();
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    // The started process keeps running; only our handles to it go.
    ReleaseProcess();
    DestroyWindow(reports_);
}

namespace {

std::string SystemDirectory()
{
    wchar_t buffer[MAX_PATH];
    const UINT length = GetSystemDirectoryW(buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? Utf8(buffer, length) : std::string();
}

// The full name and its folder by the platform's own rules, which know
// where a double-byte name's last backslash is.
bool FullPath(const std::string& name, std::string& path, std::string& folder)
{
    const std::wstring wideName = Wide(name);
    std::vector<wchar_t> buffer(MAX_PATH);
    for (int attempt = 0; attempt < 2; ++attempt) {
        wchar_t* filePart = nullptr;
        const DWORD length =
            GetFullPathNameW(wideName.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), &filePart);
        if (length == 0) return false;
        if (length < buffer.size()) {
            if (!filePart) return false;  // names a folder
            path = Utf8(buffer.data(), length);
            folder = Utf8(buffer.data(), static_cast<size_t>(filePart - buffer.data()));
            return true;
        }
        buffer.resize(length + 1);
    }
    return false;
}

}  // namespace

bool TAppRunner::Execute(const std::string& programFile, const std::string& commandLine)
{
    // Only called while the watcher sleeps: between runs it touches nothing.
    watch_.Started();
    ApplicationName.clear();
    CurrentDirectory.clear();
    std::string path, folder;
    if (programFile.empty() || !FullPath(programFile, path, folder)) return false;
    const ProcessLaunch launch = PlanLaunch(path, folder, commandLine, SystemDirectory());
    if (launch.application.empty()) return false;

    std::wstring command = Wide(launch.commandLine);
    SECURITY_ATTRIBUTES processAttributes{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
    SECURITY_ATTRIBUTES threadAttributes{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    // The program the check found: a 64-bit uninstaller in System32 stays
    // that one for a 32-bit Quillet, not its SysWOW64 namesake.
    const BOOL ok = [&] {
        WholeFileSystem whole;
        return CreateProcessW(Wide(launch.application).c_str(), command.data(), &processAttributes, &threadAttributes,
                              FALSE, 0, nullptr, Wide(launch.directory).c_str(), &startup, &started);
    }();
    if (!ok) return false;
    ApplicationName = launch.application;
    CurrentDirectory = launch.directory;
    process_ = started;
    SetEvent(wake_.get());
    return true;
}

void TAppRunner::ReleaseProcess()
{
    if (process_.hProcess) CloseHandle(process_.hProcess);
    if (process_.hThread) CloseHandle(process_.hThread);
    process_ = PROCESS_INFORMATION{};
}

DWORD WINAPI TAppRunner::SpyThread(void* self)
{
    static_cast<TAppRunner*>(self)->Watch();
    return 0;
}

void TAppRunner::Watch()
{
    for (;;) {
        WaitForSingleObject(wake_.get(), INFINITE);  // asleep between runs
        for (;;) {
            if (terminate_) return;
            const HANDLE process = process_.hProcess;
            const auto idle = watch_.IdleWaitReturned(WaitForInputIdle(process, 10));
            if (idle.reportIdle) SendMessageA(reports_, kIdleReport, 0, 0);
            if (idle.sleep) SleepEx(90, FALSE);
            const bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
            DWORD code = kStillActive;
            if (ended) GetExitCodeProcess(process, &code);
            if (watch_.ExitChecked(ended, code)) {
                SendMessageA(reports_, kEndReport, 0, 0);
                break;  // back to sleep until the next start
            }
        }
    }
}

LRESULT CALLBACK TAppRunner::ReportProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* runner = reinterpret_cast<TAppRunner*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!runner || (message != kIdleReport && message != kEndReport))
        return DefWindowProcA(window, message, wParam, lParam);
    if (message == kEndReport) {
        // The handles are not needed by the handler; releasing them first
        // leaves a start from inside the handler its own.
        runner->ReleaseProcess();
        if (!runner->detached_ && runner->OnTerminated) runner->OnTerminated();
    } else if (!runner->detached_ && runner->OnIdle) {
        runner->OnIdle();
    }
    return 0;
}

}  // namespace quillet::win32
