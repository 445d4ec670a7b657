#include <windows.h>

#include <gtest/gtest.h>

#include "catalogue/STFileExists.h"
#include "catalogue/win32/Win32FileSystem.h"
#include "common/win32/Win32Locale.h"

using namespace quillet;
using namespace quillet::win32;

namespace {

// A scratch folder in the prefix's temporary directory, removed afterwards.
class FileSystemTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        dir = std::string(temp) + "QuilletFsTest";
        Remove();
        CreateDirectoryA(dir.c_str(), nullptr);
        CreateDirectoryA((dir + "\\Sub Dir").c_str(), nullptr);
        Touch(dir + "\\Sub Dir\\uninst.exe");
        Touch(dir + "\\remove.bat");
        char path[32768];
        const DWORD length = GetEnvironmentVariableA("Path", path, sizeof path);
        savedPath = std::string(path, length);
        GetCurrentDirectoryA(MAX_PATH, path);
        savedCwd = path;
    }
    void TearDown() override
    {
        SetEnvironmentVariableA("Path", savedPath.c_str());
        SetCurrentDirectoryA(savedCwd.c_str());
        Remove();
    }
    void Remove()
    {
        for (const char* f : {"\\Sub Dir\\uninst.exe", "\\remove.bat", "\\old.exe", "\\rel.exe"})
            DeleteFileA((dir + f).c_str());
        RemoveDirectoryA((dir + "\\Sub Dir").c_str());
        RemoveDirectoryA(dir.c_str());
    }
    static void Touch(const std::string& name)
    {
        HANDLE h = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE) << name;
        CloseHandle(h);
    }
    // The plain reading of "exists": FindFirstFile, not a directory, DOS time.
    static bool FindFirstFileSays(const std::string& name)
    {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA(name.c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return false;
        FindClose(find);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
        FILETIME local;
        WORD d, t;
        return FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) && FileTimeToDosDateTime(&local, &d, &t);
    }

    std::string dir, savedPath, savedCwd;
    Win32FileSystem files;
    Win32Locale locale;
};

TEST_F(FileSystemTest, FileExistsAnswersLikeFindFirstFile)
{
    // A last-write time before 1980 has no DOS form, so the file does not count.
    Touch(dir + "\\old.exe");
    HANDLE h = CreateFileA((dir + "\\old.exe").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SYSTEMTIME st{1975, 6, 0, 1, 12, 0, 0, 0};
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    SetFileTime(h, nullptr, nullptr, &ft);
    CloseHandle(h);

    SetCurrentDirectoryA(dir.c_str());
    const std::string names[] = {dir + "\\Sub Dir\\uninst.exe", dir + "\\remove.bat", dir + "\\Sub Dir",
                                 dir,  dir + "\\missing.exe",      dir + "\\old.exe",    "remove.bat",
                                 "Sub Dir\\uninst.exe", "C:\\",   dir + "\\Sub Dir\\uninst.exe\\",
                                 // a candidate built from a search entry and an absolute name
                                 dir + "\\" + dir + "\\remove.bat", "Sub Dir\\" + dir + "\\remove.bat"};
    for (const auto& n : names) EXPECT_EQ(files.FileExists(n), FindFirstFileSays(n)) << n;
    EXPECT_TRUE(files.FileExists(dir + "\\remove.bat"));
    EXPECT_TRUE(files.FileExists("remove.bat"));
    EXPECT_FALSE(files.FileExists(dir + "\\Sub Dir"));
    EXPECT_FALSE(files.FileExists(dir + "\\old.exe"));
    EXPECT_FALSE(files.FileExists(dir + "\\*.bat"));  // a pattern is not a name
}

TEST_F(FileSystemTest, DirectoriesEnvironmentAndDrives)
{
    char buffer[MAX_PATH];
    GetWindowsDirectoryA(buffer, MAX_PATH);
    EXPECT_EQ(files.WindowsDirectory(), buffer);
    GetSystemDirectoryA(buffer, MAX_PATH);
    EXPECT_EQ(files.SystemDirectory(), buffer);

    const std::string longValue = std::string(400, 'x') + ";end";
    SetEnvironmentVariableA("QuilletLong", longValue.c_str());
    EXPECT_EQ(files.EnvironmentVariable("QuilletLong"), longValue);
    SetEnvironmentVariableA("QuilletLong", nullptr);
    EXPECT_FALSE(files.EnvironmentVariable("QuilletLong").has_value());

    EXPECT_EQ(files.DriveType("C:\\"), static_cast<unsigned>(DRIVE_FIXED));
    for (const char* notRoot : {"", "unin", "%Pr", "rem"}) {
        const unsigned type = files.DriveType(notRoot);
        EXPECT_TRUE(type != DRIVE_REMOVABLE && type != DRIVE_CDROM) << notRoot;
    }
}

TEST_F(FileSystemTest, ValidityAgainstRealFiles)
{
    CommandChecker checker(files, locale);
    SetCurrentDirectoryA(dir.c_str());
    EXPECT_TRUE(checker.IsValidCommand("\"" + dir + "\\Sub Dir\\uninst.exe\" /S"));
    EXPECT_FALSE(checker.IsValidCommand(dir + "\\Sub Dir\\gone.exe /S"));
    // A relative name means the system directory, whatever folder is current.
    EXPECT_FALSE(checker.IsValidCommand("remove.bat"));
    EXPECT_EQ(checker.ProgramFile("remove.bat"), "");
    EXPECT_FALSE(checker.IsValidCommand("remove.bat /q"));  // no marker: the switch stays in the name
    EXPECT_FALSE(checker.IsValidCommand(dir));              // a directory
    EXPECT_TRUE(checker.IsValidCommand("notepad.exe /x"));  // found in the Windows directory
    EXPECT_TRUE(checker.IsValidCommand("regedit.exe"));
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_EQ(checker.CommandToFileName("msiexec.exe /x {1}"), std::string(system) + "\\msiexec.exe");
}

TEST_F(FileSystemTest, LongPathIsSearchedToItsEnd)
{
    std::string path;
    for (int i = 0; i < 30; ++i) path += "C:\\nowhere\\folder" + std::to_string(i) + ";";
    path += dir + "\\Sub Dir";
    ASSERT_GT(path.size(), 600u);
    SetEnvironmentVariableA("Path", path.c_str());
    CommandChecker checker(files, locale);
    EXPECT_EQ(checker.CommandToFileName("uninst.exe /x"), dir + "\\Sub Dir\\uninst.exe");
    EXPECT_TRUE(checker.IsValidCommand("uninst.exe /x"));
}

}  // namespace
