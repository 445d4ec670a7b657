#include <gtest/gtest.h>

#include "app/Tray.h"
#include "catalogue/EntryReader.h"
#include "common/Unicode.h"
#include "fakes/CoreHarness.h"
#include "runner/EntryCommands.h"

using namespace quillet;
using namespace quillet::fakes;

namespace {

const std::string kCode = "{12345678-ABCD-ef01-2345-6789ABCDEF01}";
const std::string kOne("\1\0\0\0", 4);

RegistryValue Sz(const std::string& name, const std::string& text) { return {name, kRegSz, Utf16LeFromUtf8(text)}; }
RegistryValue Dword(const std::string& name, const std::string& bytes) { return {name, kRegDword, bytes}; }

TEST(EntryCommands, QuietModifyAndRepairFormsOfAnEntry)
{
    struct Case {
        std::string subkey;
        std::vector<RegistryValue> values;
        const char *quiet, *modify, *repair;
    };
    const std::string x = "MsiExec.exe /X" + kCode + " /qn", i = "MsiExec.exe /I" + kCode,
                      f = "MsiExec.exe /fomus " + kCode;
    const Case cases[] = {
        {"App", {Sz("UninstallString", "C:\\App\\u.exe"), Sz("QuietUninstallString", " C:\\App\\u.exe /S ")},
         "C:\\App\\u.exe /S", "", ""},
        {"App", {Sz("UninstallString", "C:\\App\\u.exe"), Sz("ModifyPath", "C:\\App\\setup.exe")}, "",
         "C:\\App\\setup.exe", ""},
        {kCode, {Sz("UninstallString", "C:\\App\\u.exe"), Dword("WindowsInstaller", kOne)}, x.c_str(), i.c_str(),
         f.c_str()},
        {kCode, {Dword("WindowsInstaller", std::string("\0\0\0\0", 4))}, "", "", ""},
        {kCode, {Sz("WindowsInstaller", "1")}, "", "", ""},  // the wrong type counts as not there
        {"NotACode", {Dword("WindowsInstaller", kOne)}, "", "", ""},
        {"A", {Sz("UninstallString", "MsiExec.exe /I" + kCode)}, x.c_str(), i.c_str(), f.c_str()},
        {"A", {Sz("uninstallstring", "\"C:\\WINDOWS\\system32\\msiexec\" -x " + kCode)}, x.c_str(), i.c_str(),
         f.c_str()},
        {"A", {Sz("UninstallString", "MsiExec.exe /X" + kCode), Dword("NoModify", kOne), Dword("NoRepair", kOne)},
         x.c_str(), "", ""},
        {"A", {Sz("UninstallString", "MsiExec.exe /X" + kCode + " REBOOT=1")}, "", "", ""},  // more than the code
        {"A", {Sz("UninstallString", "MsiExec.exe /X{1}")}, "", "", ""},
        {"A", {Sz("UninstallString", "NotMsiExec.exe /X" + kCode)}, "", "", ""},
        {"A", {Sz("UninstallString", "C:\\App\\u.exe"), {"QuietUninstallString", kRegSz, "\xff"}}, "", "", ""},
        {"A", {}, "", "", ""},
    };
    for (const Case& c : cases) {
        const CommandValues entry = ReadCommandValues({c.values, {}}, c.subkey);
        EXPECT_EQ(QuietCommand(entry), c.quiet) << c.subkey << " " << c.quiet;
        EXPECT_EQ(ModifyCommand(entry), c.modify) << c.subkey << " " << c.modify;
        EXPECT_EQ(RepairCommand(entry), c.repair) << c.subkey << " " << c.repair;
    }
}

TEST(EntryCommands, AFolderIsLeftWhenItStillHoldsFiles)
{
    FakeFileSystem files;
    files.AddFile("C:\\App\\data\\a.dat", 1048576);
    files.AddFile("C:\\App\\b.dat", 524288);
    files.AddDirectory("C:\\Empty");
    files.AddFile("\\\\server\\share\\c.dat");
    struct Case {
        const char *location, *comment;
    };
    const Case cases[] = {
        {"C:\\App", "Folder left: C:\\App (1,5 MB)"},
        {"\"C:\\App\\\"", "Folder left: C:\\App (1,5 MB)"},
        {"C:\\App\\data", "Folder left: C:\\App\\data (1,0 MB)"},
        {"C:\\Empty", ""},
        {"C:\\", ""},  // a drive or a share is no program's folder
        {"\"C:\\\\\"", ""},
        {"\\\\server\\share\\", ""},
        {"C:\\Gone", ""},
        {"App", ""},  // never against the current folder
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LeftoverComment(c.location, files, ","), c.comment) << c.location;
        if (*c.comment) {
            EXPECT_EQ(LeftFolder(std::string("Probably cleared: 1,0 MB; ") + c.comment), FolderOf(c.location));
        }
    }
    EXPECT_EQ(LeftFolder("Probably cleared: 1,0 MB"), "");
    EXPECT_EQ(LeftFolder("Folder left: App (1 MB)"), "");
}

