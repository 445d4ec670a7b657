#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

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
    // The reason the verdict comes with (Unchecked: not looked at) and its path.
    Why why = Why::Unchecked;
    const char* path = "";
    uint32_t searched = 0;
};

TEST_F(ValidityTest, ReferenceTable)
{
    files.drives['f'] = 3;
    files.notReady.insert('f');
    const Case cases[] = {
        {"\"C:\\Program Files\\App\\uninst.exe\" /S", "C:\\Program Files\\App\\uninst.exe", true, Why::Exists,
         "C:\\Program Files\\App\\uninst.exe"},
        {"C:\\WINDOWS\\uninst.exe -f\"C:\\App\\x.isu\"", "C:\\WINDOWS\\uninst.exe", true, Why::Exists,
         "C:\\WINDOWS\\uninst.exe"},
        {"uninst.exe -a", "C:\\WINDOWS\\uninst.exe", true, Why::OnSearchPath, "C:\\WINDOWS\\uninst.exe"},
        {"MsiExec.exe /X{0001}", "C:\\WINDOWS\\SYSTEM\\MsiExec.exe", true, Why::OnSearchPath,
         "C:\\WINDOWS\\SYSTEM\\MsiExec.exe"},
        {"RunDll32 advpack.dll,LaunchINFSection C:\\x.inf,Uninstall",
         "RunDll32 advpack.dll,LaunchINFSection C:\\x.inf,Uninstall", true, Why::Rundll},
        // Exempt before any look-up, although the file is there too.
        {"rundll32.exe shell32.dll,Control_RunDLL", "C:\\WINDOWS\\rundll32.exe", true, Why::Rundll},
        {"%ProgramFiles%\\App\\unins000.exe", "%ProgramFiles%\\App\\unins000.exe", true, Why::Variable},
        {"A:\\SETUP.EXE /uninstall", "A:\\SETUP.EXE", true, Why::Removable, "A:"},
        {"D:\\setup.exe", "D:\\setup.exe", true, Why::Removable, "D:"},
        {"C:\\Old\\gone.exe", "C:\\Old\\gone.exe", false, Why::NoFolder, "C:\\Old"},
        {"C:\\App\\remove.bat /q", "C:\\App\\remove.bat q", false, Why::NoFile, "C:\\App\\remove.bat q"},
        {"C:\\App\\remove.bat", "C:\\App\\remove.bat", true, Why::Exists, "C:\\App\\remove.bat"},
        {"C:\\WINDOWS", "C:\\WINDOWS", false, Why::Folder, "C:\\WINDOWS"},
        {"C:\\a.exe b.exe x", "C:\\a.exe", false, Why::NoFile, "C:\\a.exe"},
        // Beyond the reference machine: each remaining reason once.
        {"nothere.exe /x", "nothere.exe", false, Why::NotOnSearchPath, "nothere.exe", 4},
        {"App\\gone.exe", "App\\gone.exe", false, Why::NotOnSearchPath, "App\\gone.exe", 4},
        {"E:\\gone.exe", "E:\\gone.exe", false, Why::NoDrive, "E:"},
        {"F:\\App\\x.exe", "F:\\App\\x.exe", false, Why::DriveNotReady, "F:"},
        {"\"\" /q", " q", false, Why::NotOnSearchPath, " q", 4},
        {"\"\"", "", false, Why::NoName},
        {"\\Old\\gone.exe", "\\Old\\gone.exe", false, Why::NoFolder, "C:\\Old"},  // the system drive's root
    };
    for (const Case& c : cases) {
        EXPECT_EQ(checker.CommandToFileName(c.command), c.fileName) << c.command;
        EXPECT_EQ(checker.IsValidCommand(c.command), c.valid) << c.command;
        const Verdict verdict = checker.Judge(c.command);
        EXPECT_EQ(verdict.valid, c.valid) << c.command;
        EXPECT_EQ(verdict.reason.why, c.why) << c.command;
        EXPECT_EQ(verdict.reason.path, c.path) << c.command;
        EXPECT_EQ(verdict.reason.searched, c.searched) << c.command;
        // The same within a load, and again on the second asking.
        checker.BeginBatch();
        for (int round = 0; round < 2; ++round) {
            const Verdict batched = checker.Judge(c.command);
            EXPECT_EQ(batched.valid, c.valid) << c.command;
            EXPECT_EQ(batched.reason.why, c.why) << c.command;
            EXPECT_EQ(batched.reason.path, c.path) << c.command;
        }
        checker.EndBatch();
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

namespace {

// Within a load, the reasons of bad entries cost little beyond their verdicts:
// what the verdicts learnt about folders and drives answers most of it.
TEST_F(ValidityTest, ReasonsWithinALoadAskLittleMore)
{
    std::vector<std::string> commands;
    for (int i = 0; i < 10; ++i) {
        commands.push_back("\"C:\\Old\\App " + std::to_string(i) + "\\uninst.exe\" /S");  // under a gone folder
        commands.push_back("C:\\App\\gone" + std::to_string(i) + ".exe");               // beside a real file
        commands.push_back("nothere" + std::to_string(i) + ".exe /x");
    }
    const auto questions = [&](bool explain) {
        files.probes = files.directoryProbes = files.driveQueries = files.listings = 0;
        checker.BeginBatch();
        for (const std::string& command : commands) {
            if (explain) {
                EXPECT_FALSE(checker.Judge(command).valid) << command;
            } else {
                EXPECT_FALSE(checker.IsValidCommand(command)) << command;
            }
        }
        checker.EndBatch();
        return files.probes + files.directoryProbes + files.driveQueries + files.listings;
    };
    const int verdicts = questions(false);
    // C:\ once, and the first missing file of C:\App before its listing.
    EXPECT_EQ(questions(true), verdicts + 2);
}

TEST(ReasonTextTest, OneLineWithWhatIsMissing)
{
    EXPECT_EQ(ReasonText({Why::NoFolder, 0, "C:\\Old"}), "Bad: the folder does not exist: C:\\Old");
    EXPECT_EQ(ReasonText({Why::NotOnSearchPath, 6, "x.exe"}), "Bad: \"x.exe\" is in none of the 6 search folders");
    EXPECT_EQ(ReasonText({Why::OnSearchPath, 0, "C:\\W\\x.exe"}), "Good: found through the search path at C:\\W\\x.exe");
    EXPECT_EQ(ReasonText({Why::NoFile, 0, "C:\\a\r\nb\tc.exe"}), "Bad: the file does not exist: C:\\a  b c.exe");
    EXPECT_EQ(ReasonText({}), "");
    // Every code has words of its own.
    std::set<std::string> texts;
    for (int why = static_cast<int>(Why::Exists); why <= static_cast<int>(Why::NotStarted); ++why)
        texts.insert(ReasonText({static_cast<Why>(why), 1, "P"}));
    EXPECT_EQ(texts.size(), static_cast<size_t>(Why::NotStarted));
}

}  // namespace
