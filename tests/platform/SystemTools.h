// Small helpers the platform tests share: files read whole, temporary
// folders, and the system's own tools run to their end.
#pragma once
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

namespace platform_tests {

// A folder of this name below the temporary folder.
inline std::string TempDir(const std::string& name)
{
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

inline std::string ReadWholeFile(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A program of the system, run to its end; its exit code.
inline DWORD RunToEnd(std::string command)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return static_cast<DWORD>(-1);
    DWORD code = static_cast<DWORD>(-2);
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return code;
}

// The system's registry editor, silently importing a file; its exit code.
// The one a double-click on the file opens: on 64-bit Windows the 64-bit
// one, started here by the 64-bit command processor, as a 32-bit program's
// "regedit.exe" would be the 32-bit copy, which writes into the 32-bit view.
inline DWORD RegeditImport(const std::string& file)
{
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string regedit = "\"" + std::string(windows) + "\\regedit.exe\" /S \"" + file + "\"";
    BOOL wow64 = FALSE;
    if (!IsWow64Process(GetCurrentProcess(), &wow64) || !wow64) return RunToEnd(regedit);
    return RunToEnd("\"" + std::string(windows) + "\\sysnative\\cmd.exe\" /c \"" + regedit + "\"");
}

}  // namespace platform_tests
