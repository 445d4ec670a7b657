// Add/Remove runs elevated: the program started must be the one the command
// names, found where the validity test looks, never a copy planted beside us,
// in the current folder or at the first blank of an unquoted path. The
// stand-in writes its own path into the marker file when it runs.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "catalogue/STFileExists.h"
#include "catalogue/win32/Win32FileSystem.h"
#include "common/win32/Win32Locale.h"
#include "runner/win32/AppRunner.h"

using namespace quillet;
using namespace quillet::win32;

namespace {

std::string TestFolder()
{
    char path[MAX_PATH];
    const std::string self(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return self.substr(0, self.find_last_of('\\') + 1);
}

std::string SystemFolder()
{
    char path[MAX_PATH];
    return std::string(path, GetSystemDirectoryA(path, MAX_PATH)) + "\\";
}

std::string Lower(std::string text)
{
    CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

struct Outcome {
    bool started = false;
    DWORD exitCode = 0;
    std::string application, directory;
};

// The command as Add/Remove runs it: the checker finds the file, the runner
// starts it; waits for the end report.
Outcome RunAsAddRemove(const std::string& command)
{
    Win32FileSystem files;
    Win32Locale locale;
    CommandChecker checker(files, locale);
    TAppRunner runner;
    bool ended = false;
    runner.OnTerminated = [&] { ended = true; };
    Outcome outcome;
    outcome.started = runner.Execute(checker.ProgramFile(command), command);
    outcome.application = runner.ApplicationName;
    outcome.directory = runner.CurrentDirectory;
    const DWORD start = GetTickCount();
    while (outcome.started && !ended && GetTickCount() - start < 20000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    EXPECT_EQ(ended, outcome.started) << command;
    outcome.exitCode = runner.ExitCode();
    return outcome;
}

class ExactProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        marker = std::string(temp) + "quillet-marker.txt";
        cwd = std::string(temp) + "Quillet Downloads";
        DeleteFileA(marker.c_str());
        CreateDirectoryA(cwd.c_str(), nullptr);
        SetEnvironmentVariableA("QUILLET_TEST_MARKER", marker.c_str());
        char current[MAX_PATH];
        savedCwd.assign(current, GetCurrentDirectoryA(MAX_PATH, current));
    }
    void TearDown() override
    {
        SetCurrentDirectoryA(savedCwd.c_str());
        SetEnvironmentVariableA("QUILLET_TEST_MARKER", nullptr);
        for (const std::string& file : planted) DeleteFileA(file.c_str());
        for (auto it = folders.rbegin(); it != folders.rend(); ++it) RemoveDirectoryA(it->c_str());
        RemoveDirectoryA(cwd.c_str());
        DeleteFileA(marker.c_str());
    }
    void Plant(const std::string& file)
    {
        ASSERT_TRUE(CopyFileA(standIn.c_str(), file.c_str(), FALSE)) << file;
        planted.push_back(file);
    }
    void Folder(const std::string& folder)
    {
        CreateDirectoryA(folder.c_str(), nullptr);
        folders.push_back(folder);
    }
    // Every path the stand-in wrote, one per line; empty when none ran.
    std::string Marker() const
    {
        HANDLE file = CreateFileA(marker.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return std::string();
        char buffer[4096];
        DWORD read = 0;
        ReadFile(file, buffer, sizeof buffer, &read, nullptr);
        CloseHandle(file);
        return std::string(buffer, read);
    }

    const std::string standIn = TestFolder() + "qtest_console.exe";
    std::string marker, cwd, savedCwd;
    std::vector<std::string> planted, folders;
};

TEST_F(ExactProgramTest, ABareNameRunsTheSystemsProgramNeverACopyBesideUsOrInTheCurrentFolder)
{
    // The marker works: the stand-in named by its full path runs and says so.
    const Outcome control = RunAsAddRemove("\"" + standIn + "\" exit 3");
    ASSERT_TRUE(control.started);
    EXPECT_EQ(control.exitCode, 3u);
    ASSERT_NE(Marker().find("qtest_console.exe"), std::string::npos);
    DeleteFileA(marker.c_str());

    struct Place {
        const char* where;
        std::string folder;
    };
    const Place places[] = {{"beside the program", TestFolder()}, {"in the current folder", cwd + "\\"}};
    SetCurrentDirectoryA(cwd.c_str());  // as if started from the Downloads folder
    for (const Place& place : places) {
        Plant(place.folder + "hostname.exe");
        const Outcome outcome = RunAsAddRemove("hostname.exe");
        EXPECT_TRUE(outcome.started) << place.where;
        EXPECT_EQ(Lower(outcome.application), Lower(SystemFolder() + "hostname.exe")) << place.where;
        EXPECT_EQ(Lower(outcome.directory), Lower(SystemFolder())) << place.where;
        EXPECT_EQ(outcome.exitCode, 0u) << place.where;  // the stand-in would end with 2
        EXPECT_EQ(Marker(), "") << "a planted hostname.exe ran from " << place.where;
        DeleteFileA(planted.back().c_str());
    }
}

TEST_F(ExactProgramTest, AnUnquotedPathWithBlanksNeverRunsTheProgramAtItsFirstBlank)
{
    const std::string folder = "C:\\Program Files\\Quillet Blank Test";
    const std::string program = folder + "\\uninst.exe";
    Folder(folder);
    Plant("C:\\Program.exe");
    Plant(program);

    const Outcome outcome = RunAsAddRemove(program + " exit 7");
    ASSERT_TRUE(outcome.started);
    EXPECT_EQ(outcome.exitCode, 7u);
    EXPECT_EQ(outcome.application, program);
    EXPECT_EQ(outcome.directory, folder + "\\");
    EXPECT_EQ(Lower(Marker()), Lower(program + "\r\n"));

    // With the program gone, nothing runs in its place.
    DeleteFileA(program.c_str());
    DeleteFileA(marker.c_str());
    EXPECT_FALSE(RunAsAddRemove(program + " exit 7").started);
    EXPECT_EQ(Marker(), "") << "C:\\Program.exe ran for an unquoted path";
}

TEST_F(ExactProgramTest, ABatchFileRunsThroughTheInterpreterInItsOwnFolder)
{
    const std::string folder = cwd + "\\Tools & More";
    const std::string batch = folder + "\\remove.bat";
    Folder(folder);
    HANDLE file = CreateFileA(batch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const std::string text = "@cd > \"%QUILLET_TEST_MARKER%\"\r\n@exit /b 5\r\n";
    DWORD written;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    planted.push_back(batch);

    const Outcome outcome = RunAsAddRemove("\"" + batch + "\"");
    ASSERT_TRUE(outcome.started);
    EXPECT_EQ(Lower(outcome.application), Lower(SystemFolder() + "cmd.exe"));
    EXPECT_EQ(outcome.exitCode, 5u);
    EXPECT_EQ(Lower(Marker()), Lower(folder + "\r\n"));  // it ran, in its own folder
}

}  // namespace
