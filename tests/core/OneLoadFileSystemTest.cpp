#include <gtest/gtest.h>

#include "catalogue/OneLoadFileSystem.h"
#include "catalogue/STFileExists.h"
#include "fakes/FakeFileSystem.h"

using namespace quillet;
using quillet::fakes::FakeFileSystem;
using quillet::fakes::FakeLocale;

namespace {

class OneLoadTest : public ::testing::Test {
protected:
    OneLoadTest()
    {
        files.path = "C:\\WINDOWS;;C:\\WINDOWS\\COMMAND;C:\\Tools\\;.";
        files.drives = {{'c', 3}, {'a', 2}, {'d', 5}};
        for (const char* f : {"C:\\Program Files\\App\\uninst.exe", "C:\\Program Files\\App 2\\uninst.exe",
                              "C:\\WINDOWS\\uninst.exe", "C:\\WINDOWS\\SYSTEM\\MsiExec.exe",
                              "C:\\WINDOWS\\COMMAND\\tool.exe", "C:\\Tools\\helper.exe", "C:\\App\\remove.bat",
                              "C:\\Old.exe", "C:\\Old\\Kept\\keep.exe", "C:\\WINDOWS\\SYSTEM\\local.exe",
                              "C:\\WINDOWS\\SYSTEM\\Sub\\deep.exe", "C:\\Old2\\..\\WINDOWS\\uninst.exe"})
            files.AddFile(f);
        files.AddDirectory("C:\\Empty");
    }
    FakeFileSystem files;
    FakeLocale locale;
};

// Every verdict and every file name found within one load is the one that
// probing each name directly gives, whatever the load asked before.
TEST_F(OneLoadTest, SameVerdictsAndFileNamesAsDirectProbing)
{
    const char* commands[] = {
        "\"C:\\Program Files\\App\\uninst.exe\" /S", "C:\\Program Files\\App 2\\uninst.exe /S",
        "C:\\Program Files\\App 3\\uninst.exe /S", "C:\\Old\\App 17\\uninst.exe /S", "C:\\Old\\App 18\\uninst.exe /S",
        "C:\\OLD\\Kept\\keep.exe", "C:\\Old\\Kept\\gone.exe", "C:\\Old\\Kept\\KEEP.EXE /x", "C:\\Old.exe /x",
        "C:\\Old\\..\\WINDOWS\\uninst.exe", "C:\\Old2\\..\\WINDOWS\\uninst.exe", "C:\\Old\\.\\x.exe",
        "nothere17.exe /x", "nothere18.exe /x", "NOTHERE17.EXE", "uninst.exe -a", "UNINST.EXE -a", "tool.exe /q",
        "helper.exe", "local.exe", "Sub\\deep.exe", "sub\\gone.exe", "MsiExec.exe /X{1}", "msiexec.exe /X{2}",
        "C:\\Empty\\x.exe", "C:\\Empty\\y.exe", "C:\\Empty\\z.exe", "C:\\Empty", "C:\\WINDOWS", "C:\\WINDOWS\\",
        "A:\\SETUP.EXE", "D:\\gone\\setup.exe", "E:\\gone\\x.exe", "E:\\gone\\y.exe", "C:\\Old\\nul.exe",
        "C:\\Old\\con\\x.exe", "C:\\Old\\App~1\\uninst.exe", "C:\\Old\\App.\\u.exe", "C:\\Old\\App \\u.exe",
        "C:/Old/x.exe", "\\\\server\\share\\x.exe", "C:\\Old\\caf\xe9\\x.exe", "%ProgramFiles%\\x.exe",
        "RunDll32 x.dll,Entry", "C:\\WINDOWS\\uninst.exe", "C:\\Old\\App 19\\uninst.exe /S"};
    std::vector<std::pair<bool, std::string>> direct;
    CommandChecker checker(files, locale);
    for (const char* command : commands)
        direct.emplace_back(checker.IsValidCommand(command), checker.CommandToFileName(command));

    checker.BeginBatch();
    for (int round = 0; round < 3; ++round)
        for (size_t i = 0; i < std::size(commands); ++i) {
            EXPECT_EQ(checker.IsValidCommand(commands[i]), direct[i].first) << commands[i] << " round " << round;
            EXPECT_EQ(checker.CommandToFileName(commands[i]), direct[i].second) << commands[i] << " round " << round;
        }
    checker.EndBatch();
}

TEST_F(OneLoadTest, MissesUnderAGoneDirectoryCostOneLookAtIt)
{
    CommandChecker checker(files, locale);
    checker.BeginBatch();
    EXPECT_FALSE(checker.IsValidCommand("C:\\Old\\App 0\\uninst.exe /S"));
    const int firstProbes = files.probes;
    for (int i = 1; i < 1000; ++i)
        EXPECT_FALSE(checker.IsValidCommand("C:\\Old\\App " + std::to_string(i) + "\\uninst.exe /S"));
    checker.EndBatch();
    // C:\Old is there (it holds Kept): its second miss lists it, and the
    // listing answers for the rest. What is still asked are the candidates
    // that join a search entry and an absolute name (C:\WINDOWS\C:\Old\...),
    // which the Windows adapter turns down without asking the platform.
    EXPECT_EQ(files.probes - firstProbes, 1 + 999 * 5);  // 1: App 1 itself, before the listing
    EXPECT_EQ(files.directoryProbes, 3);  // C:\Old, C:\Old\App 0, C:\Old\App 1
    EXPECT_EQ(files.listings, 1);
    EXPECT_EQ(files.driveQueries, 1);

    // A directory that is gone answers for everything below it.
    files.probes = files.directoryProbes = 0;
    checker.BeginBatch();
    for (int i = 0; i < 1000; ++i)
        EXPECT_FALSE(checker.IsValidCommand("C:\\Gone\\App " + std::to_string(i) + "\\uninst.exe /S"));
    checker.EndBatch();
    EXPECT_EQ(files.directoryProbes, 1);
    EXPECT_EQ(files.probes, 1 + 1000 * 5);
}

TEST_F(OneLoadTest, BareNamesListEachSearchDirectoryOnce)
{
    files.path = "C:\\WINDOWS;;C:\\WINDOWS\\COMMAND;C:\\Tools\\";
    CommandChecker checker(files, locale);
    checker.BeginBatch();
    for (int i = 0; i < 100; ++i) EXPECT_FALSE(checker.IsValidCommand("nothere" + std::to_string(i) + ".exe /x"));
    EXPECT_TRUE(checker.IsValidCommand("tool.exe"));  // in a listed directory: still found
    const int probes = files.probes;
    checker.EndBatch();
    // SYSTEM (first and last), WINDOWS, COMMAND and Tools, each listed at its second miss.
    EXPECT_EQ(files.listings, 4);
    // Two names probed in full (the Windows and system directories stand
    // twice in the list, each name is asked about once), then tool.exe found.
    EXPECT_EQ(probes, 2 * 4 + 1);
}

TEST_F(OneLoadTest, NothingOutlivesTheLoad)
{
    CommandChecker checker(files, locale);
    checker.BeginBatch();
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(checker.IsValidCommand("C:\\Old\\New\\x" + std::to_string(i) + ".exe"));
    EXPECT_FALSE(checker.IsValidCommand("late.exe"));
    EXPECT_FALSE(checker.IsValidCommand("late.exe"));
    files.AddFile("C:\\Old\\New\\x0.exe");  // made while the list loads: seen by the next load
    files.AddFile("C:\\WINDOWS\\late.exe");
    EXPECT_FALSE(checker.IsValidCommand("C:\\Old\\New\\x0.exe"));
    checker.EndBatch();

    EXPECT_TRUE(checker.IsValidCommand("C:\\Old\\New\\x0.exe"));
    EXPECT_EQ(checker.ProgramFile("late.exe"), "C:\\WINDOWS\\late.exe");
    checker.BeginBatch();
    EXPECT_TRUE(checker.IsValidCommand("C:\\Old\\New\\x0.exe"));
    EXPECT_TRUE(checker.IsValidCommand("late.exe /x"));
    checker.EndBatch();
}

// Only names the platform resolves part by part, as written, take a shortcut.
TEST(PlainPathParts, NamesThatTakeShortcuts)
{
    const std::pair<const char*, bool> cases[] = {
        {"C:\\Old\\App 17\\uninst.exe", true}, {"c:\\x.exe", true}, {"C:\\", false}, {"C:x.exe", false},
        {"x.exe", false}, {"\\\\server\\share\\x.exe", false}, {"C:/Old/x.exe", false},
        {"C:\\Old\\..\\x.exe", false}, {"C:\\Old\\.\\x.exe", false}, {"C:\\Old\\\\x.exe", false},
        {"C:\\Old\\App.\\x.exe", false}, {"C:\\Old\\App \\x.exe", false}, {"C:\\Old\\x.exe ", false},
        {"C:\\PROGRA~1\\x.exe", false}, {"C:\\Old\\x.exe:stream", false}, {"C:\\Old\\nul.exe", false},
        {"C:\\Old\\COM1\\x.exe", false}, {"C:\\Old\\lpt9.txt", false}, {"C:\\Old\\console.exe", true},
        {"C:\\Old\\caf\xe9.exe", false}, {"C:\\Old\\\x95\x5C.exe", false}, {"1:\\x.exe", false},
        {"C:\\Old\\x*.exe", false}, {"C:\\Old\\x\t.exe", false},
    };
    for (const auto& [name, plain] : cases) EXPECT_EQ(!PlainPathParts(name).empty(), plain) << name;
    EXPECT_FALSE(!PlainPathParts("C:\\" + std::string(260, 'a')).empty());
    EXPECT_EQ(PlainPathParts("C:\\Old\\App 17\\u.exe"), (std::vector<std::string>{"C:", "Old", "App 17", "u.exe"}));
}

}  // namespace
