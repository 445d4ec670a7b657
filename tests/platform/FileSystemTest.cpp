#include <windows.h>

#include <gtest/gtest.h>

#include "catalogue/OneLoadFileSystem.h"
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
        for (const char* f : {"\\Sub Dir\\uninst.exe", "\\remove.bat", "\\old.exe", "\\rel.exe", "\\Odd\\plain.exe"})
            DeleteFileA((dir + f).c_str());
        const std::wstring wide(dir.begin(), dir.end());
        for (const wchar_t* f : {L"\\Odd\\\u0131t.exe", L"\\Odd\\caf\u00e9.exe", L"\\Odd\\\u017Fet.exe"})
            DeleteFileW((wide + f).c_str());
        RemoveDirectoryA((dir + "\\Odd").c_str());
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

// The file system one list load sees answers as probing each name does,
// however often and in whatever order it is asked.
TEST_F(FileSystemTest, OneLoadAnswersAsProbing)
{
    struct Counting : Win32FileSystem {
        int probes = 0;
        bool FileExists(const std::string& name) override { return ++probes, Win32FileSystem::FileExists(name); }
    } counted;
    CreateDirectoryA((dir + "\\Odd").c_str(), nullptr);
    Touch(dir + "\\Odd\\plain.exe");
    // Names the ANSI side cannot show as they are: a dotless i and a long s
    // fold to I and S, an e with acute accent does not.
    const std::wstring wide(dir.begin(), dir.end());
    for (const wchar_t* f : {L"\\Odd\\\u0131t.exe", L"\\Odd\\caf\u00e9.exe", L"\\Odd\\\u017Fet.exe"}) {
        HANDLE h = CreateFileW((wide + f).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        CloseHandle(h);
    }
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string win = windows;
    ASSERT_FALSE(PlainPathParts(dir + "\\Sub Dir\\uninst.exe").empty()) << dir;  // the shortcuts are taken

    std::vector<std::string> names;
    for (const char* n : {"\\Sub Dir\\gone1.exe", "\\Sub Dir\\gone2.exe", "\\Sub Dir\\gone3.exe",
                          "\\Gone\\App 1\\u.exe", "\\Gone\\App 2\\u.exe", "\\Gone\\App 3\\u.exe",
                          "\\Sub Dir\\uninst.exe", "\\SUB DIR\\UNINST.EXE", "\\Sub Dir\\..\\remove.bat",
                          "\\Gone\\..\\remove.bat", "\\Sub Dir\\uninst.exe.", "\\Sub Dir\\uninst.exe ",
                          "\\Sub Dir", "\\remove.bat", "\\REMOVE.BAT", "\\remove.bat\\x.exe", "\\Sub Dir\\nul.exe",
                          "\\Odd\\x1.exe", "\\Odd\\x2.exe", "\\Odd\\x3.exe", "\\Odd\\it.exe", "\\Odd\\IT.EXE",
                          "\\Odd\\set.exe", "\\Odd\\SET.EXE", "\\Odd\\cafe.exe", "\\Odd\\PLAIN.exe",
                          "\\Odd\\plain.exe"})
        names.push_back(dir + n);
    for (const char* n : {"\\nothere1.exe", "\\nothere2.exe", "\\nothere3.exe", "\\notepad.exe", "\\NOTEPAD.EXE",
                          "\\regedit.exe", "\\system32\\msiexec.exe", "\\system32\\nothere.exe"})
        names.push_back(win + n);

    std::vector<bool> direct;
    for (const std::string& name : names) direct.push_back(counted.FileExists(name));
    const int directProbes = counted.probes;
    counted.probes = 0;
    OneLoadFileSystem load(counted);
    for (int round = 0; round < 3; ++round)
        for (size_t i = 0; i < names.size(); ++i)
            EXPECT_EQ(load.FileExists(names[i]), direct[i]) << names[i] << " round " << round;
    EXPECT_LT(counted.probes, directProbes);
    EXPECT_TRUE(direct[6] && direct[7] && direct[8] && direct.back() == false);
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