TEST(EntryCommands, TheJobReadsACommandAsTheListShowsIt)
{
    const std::string command = Utf16LeFromUtf8("C:\\u.exe");
    const struct {
        std::string data;
        const char* shown;
    } cases[] = {
        {command + std::string(2, '\0'), "C:\\u.exe"},
        {command + std::string(1, '\0'), "C:\\u.exe"},           // an odd last byte
        {command + std::string("\x00\xD8", 2), "C:\\u.exe\xED\xA0\x80"},        // a lone surrogate, kept
        {command + std::string(2, '\0') + "x\0", "C:\\u.exe"},  // up to the first NUL
        {"", ""},
    };
    for (const auto& c : cases) {
        FakeRegistry registry;
        auto& key = registry.Make(RootKey::LocalMachine, "E");
        FakeRegistry::Set(key, "DisplayName", kSz, std::string("N\0", 2));
        FakeRegistry::SetRaw(key, "UninstallString", kSz, c.data);
        registry.SetRootKey(RootKey::LocalMachine);
        ASSERT_TRUE(registry.OpenKey("\\E", false));
        EntryRow row;
        std::vector<RegistryValue> values;
        ReadEntry(registry, row, values);
        EXPECT_EQ(row.command, c.shown) << c.shown;
        EXPECT_EQ(ReadCommandValues(registry.ReadContents(), "E").uninstall, c.shown) << c.shown;
    }
}

class UninstallQueueTest : public ::testing::Test, protected CoreHarness {
protected:
    UninstallQueueTest()
    {
        for (const char* name : {"A", "B", "C", "D", "E"}) {
            files.AddFile(std::string("C:\\") + name + "\\u.exe");
            Entry(std::string(name) + "Key", name, std::string("C:\\") + name + "\\u.exe");
        }
        files.freeSpace['C'] = 1000;
        main.Catalogue().ApplySortState(0, true);
        main.Catalogue().LoadPrograms();
        view.focused = 0;
        view.selected = {0, 1, 2, 3, 4};
    }
    // The running uninstaller removes its entry (or not) and ends.
    void End(bool removed)
    {
        const std::string name = main.Job().RunningName;
        if (removed) registry.DeleteKey("\\" + kUninstallPath + "\\" + name + "Key");
        runner.Finish();
    }
    std::vector<std::string> Messages() const
    {
        std::vector<std::string> messages;
        for (const LogRecord& record : main.Log().Records()) messages.insert(messages.begin(), record.message);
        return messages;
    }
};

