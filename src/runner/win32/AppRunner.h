#pragma once
#include <windows.h>

#include <atomic>
#include <string>

#include "common/win32/Handles.h"
#include "runner/AppRunner.h"

namespace quillet::win32 {

// Starts a command line as an independent process and watches it from a
// thread of its own (TAppRunnerSpyThread): every 100 ms a 10 ms wait for
// the process to become idle, then a look whether it has ended. Reports go
// to the thread that made the runner by a synchronous call, while the
// watcher waits; between runs the watcher sleeps.
class TAppRunner : public AppRunner {
public:
    TAppRunner();
    ~TAppRunner() override;
    TAppRunner(const TAppRunner&) = delete;
    TAppRunner& operator=(const TAppRunner&) = delete;

    bool Execute(const std::string& programFile, const std::string& commandLine) override;
    // From now on no report reaches the handlers (the owner is going away).
    void Detach() { detached_ = true; }
    uint32_t ExitCode() const override { return watch_.ExitCode(); }
    bool Terminated() const { return watch_.Terminated(); }
    // True while handles of a started process are held (until its end report).
    bool HoldsProcess() const { return process_.hProcess != nullptr || process_.hThread != nullptr; }

    // What the last start passed as the program and its working directory;
    // empty when it did not get as far as creating a process.
    std::string ApplicationName;
    std::string CurrentDirectory;

private:
    static DWORD WINAPI SpyThread(void* self);
    static LRESULT CALLBACK ReportProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Watch();
    void ReleaseProcess();

    HWND reports_ = nullptr;  // message-only window of the user-interface thread
    Handle wake_;
    Handle thread_;
    PROCESS_INFORMATION process_{};
    RunnerWatch watch_;
    std::atomic<bool> terminate_{false};
    bool detached_ = false;
};

}  // namespace quillet::win32
