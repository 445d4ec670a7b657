#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "runner/win32/AppRunner.h"

using quillet::win32::TAppRunner;

namespace {

std::string ProgramPath(const char* name)
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path);
    return dir.substr(0, dir.find_last_of('\\') + 1) + name;
}

std::string Program(const char* name) { return "\"" + ProgramPath(name) + "\""; }

// Starts a stand-in by its full path with a quoted command line.
bool Start(TAppRunner& runner, const char* name, const std::string& arguments)
{
    return runner.Execute(ProgramPath(name), Program(name) + arguments);
}

// Serves the runner's reports, as the message loop would, until `done` or the time is up.
template <class Done>
bool Pump(Done done, DWORD timeoutMs = 10000)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    return true;
}

struct Counts {
    int idle = 0, ended = 0;
    DWORD endThread = 0, idleThread = 0;
};

void Listen(TAppRunner& runner, Counts& counts)
{
    runner.OnIdle = [&] {
        ++counts.idle;
        counts.idleThread = GetCurrentThreadId();
    };
    runner.OnTerminated = [&] {
        ++counts.ended;
        counts.endThread = GetCurrentThreadId();
    };
}

TEST(AppRunnerTest, ConsoleProgramEndsOnceWithoutIdle)
{
    TAppRunner runner;
    Counts counts;
    Listen(runner, counts);
    ASSERT_TRUE(Start(runner, "qtest_console.exe", " exit 7 300"));
    EXPECT_TRUE(Pump([&] { return counts.ended > 0; }));
    Pump([] { return false; }, 300);  // nothing more comes
    EXPECT_EQ(counts.ended, 1);
    EXPECT_EQ(counts.idle, 0);
    EXPECT_EQ(runner.ExitCode(), 7u);
    EXPECT_EQ(counts.endThread, GetCurrentThreadId());  // reported on this (the user-interface) thread
}

TEST(AppRunnerTest, WindowProgramIdleOnceThenEnd)
{
    char display[64];
    ASSERT_NE(GetEnvironmentVariableA("DISPLAY", display, sizeof display), 0u) << "needs an X display (scripts/test)";
    TAppRunner runner;
    Counts counts;
    Listen(runner, counts);
    ASSERT_TRUE(Start(runner, "qtest_window.exe", " window 1500"));
    EXPECT_TRUE(Pump([&] { return counts.ended > 0; }, 20000));
    EXPECT_EQ(counts.idle, 1);
    EXPECT_EQ(counts.ended, 1);
    EXPECT_EQ(counts.idleThread, GetCurrentThreadId());
}

TEST(AppRunnerTest, FailedStartThenTwoRunsByTheSameWatcher)
{
    TAppRunner runner;
    Counts counts;
    Listen(runner, counts);
    EXPECT_FALSE(runner.Execute("C:\\nowhere\\missing.exe", "C:\\nowhere\\missing.exe /x"));
    EXPECT_FALSE(runner.Execute("", ""));
    // Without a program file the command line is never searched for one.
    EXPECT_FALSE(runner.Execute("", Program("qtest_console.exe") + " exit 0"));
    Pump([] { return false; }, 300);
    EXPECT_EQ(counts.ended, 0);

    ASSERT_TRUE(Start(runner, "qtest_console.exe", " exit 1"));
    EXPECT_TRUE(Pump([&] { return counts.ended == 1; }));
    EXPECT_EQ(runner.ExitCode(), 1u);
    ASSERT_TRUE(Start(runner, "qtest_console.exe", " exit 2 100"));
    EXPECT_TRUE(Pump([&] { return counts.ended == 2; }));
    EXPECT_EQ(runner.ExitCode(), 2u);
    Pump([] { return false; }, 300);
    EXPECT_EQ(counts.ended, 2);
}

TEST(AppRunnerTest, QuickExitIsReportedWithinACycleAndExitCode259Too)
{
    TAppRunner runner;
    Counts counts;
    Listen(runner, counts);
    ASSERT_TRUE(Start(runner, "qtest_console.exe", " exit 0"));
    // Process start under Wine takes its own time; the report follows the
    // end by at most one 100 ms cycle, well inside this bound.
    EXPECT_TRUE(Pump([&] { return counts.ended == 1; }, 5000));

    ASSERT_TRUE(Start(runner, "qtest_console.exe", " exit 259"));
    EXPECT_TRUE(Pump([&] { return counts.ended == 2; }, 5000)) << "a program exiting with 259 was not reported";
    EXPECT_EQ(runner.ExitCode(), 259u);
}

TEST(AppRunnerTest, DestroyingTheRunnerLeavesTheProcessRunning)
{
    const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QuilletRunnerTest";
    HKEY created;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &created,
                              nullptr),
              ERROR_SUCCESS);
    RegCloseKey(created);
    Counts counts;
    {
        TAppRunner runner;
        Listen(runner, counts);
        ASSERT_TRUE(Start(runner, "qtest_console.exe", " uninstall QuilletRunnerTest 800"));
        Pump([] { return false; }, 200);
    }
    EXPECT_EQ(counts.ended, 0);
    // The program goes on after the runner is gone and does its work.
    const DWORD start = GetTickCount();
    HKEY key2 = nullptr;
    while (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &key2) == ERROR_SUCCESS) {
        RegCloseKey(key2);
        ASSERT_LT(GetTickCount() - start, 10000u) << "the started program did not finish its work";
        Sleep(50);
    }
}

TEST(AppRunnerTest, HandlesAreReleasedAtEveryEndReport)
{
    // Wine reports no handle counts, so the runner is asked what it holds.
    TAppRunner runner;
    Counts counts;
    Listen(runner, counts);
    bool heldDuringReport = true;
    runner.OnTerminated = [&] {
        ++counts.ended;
        heldDuringReport = runner.HoldsProcess();
    };
    for (int i = 1; i <= 10; ++i) {
        ASSERT_TRUE(Start(runner, "qtest_console.exe", " exit 0"));
        EXPECT_TRUE(runner.HoldsProcess());
        ASSERT_TRUE(Pump([&] { return counts.ended == i; }));
        EXPECT_FALSE(heldDuringReport);
        EXPECT_FALSE(runner.HoldsProcess());
    }
    EXPECT_FALSE(runner.Execute("C:\\nowhere\\missing.exe", "C:\\nowhere\\missing.exe"));
    EXPECT_FALSE(runner.HoldsProcess());
}

}  // namespace