TEST_F(UninstallQueueTest, OneAtATimeInOrderSkippingWhatChangedAndSummedUp)
{
    main.Job().uninstallClick();
    ASSERT_EQ(dialogs.queueQuestions, std::vector<std::string>{
        "Uninstall 5 programs, one after another?\n\n5 of them cannot be removed quietly and will ask as usual."});
    EXPECT_EQ(runner.started, std::vector<std::string>{"C:\\A\\u.exe"});
    EXPECT_EQ(view.statusText, "Adding or removing \"A\" (1 of 5)");
    End(true);
    EXPECT_EQ(runner.started.size(), 2u);  // the next only after the previous ended
    EXPECT_EQ(view.statusText, "Adding or removing \"B\" (2 of 5)");
    EXPECT_EQ(tray.hint, "Adding or removing \"B\" (2 of 5)");
    // Meanwhile C goes and D gets another command.
    registry.DeleteKey("\\" + kUninstallPath + "\\CKey");
    Entry("DKey", "D", "C:\\A\\u.exe");
    runner.exitCode = 1602;
    End(false);  // cancelled
    End(true);   // E
    EXPECT_EQ(runner.started, (std::vector<std::string>{"C:\\A\\u.exe", "C:\\B\\u.exe", "C:\\E\\u.exe"}));
    EXPECT_EQ(Messages(), (std::vector<std::string>{
                              "Application \"A\" successfuly uninstalled.", "Application \"B\" was not uninstalled.",
                              "Application \"C\" was skipped: its entry is gone or changed.",
                              "Application \"D\" was skipped: its entry is gone or changed.",
                              "Application \"E\" successfuly uninstalled.", "2 of 5 programs uninstalled"}));
    EXPECT_EQ(main.Log().Records()[4].comment, "Exit code: 1602");
    EXPECT_FALSE(main.Job().Running);
    EXPECT_FALSE(main.Job().Queue().Active());
    EXPECT_EQ(view.statusText, "Ready...");
    EXPECT_EQ(tray.hint, "Quillet");
}

TEST_F(UninstallQueueTest, TheTraysItemRunsItsEntryAloneWhateverIsSelected)
{
    TrayItem item;
    item.caption = "C";
    item.hint = "C:\\C\\u.exe";
    main.Tray().TrayUninstallClick(item);
    EXPECT_TRUE(dialogs.queueQuestions.empty());
    EXPECT_EQ(runner.started, std::vector<std::string>{"C:\\C\\u.exe"});
}

TEST_F(UninstallQueueTest, TheTrayTipKeepsTheCountAndShortensALongName)
{
    const std::string name = "B\xC3\xA4" + std::string(70, 'x');
    files.AddFile("C:\\B\\v.exe");
    Entry("BKey", name, "C:\\B\\v.exe");
    main.Catalogue().LoadPrograms();
    main.Job().uninstallClick();
    End(true);
    EXPECT_EQ(view.statusText, "Adding or removing \"" + name + "\" (2 of 5)");
    const std::string tip = TrayTip(tray.hint);
    EXPECT_EQ(tip, "Adding or removing \"B\xC3\xA4" + std::string(30, 'x') + "\xE2\x80\xA6\" (2 of 5)");
    EXPECT_EQ(Utf16Length(tip), kTrayTipLength);
}

TEST_F(UninstallQueueTest, StoppedTheRunningOneEndsAndNoMoreStart)
{
    main.Job().uninstallClick();
    End(true);
    EXPECT_TRUE(main.Job().CanStop());
    dialogs.answerYes = false;
    EXPECT_FALSE(main.Job().FormCloseQuery());  // closing asks as during one job
    main.Job().StopClick();
    EXPECT_FALSE(main.Job().CanStop());
    EXPECT_TRUE(main.Job().Running);  // never ended by us
    End(true);
    EXPECT_EQ(runner.started.size(), 2u);
    EXPECT_EQ(Messages().back(), "2 of 5 programs uninstalled");
    EXPECT_FALSE(main.Job().Running);
}

TEST_F(UninstallQueueTest, DeclinedStartsNothingAndFailedStartsMoveOn)
{
    dialogs.answerYes = false;
    main.Job().uninstallClick();
    EXPECT_TRUE(runner.started.empty());
    dialogs.answerYes = true;
    runner.startResult = false;
    view.selected = {0, 1};
    main.Job().uninstallClick();
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Uninstall program for \"A\" application not found!",
                                                    "Uninstall program for \"B\" application not found!",
                                                    "0 of 2 programs uninstalled"}));
    EXPECT_FALSE(main.Job().Running);
}

