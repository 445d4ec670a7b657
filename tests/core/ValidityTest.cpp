#include <gtest/gtest.h>

#include "catalogue/STFileExists.h"
#include "fakes/FakeFileSystem.h"

using namespace quillet;
using quillet::fakes::FakeFileSystem;
using quillet::fakes::FakeLocale;

namespace {

// The machine of the reference table: C: fixed, A: removable, D: CD-ROM.
class ValidityTest : public ::testing::Test {
protected:
    ValidityTest()
    {
        files.path = "C:\\WINDOWS;C:\\WINDOWS\\COMMAND";
        files.drives = {{'c', 3}, {'a', 2}, {'d', 5}};
        for (const char* f : {"C:\\Program Files\\App\\uninst.exe", "C:\\WINDOWS\\uninst.exe",
                              "C:\\WINDOWS\\rundll32.exe", "C:\\WINDOWS\\SYSTEM\\MsiExec.exe", "C:\\App\\remove.bat"})
            files.AddFile(f);
    }
    FakeFileSystem files;
    FakeLocale locale;
    CommandChecker checker{files, locale};
};

struct Case {
    const char* command;
    const char* fileName;
    bool valid;
};

TEST_F(ValidityTest, ReferenceTable)
{
    const Case cases[] = {
        {"\"C:\\Program Files\\App\\uninst.exe\" /S", "C:\\Program Files\\App\\uninst.exe", true},
        {"C:\\WINDOWS\\uninst.exe -f\"C:\\App\\x.isu\"", "C:\\WINDOWS\\uninst.exe", true},
        {"uninst.exe -a", "C:\\WINDOWS\\uninst.exe", true},
        {"MsiExec.exe /X{0001}", "C:\\WINDOWS\\SYSTEM\\MsiExec.exe", true},
        {"RunDll32 advpack.dll,LaunchINFSection C:\\x.inf,Uninstall",
         "RunDll32 advpack.dll,LaunchINFSection C:\\x.inf,Uninstall", true},
        {"rundll32.exe shell32.dll,Control_RunDLL", "C:\\WINDOWS\\rundll32.exe", true},
        {"%ProgramFiles%\\App\\unins000.exe", "%ProgramFiles%\\App\\unins000.exe", true},
        {"A:\\SETUP.EXE /uninstall", "A:\\SETUP.EXE", true},
        {"D:\\setup.exe", "D:\\setup.exe", true},
        {"C:\\Old\\gone.exe", "C:\\Old\\gone.exe", false},
        {"C:\\App\\remove.bat /q", "C:\\App\\remove.bat q", false},
        {"C:\\App\\remove.bat", "C:\\App\\remove.bat", true},
        {"C:\\WINDOWS", "C:\\WINDOWS", false},
        {"C:\\a.exe b.exe x", "C:\\a.exe", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(checker.CommandToFileName(c.command), c.fileName) << c.command;
        EXPECT_EQ(checker.IsValidCommand(c.command), c.valid) << c.command;
    }
}

TEST_F(ValidityTest, CleaningAndCutting)
{
    EXPECT_EQ(RemoveBadChars("\"a/b*c?d\""), "abcd");
    EXPECT_EQ(RemoveBadChars(""), "");
    EXPECT_EQ(CutAfterProgramName("x.EXE y.exe z"), "x.EXE");
    EXPECT_EQ(CutAfterProgramName("x.ExE "), "x.ExE");
    EXPECT_EQ(CutAfterProgramName("x.exe"), "x.exe");   // no space behind: stays whole
    EXPECT_EQ(CutAfterProgramName(".exe "), ".exe");
    EXPECT_EQ(CutAfterProgramName("a.exe\tb"), "a.exe\tb");  // only a blank ends the name
    // The removal runs first, so a quote between ".exe" and the blank still cuts.
    EXPECT_EQ(checker.CommandToFileName("\"C:\\Old\\gone.exe\" /S"), "C:\\Old\\gone.exe");
}

TEST_F(ValidityTest, ExemptionsLookOnlyAtTheFileName)
{
    EXPECT_TRUE(checker.IsValidCommand("RUNDLL32.EXE x"));     // upper case prefix
    EXPECT_TRUE(checker.IsValidCommand("rundllfoo"));          // six letters are enough
    EXPECT_FALSE(checker.IsValidCommand("rundl32 x"));
    EXPECT_FALSE(checker.IsValidCommand(" rundll32 x"));       // leading blank: no exemption
    EXPECT_TRUE(checker.IsValidCommand("%SystemRoot%\\x.exe"));
    EXPECT_FALSE(checker.IsValidCommand("C:\\%x%.exe"));       // '%' only counts first
    EXPECT_FALSE(checker.IsValidCommand("E:\\gone.exe"));      // unknown drive
    EXPECT_FALSE(checker.IsValidCommand(""));
}

TEST_F(ValidityTest, SearchListOrderAndSeparators)
{
    files.path = ";;C:\\First\\;D:;C:\\Second";
    files.AddFile("C:\\Second\\tool.exe");
    EXPECT_EQ(checker.FindInPath("tool.exe"), "C:\\Second\\tool.exe");
    files.AddFile("C:\\First\\tool.exe");  // an entry ending in '\' gets no second one
    EXPECT_EQ(checker.FindInPath("tool.exe"), "C:\\First\\tool.exe");
    // Nor one ending in ':'; Quillet never moves to D:, so D: means its root.
    files.AddFile("D:\\tool.exe");
    files.drives['d'] = 3;
    files.path = "D:;C:\\First";
    EXPECT_EQ(checker.FindInPath("tool.exe"), "D:\\tool.exe");

    // The name as it is counts relative to the system directory (Quillet's
    // current one) and wins over every entry of the list; whatever folder is
    // current at the moment is never looked at.
    files.AddFile("C:\\CWD\\tool.exe");
    EXPECT_EQ(checker.FindInPath("tool.exe"), "D:\\tool.exe");
    files.AddFile("C:\\WINDOWS\\SYSTEM\\tool.exe");
    EXPECT_EQ(checker.FindInPath("tool.exe"), "C:\\WINDOWS\\SYSTEM\\tool.exe");
}

// The file a command runs is the one the test judged, found only where the
// test looks; planted files elsewhere are never picked.
TEST_F(ValidityTest, ProgramFileIsTheFileTheTestFound)
{
    files.AddFile("C:\\Program.exe");             // planted for an unquoted path with blanks
    files.AddFile("C:\\CWD\\MsiExec.exe");        // planted in the current directory
    files.AddFile("C:\\CWD\\planted.exe");
    files.AddFile("C:\\Top\\top.exe");
    files.AddFile("E:\\u.exe");
    files.drives['e'] = 3;
    const Case cases[] = {
        {"\"C:\\Program Files\\App\\uninst.exe\" /S", "C:\\Program Files\\App\\uninst.exe", true},
        {"C:\\Program Files\\App\\uninst.exe /S", "C:\\Program Files\\App\\uninst.exe", true},
        {"C:\\Program Files\\App\\gone.exe /S", "", false},
        {"MsiExec.exe /X{0001}", "C:\\WINDOWS\\SYSTEM\\MsiExec.exe", true},
        {"planted.exe /x", "", false},
        {"uninst.exe -a", "C:\\WINDOWS\\uninst.exe", true},
        {"RunDll32 advpack.dll,LaunchINFSection C:\\x.inf,Uninstall", "C:\\WINDOWS\\RunDll32.exe", true},
        {"rundll32.exe shell32.dll,Control_RunDLL", "C:\\WINDOWS\\rundll32.exe", true},
        {"rundll\\..\\..\\CWD\\planted x", "", true},  // the loader is named bare or not at all
        {"%ProgramFiles%\\App\\unins000.exe", "", true},  // good on trust, but nothing to run
        {"A:\\SETUP.EXE /uninstall", "", true},              // the medium is out
        {"C:\\App\\remove.bat /q", "", false},
        {"C:\\App\\remove.bat", "C:\\App\\remove.bat", true},
        {"C:\\WINDOWS", "", false},
        {"\\Top\\top.exe /x", "C:\\Top\\top.exe", true},  // the system drive's root
        {"E:u.exe", "E:\\u.exe", true},                      // another drive's root
        {"", "", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(checker.ProgramFile(c.command), c.fileName) << c.command;
        EXPECT_EQ(checker.IsValidCommand(c.command), c.valid) << c.command;
    }

    files.files.erase("c:\\windows\\rundll32.exe");  // a loader found nowhere
    EXPECT_EQ(checker.ProgramFile("RunDll32 x.dll,y"), "");
}

TEST_F(ValidityTest, WindowsAndSystemDirectoriesAlwaysSearched)
{
    files.path.reset();
    EXPECT_EQ(checker.FindInPath("MsiExec.exe"), "C:\\WINDOWS\\SYSTEM\\MsiExec.exe");
    files.path = "";
    EXPECT_TRUE(checker.IsValidCommand("uninst.exe /x"));
}

TEST_F(ValidityTest, LongPathSearchedInFull)
{
    std::string path;
    for (int i = 0; i < 40; ++i) path += "C:\\Dir" + std::to_string(i) + ";";
    ASSERT_GT(path.size(), 259u);
    files.path = path;
    files.AddFile("C:\\Dir39\\deep.exe");
    EXPECT_TRUE(checker.IsValidCommand("deep.exe /u"));
}

TEST_F(ValidityTest, DoubleByteTrailBytesAreNeverSeparators)
{
    // 0x95 0x5C is one Shift-JIS character whose second byte is '\'.
    locale.doubleByte = true;
    files.path = std::string("C:\\\x95\x5C");
    files.AddFile(std::string("C:\\\x95\x5C\\app.exe"));
    EXPECT_EQ(checker.FindInPath("app.exe"), std::string("C:\\\x95\x5C\\app.exe"));

    locale.doubleByte = false;  // the same bytes read as two characters end in '\'
    files.AddFile(std::string("C:\\\x95\x5C" "app.exe"));
    EXPECT_EQ(checker.FindInPath("app.exe"), std::string("C:\\\x95\x5C" "app.exe"));
}

TEST_F(ValidityTest, ExemptNamesNeedNoLookUp)
{
    files.probes = 0;
    EXPECT_TRUE(checker.IsValidCommand("RunDll32 advpack.dll,LaunchINFSection C:\\x.inf,Uninstall"));
    EXPECT_TRUE(checker.IsValidCommand("%ProgramFiles%\\App\\unins000.exe /x"));
    EXPECT_EQ(files.probes, 0);
    EXPECT_EQ(files.driveQueries, 0);
}

TEST_F(ValidityTest, DriveTypesAskedOncePerLoad)
{
    checker.BeginBatch();
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(checker.IsValidCommand("C:\\Old\\gone" + std::to_string(i) + ".exe"));
    EXPECT_TRUE(checker.IsValidCommand("A:\\SETUP.EXE"));
    EXPECT_EQ(files.driveQueries, 2);  // C:\ once, A:\ once
    files.drives['a'] = 3;             // a drive replaced during the load is not seen
    EXPECT_TRUE(checker.IsValidCommand("A:\\SETUP.EXE"));
    checker.EndBatch();

    // Outside a load every test asks again.
    EXPECT_FALSE(checker.IsValidCommand("A:\\SETUP.EXE"));
    EXPECT_FALSE(checker.IsValidCommand("A:\\SETUP.EXE"));
    EXPECT_EQ(files.driveQueries, 4);
}

TEST_F(ValidityTest, ProbesOncePerCandidateAndNotAgainForTheResult)
{
    files.path = "C:\\A;C:\\B";
    files.probes = 0;
    EXPECT_FALSE(checker.IsValidCommand("C:\\Old\\gone.exe"));
    EXPECT_EQ(files.probes, 1 + 4);  // the name, two Path entries, Windows and system directories
    files.probes = 0;
    EXPECT_TRUE(checker.IsValidCommand("\"C:\\Program Files\\App\\uninst.exe\" /S"));
    EXPECT_EQ(files.probes, 1);
}

}  // namespace
