#include <gtest/gtest.h>

#include "fakes/CoreHarness.h"

#include "app/MainFrm.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeMainView.h"
#include "fakes/FakeRegistry.h"
#include "runner/Launch.h"
#include "runner/EntryCommands.h"
#include "runner/UninstallJob.h"

using namespace quillet;
using namespace quillet::fakes;

namespace {

const std::string kKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

std::string ExtractFolder(const std::string& path) { return path.substr(0, path.find_last_of('\\') + 1); }

TEST(FreeSpaceComment, MegabytesWithOneDecimal)
{
    struct Case {
        int64_t before, after;
        const char* comment;
    };
    const Case cases[] = {
        {1000, 1000 + 3250585, "Probably cleared: 3,1 MB"},
        {600000, 600000 - 524288, "Probably added: 0,5 MB"},
        {5, 5, "Probably cleared: 0,0 MB"},
        {0, 52428, "Probably cleared: 0,0 MB"},   // just under 0.05 MB
        {0, 52429, "Probably cleared: 0,1 MB"},   // just over: rounds up
        {-1, -1, "Probably cleared: 0,0 MB"},     // both measurements failed
        {0, 10737418240, "Probably cleared: 10240,0 MB"},  // no thousands separator
        {0, INT64_MAX, "Probably cleared: 8796093022208,0 MB"},
        {INT64_MAX, 0, "Probably added: 8796093022208,0 MB"},
    };
    for (const Case& c : cases) EXPECT_EQ(FreeSpaceComment(c.before, c.after, ","), c.comment) << c.comment;
    EXPECT_EQ(FreeSpaceComment(0, 3250585, "."), "Probably cleared: 3.1 MB");
}

TEST(JobDrive, TheInstallFolderElseTheProgramFileAndOnlyInTheFormXColon)
{
    struct Case {
        const char *location, *program;
        char drive;
    };
    const Case cases[] = {
        {"", "C:\\App\\u.exe", 'C'},
        {"", "d:\\u.exe", 'd'},
        {"", "\"C:\\Program Files\\App\\uninst.exe\"", 'C'},
        {"", "MsiExec.exe", 0},  // a first letter alone is no drive
        {"", "C:\\WINDOWS\\system32\\msiexec.exe", 'C'},
        {"E:\\Games\\App\\", "C:\\WINDOWS\\system32\\msiexec.exe", 'E'},
        {"\"E:\\Games\\App\"", "C:\\u.exe", 'E'},
        {"Games\\App", "C:\\u.exe", 'C'},  // not a full path
        {"", "%ProgramFiles%\\u.exe", 0},
        {"", "\"\"", 0},
        {"", "\"", 0},
        {"", "", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(JobDrive(c.location, c.program), c.drive) << c.location << c.program;
}

TEST(PlanLaunch, TheProgramIsAlwaysNamedAndRunsInItsOwnFolder)
{
    struct Case {
        const char *program, *commandLine, *system;
        ProcessLaunch launch;
    };
    const std::string cmd = "\"C:\\WIN\\SYSTEM32\\cmd.exe\" /d /v:off /s /c ";
    const Case cases[] = {
        {"C:\\App\\uninst.exe", "\"C:\\App\\uninst.exe\" /S", "C:\\WIN\\SYSTEM32",
         {"C:\\App\\uninst.exe", "\"C:\\App\\uninst.exe\" /S", "C:\\App\\"}},
        {"C:\\WIN\\SYSTEM32\\msiexec.exe", "MsiExec.exe /X{1}", "C:\\WIN\\SYSTEM32",
         {"C:\\WIN\\SYSTEM32\\msiexec.exe", "MsiExec.exe /X{1}", "C:\\WIN\\SYSTEM32\\"}},
        // Batch files through the interpreter, the name quoted so that & stays a character.
        {"C:\\A&B\\remove.BAT", "C:\\A&B\\remove.BAT", "C:\\WIN\\SYSTEM32",
         {"C:\\WIN\\SYSTEM32\\cmd.exe", cmd + "\"\"C:\\A&B\\remove.BAT\"\"", "C:\\A&B\\"}},
        {"C:\\App\\x.cmd", "\"C:\\App\\x.cmd\"", "C:\\",
         {"C:\\cmd.exe", "\"C:\\cmd.exe\" /d /v:off /s /c \"\"C:\\App\\x.cmd\"\"", "C:\\App\\"}},
        {"C:\\%TEMP%\\x.bat", "C:\\%TEMP%\\x.bat", "C:\\WIN\\SYSTEM32", {}},  // the interpreter would expand it
        {"C:\\App\\x.bat", "C:\\App\\x.bat", "", {}},
        {"", "C:\\App\\uninst.exe", "C:\\WIN\\SYSTEM32", {}},
    };
    for (const Case& c : cases) {
        const ProcessLaunch launch = PlanLaunch(c.program, ExtractFolder(c.program), c.commandLine, c.system);
        EXPECT_EQ(launch.application, c.launch.application) << c.program;
        EXPECT_EQ(launch.commandLine, c.launch.commandLine) << c.program;
        EXPECT_EQ(launch.directory, c.launch.directory) << c.program;
    }
}

class UninstallJobTest : public ::testing::Test, protected CoreHarness {
protected:
    UninstallJobTest()
    {
        files.AddFile("C:\\App\\uninst.exe");
        files.AddFile("C:\\Other\\uninst.exe");
        files.freeSpace['C'] = 100000000;
        Entry("AppKey", "App", "\"C:\\App\\uninst.exe\" /S");
        Entry("OtherKey", "Other", "C:\\Other\\uninst.exe");
        main.Catalogue().ApplySortState(0, true);
        main.Catalogue().LoadPrograms();
        view.focused = 0;  // "App"
    }

};

TEST_F(UninstallJobTest, SuccessfulUninstallIsRecordedWithTheFreedSpace)
{
    main.Job().uninstallClick();
    ASSERT_EQ(runner.started, std::vector<std::string>{"\"C:\\App\\uninst.exe\" /S"});
    EXPECT_EQ(runner.programs, std::vector<std::string>{"C:\\App\\uninst.exe"});  // the file the mark was given for
    EXPECT_TRUE(main.Job().Running);
    EXPECT_EQ(main.Job().RunningName, "App");
    EXPECT_EQ(view.statusText, "Adding or removing \"App\"");
    EXPECT_TRUE(view.led);
    EXPECT_EQ(main.Job().FreeBefore, 100000000);
    EXPECT_FALSE(view.buttons[Button::AddRemove]);
    EXPECT_FALSE(view.buttons[Button::Delete]);  // the running entry is focused
    view.focused = 1;
    main.Catalogue().ProgramsChange();
    EXPECT_TRUE(view.buttons[Button::Delete]);  // any other entry can be deleted

    // The uninstaller removes its key and frees 3,250,585 bytes on C:.
    registry.Drop(RootKey::LocalMachine, kKey + "\\AppKey");
    files.freeSpace['C'] += 3250585;
    runner.Finish();

    ASSERT_EQ(main.Log().Size(), 1u);
    const LogRecord& record = main.Log().Records()[0];
    EXPECT_EQ(record.message, "Application \"App\" successfuly uninstalled.");
    EXPECT_EQ(record.comment, "Probably cleared: 3,1 MB");
    EXPECT_EQ(record.image, kLogInformation);
    EXPECT_EQ(files.freeSpaceQueries, (std::vector<char>{'C', 'C'}));
    EXPECT_FALSE(main.Job().Running);
    EXPECT_EQ(main.Job().RunningName, "");
    EXPECT_EQ(main.Job().RunningCommand, "");
    EXPECT_EQ(view.statusText, "Ready...");
    EXPECT_FALSE(view.led);
    EXPECT_EQ(main.Rows().size(), 1u);
    EXPECT_TRUE(view.buttons[Button::AddRemove]);
}

TEST_F(UninstallJobTest, EntryStillListedIsRecordedAsNotUninstalled)
{
    main.Job().uninstallClick();
    runner.exitCode = 1602;
    runner.Finish();  // cancelled: the key stays
    ASSERT_EQ(main.Log().Size(), 1u);
    EXPECT_EQ(main.Log().Records()[0].message, "Application \"App\" was not uninstalled.");
    EXPECT_EQ(main.Log().Records()[0].comment, "Exit code: 1602");
    EXPECT_EQ(main.Log().Records()[0].image, kLogError);
    EXPECT_FALSE(main.Job().Running);
    EXPECT_EQ(view.statusText, "Ready...");
}

TEST_F(UninstallJobTest, OnlyTheSameNameAndCommandCountAsStillThere)
{
    // A twin with the same name and command keeps the entry "listed".
    Entry("Twin", "App", "\"C:\\App\\uninst.exe\" /S");
    main.Catalogue().LoadPrograms();
    view.focused = 0;
    main.Job().uninstallClick();
    registry.Drop(RootKey::LocalMachine, kKey + "\\AppKey");
    runner.Finish();
    ASSERT_EQ(main.Log().Size(), 1u);
    EXPECT_EQ(main.Log().Records()[0].message, "Application \"App\" was not uninstalled.");

    // The same name with another command counts as gone.
    view.focused = 0;
    main.Job().uninstallClick();
    registry.Drop(RootKey::LocalMachine, kKey + "\\Twin");
    Entry("Twin", "App", "C:\\Other\\uninst.exe");
    runner.Finish();
    ASSERT_EQ(main.Log().Size(), 2u);
    EXPECT_EQ(main.Log().Records()[0].message, "Application \"App\" successfuly uninstalled.");
}

TEST_F(UninstallJobTest, CommandReadAfreshFromTheRegistry)
{
    Entry("AppKey", "App", "C:\\Other\\uninst.exe /now");  // changed since the load
    main.Job().uninstallClick();
    EXPECT_EQ(runner.started, std::vector<std::string>{"C:\\Other\\uninst.exe /now"});
    EXPECT_EQ(main.Job().RunningCommand, "C:\\Other\\uninst.exe /now");
}

TEST_F(UninstallJobTest, FailedStartRecordsOneErrorAndEndsTheJob)
{
    runner.startResult = false;
    main.Tray().Hidden = true;
    main.Job().uninstallClick();
    ASSERT_EQ(main.Log().Size(), 1u);
    EXPECT_EQ(main.Log().Records()[0].message, "Uninstall program for \"App\" application not found!");
    EXPECT_EQ(main.Log().Records()[0].image, kLogError);
    EXPECT_EQ(main.Log().Records()[0].comment, "");
    EXPECT_EQ(dialogs.errorBoxes, std::vector<std::string>{"Uninstall program for \"App\" application not found!"});
    EXPECT_FALSE(main.Job().Running);
    EXPECT_EQ(view.statusText, "Ready...");
    EXPECT_FALSE(view.led);
    EXPECT_EQ(main.Rows()[0].image, kImageGood);  // the reload decided the mark again
}

TEST_F(UninstallJobTest, VanishedKeyIsNotCreatedAndTheStartFails)
{
    registry.Drop(RootKey::LocalMachine, kKey + "\\AppKey");
    main.Job().uninstallClick();
    EXPECT_EQ(runner.started, std::vector<std::string>{""});
    EXPECT_EQ(registry.Find(RootKey::LocalMachine, kKey + "\\AppKey"), nullptr);
    EXPECT_EQ(main.Job().FreeBefore, -1);  // an empty command measures nothing
    // The reload no longer lists it, but nothing ran: no success is claimed.
    ASSERT_EQ(main.Log().Size(), 1u);
    EXPECT_EQ(main.Log().Records()[0].message, "Uninstall program for \"App\" application not found!");
    EXPECT_EQ(main.Log().Records()[0].image, kLogError);
    EXPECT_FALSE(main.Job().Running);
    EXPECT_EQ(main.Rows().size(), 1u);
}

TEST_F(UninstallJobTest, ACommandWhoseProgramIsOnlyInUnsafePlacesIsNotFound)
{
    // Planted in the current directory and at the root of a path with blanks.
    files.AddFile("C:\\CWD\\MsiExec.exe");
    files.AddFile("C:\\Program.exe");
    Entry("Msi", "Msi", "MsiExec.exe /X{1}");
    Entry("Blank", "Blank", "C:\\Program Files\\Gone\\u.exe /S");
    main.Catalogue().LoadPrograms();
    for (const char* caption : {"Blank", "Msi"}) {
        int row = 0;
        while (row < static_cast<int>(main.Rows().size()) && main.Rows()[row].caption != caption) ++row;
        ASSERT_LT(row, static_cast<int>(main.Rows().size()));
        EXPECT_EQ(main.Rows()[row].image, kImageBad) << caption;
        view.focused = row;
        main.Job().uninstallClick();
    }
    EXPECT_EQ(runner.programs, (std::vector<std::string>{"", ""}));
    ASSERT_EQ(main.Log().Size(), 2u);  // the entries stay, so only "not found"
    EXPECT_EQ(main.Log().Records()[1].message, "Uninstall program for \"Blank\" application not found!");
    EXPECT_EQ(main.Log().Records()[0].message, "Uninstall program for \"Msi\" application not found!");
}

TEST_F(UninstallJobTest, NothingWithoutAFocusedRowOrDuringAJob)
{
    view.focused = -1;
    main.Job().uninstallClick();
    EXPECT_TRUE(runner.started.empty());

    view.focused = 0;
    main.Job().uninstallClick();
    view.focused = 1;
    main.Job().uninstallClick();  // a second Add/Remove
    EXPECT_EQ(runner.started.size(), 1u);
    EXPECT_EQ(main.Job().RunningName, "App");
}

TEST_F(UninstallJobTest, CloseQueryAsksOnlyDuringAJob)
{
    EXPECT_TRUE(main.Job().FormCloseQuery());
    EXPECT_TRUE(dialogs.confirmations.empty());
    main.Job().uninstallClick();
    dialogs.answerYes = false;
    EXPECT_FALSE(main.Job().FormCloseQuery());
    EXPECT_EQ(dialogs.confirmations, std::vector<std::string>{"Uninstallation in progress! Exit anyway?"});
    EXPECT_TRUE(main.Job().Running);
    dialogs.answerYes = true;
    EXPECT_TRUE(main.Job().FormCloseQuery());
}

TEST_F(UninstallJobTest, AFailingReloadStillEndsTheJob)
{
    main.Job().uninstallClick();
    auto& broken = registry.Make(RootKey::LocalMachine, kKey + "\\Broken");
    FakeRegistry::Set(broken, "DisplayName", kDword, std::string("\1\0\0\0", 4));
    runner.Finish();
    EXPECT_EQ(dialogs.failures, std::vector<std::string>{"Invalid data type for 'DisplayName'"});
    EXPECT_FALSE(main.Job().Running);
    EXPECT_EQ(view.statusText, "Ready...");
}

TEST(RunnerWatch, IdleOnceThenTheEnd)
{
    RunnerWatch watch;
    watch.Started();
    // A console program has no input queue: never idle.
    EXPECT_FALSE(watch.IdleWaitReturned(0xFFFFFFFF).reportIdle);
    EXPECT_TRUE(watch.IdleWaitReturned(258).sleep);
    EXPECT_FALSE(watch.ExitChecked(false, kStillActive));

    // A window program: reported idle the first time only.
    const auto first = watch.IdleWaitReturned(0);
    EXPECT_TRUE(first.reportIdle);
    EXPECT_FALSE(first.sleep);
    const auto second = watch.IdleWaitReturned(0);
    EXPECT_FALSE(second.reportIdle);
    EXPECT_TRUE(second.sleep);
    EXPECT_TRUE(watch.IdleWaitReturned(258).sleep);  // busy again
    EXPECT_TRUE(watch.IdleWaitReturned(0).reportIdle);

    // The end is read from the process: exit code 259 ends it too, once.
    EXPECT_TRUE(watch.ExitChecked(true, kStillActive));
    EXPECT_TRUE(watch.Terminated());
    EXPECT_EQ(watch.ExitCode(), kStillActive);
    EXPECT_FALSE(watch.ExitChecked(true, kStillActive));

    watch.Started();
    EXPECT_FALSE(watch.Terminated());
    EXPECT_TRUE(watch.ExitChecked(true, 3));
    EXPECT_EQ(watch.ExitCode(), 3u);
}

}  // namespace