TEST_F(UninstallQueueTest, QuietlyWhereTheEntryAllowsIt)
{
    FakeRegistry::Set(*registry.Find(RootKey::LocalMachine, kUninstallPath + "\\AKey"), "QuietUninstallString", kSz,
                      std::string("C:\\A\\u.exe /S") + '\0');
    Entry("BKey", "B", "MsiExec.exe /I" + kCode);
    files.AddFile("C:\\WINDOWS\\SYSTEM\\msiexec.exe");
    main.Catalogue().LoadPrograms();
    view.selected = {0, 1, 2};
    dialogs.quietChoice = true;
    main.Job().uninstallClick();
    EXPECT_EQ(dialogs.queueQuestions.back(),
              "Uninstall 3 programs, one after another?\n\n1 of them cannot be removed quietly and will ask as usual.");
    End(true);
    End(true);
    End(true);
    EXPECT_EQ(runner.started,
              (std::vector<std::string>{"C:\\A\\u.exe /S", "MsiExec.exe /X" + kCode + " /qn", "C:\\C\\u.exe"}));
    EXPECT_EQ(runner.programs[1], "C:\\WINDOWS\\SYSTEM\\MsiExec.exe");  // the same validity test finds the program
    EXPECT_EQ(Messages().back(), "3 of 3 programs uninstalled");

    // One row, Edit > Remove quietly: asked, then the quiet form.
    Entry("FKey", "F", "C:\\A\\u.exe");
    FakeRegistry::Set(*registry.Find(RootKey::LocalMachine, kUninstallPath + "\\FKey"), "QuietUninstallString", kSz,
                      std::string("C:\\A\\u.exe /quiet") + '\0');
    main.Catalogue().LoadPrograms();
    view.selected.clear();
    view.focused = main.Catalogue().IndexOf({"FKey", RegistryView::Native});
    main.Job().RemoveQuietlyClick();
    EXPECT_EQ(dialogs.confirmations.back(), "Remove \"F\" quietly, without its uninstaller's questions?");
    EXPECT_EQ(runner.started.back(), "C:\\A\\u.exe /quiet");
    EXPECT_EQ(view.statusText, "Adding or removing \"F\"");
}

TEST_F(UninstallQueueTest, ASuccessNamesTheFolderLeftAndItsDrive)
{
    files.AddFile("D:\\Apps\\A\\settings.ini", 2097152);
    files.freeSpace['D'] = 5000;
    FakeRegistry::Set(*registry.Find(RootKey::LocalMachine, kUninstallPath + "\\AKey"), "InstallLocation", kSz,
                      std::string("D:\\Apps\\A\\") + '\0');
    view.selected.clear();
    main.Job().uninstallClick();
    End(true);
    EXPECT_EQ(files.freeSpaceQueries, (std::vector<char>{'D', 'D'}));
    EXPECT_EQ(main.Log().Records()[0].comment, "Probably cleared: 0,0 MB; Folder left: D:\\Apps\\A (2,0 MB)");
    EXPECT_EQ(Messages().size(), 1u);  // no summary for one
}

TEST_F(UninstallQueueTest, ModifyAndRepairRunTheirCommandAndJudgeNoRemoval)
{
    Entry(kCode, "Msi", "MsiExec.exe /X" + kCode);
    FakeRegistry::Set(*registry.Find(RootKey::LocalMachine, kUninstallPath + "\\" + kCode), "NoRepair", kDword, kOne);
    files.AddFile("C:\\WINDOWS\\SYSTEM\\msiexec.exe");
    main.Catalogue().LoadPrograms();
    view.selected.clear();
    EXPECT_FALSE(main.Job().CanModify());  // "A" allows neither
    view.focused = main.Catalogue().IndexOf({kCode, RegistryView::Native});
    EXPECT_TRUE(main.Job().CanModify());
    EXPECT_FALSE(main.Job().CanRepair());
    main.Job().ModifyClick();
    EXPECT_EQ(runner.started, std::vector<std::string>{"MsiExec.exe /I" + kCode});
    EXPECT_EQ(view.statusText, "Modifying \"Msi\"");
    runner.Finish();
    EXPECT_EQ(Messages(), std::vector<std::string>{"Modify of \"Msi\" ran: MsiExec.exe /I" + kCode});
}

}  // namespace
