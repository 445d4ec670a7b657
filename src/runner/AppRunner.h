#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace quillet {

inline constexpr uint32_t kStillActive = 259;

// Starts one command line as a process and reports, on the user-interface
// thread, when it has ended. At most one process at a time.
class AppRunner {
public:
    virtual ~AppRunner() = default;
    // Starts `programFile` (the file the command validity test found for the
    // command) with `commandLine`. False when no process could be created,
    // also for an empty file name: the command line alone is never searched.
    // Then no report comes.
    virtual bool Execute(const std::string& programFile, const std::string& commandLine) = 0;
    // The exit code of the process whose end was last reported.
    virtual uint32_t ExitCode() const = 0;

    std::function<void()> OnIdle;
    std::function<void()> OnTerminated;
};

// The watcher's rules, one poll cycle at a time, apart from the thread and
// the platform calls: the cycle waits briefly for the process to become
// idle, then looks whether it has ended.
class RunnerWatch {
public:
    struct AfterIdleWait {
        bool reportIdle;  // deliver OnIdle now (no sleep this cycle)
        bool sleep;       // sleep the rest of the cycle
    };

    // A successful start: nothing reported yet.
    void Started()
    {
        idleReported_ = false;
        terminated_ = false;
        exitCode_ = kStillActive;
    }
    // `waitResult` is 0 when the process waits for input with none pending.
    AfterIdleWait IdleWaitReturned(unsigned long waitResult)
    {
        if (waitResult != 0) {
            idleReported_ = false;
            return {false, true};
        }
        if (idleReported_) return {false, true};
        idleReported_ = true;  // set inside the synchronous idle report
        return {true, false};
    }
    // True when the end is to be reported now. The end is read from the
    // process itself, so an exit code of 259 is reported like any other.
    bool ExitChecked(bool ended, uint32_t exitCode)
    {
        if (!ended || terminated_) return false;
        terminated_ = true;
        exitCode_ = exitCode;
        return true;
    }

    bool Terminated() const { return terminated_; }
    uint32_t ExitCode() const { return exitCode_; }

private:
    bool idleReported_ = false;
    bool terminated_ = false;
    uint32_t exitCode_ = kStillActive;
};

}  // namespace quillet
