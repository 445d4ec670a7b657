#include <gtest/gtest.h>

#include "fakes/CoreHarness.h"

#include <fstream>
#include <sstream>

#include "app/MainFrm.h"
#include "editing/Backup.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeFileWriter.h"
#include "fakes/FakeMainView.h"
#include "fakes/FakeRegistry.h"

using namespace quillet;
using namespace quillet::fakes;

namespace {

const std::string kKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const std::string kExe = "C:\\Tools\\Quillet\\Quillet.exe";
const std::string kSaved = "D:\\Saves\\mine.reg";

std::string Golden(const char* name)
{
    std::ifstream in(std::string(QUILLET_GOLDEN_DIR) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class BackupTest : public ::testing::Test, protected CoreHarness {
protected:
    BackupTest() { main.FormCreate(kExe); }

    // Subkeys in the order the golden file lists them, with the skipped ones between.
    void GoldenEntries()
    {
        auto& zeta = Entry("zeta", "Say \"hi\"", "C:\\Apps\\remove.exe /x");
        FakeRegistry::Set(zeta, "Publisher", kSz, std::string("never written\0", 14));
        Entry("A & B \"q\" [x]", "Caf\xC3\xA9 na\xC3\xAFve \xC3\x80\xC3\xBF", "\"C:\\Program Files\\A & B\\un.exe\" /S");
        Entry("noCommand", "Name only", "");
        Entry("expand", "Tab\there\x01\x7F", "%ProgramFiles%\\x\\u.exe", kExpandSz);
        auto& emptyCommand = Entry("emptyCommand", "Shown nowhere", "x");
        FakeRegistry::Set(emptyCommand, "UninstallString", kSz, std::string(1, '\0'));
        Entry("noName", "", "C:\\Apps\\orphan.exe");
        registry.Make(RootKey::LocalMachine, kKey + "\\bare");
        Entry("caf\xC3\xA9", "Ends in backslash\\", "line1\r\nline2 \\\"");
    }

};

TEST(EscapeRegStringTest, DoublesBackslashesAndEscapesQuotesOnly)
{
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"plain text", "plain text"},
        {"C:\\Apps\\remove.exe", "C:\\\\Apps\\\\remove.exe"},
        {"\"quoted\"", "\\\"quoted\\\""},
        {"\\\"", "\\\\\\\""},
        {"\\\\", "\\\\\\\\"},
        {"a\r\nb\tc\x01", "a\r\nb\tc\x01"},
        {"caf\xE9 \x80\xFF", "caf\xE9 \x80\xFF"},
        {"%SystemRoot%\\x", "%SystemRoot%\\\\x"},
    };
    for (const auto& [in, out] : cases) {
        std::string text = in;
        EscapeRegString(text);
        EXPECT_EQ(text, out) << in;
    }
}

TEST(BackupDateTextTest, MonthAndDayInTwoDigitsYearAsItIs)
{
    EXPECT_EQ(BackupDateText(LocalTime{2027, 1, 5}), "2027-01-05");
    EXPECT_EQ(BackupDateText(LocalTime{2026, 12, 7}), "2026-12-07");
    EXPECT_EQ(BackupDateText(LocalTime{2026, 10, 31}), "2026-10-31");
    EXPECT_EQ(BackupDateText(LocalTime{987, 11, 10}), "987-11-10");
    EXPECT_EQ(BackupFileName("2027-01-05"), "Uninstall Backup 2027-01-05.reg");
}

TEST_F(BackupTest, FileMatchesTheGoldenBytes)
{
    GoldenEntries();
    WriteRegBackup(registry, writer, kSaved, locale);
    EXPECT_EQ(writer.files[kSaved], Golden("backup_entries.reg"));
    EXPECT_FALSE(writer.open);
}

TEST_F(BackupTest, EmptyKeyGivesThreeLines)
{
    WriteRegBackup(registry, writer, kSaved, locale);
    EXPECT_EQ(writer.files[kSaved], Golden("backup_empty.reg"));

    // Also when the key does not exist yet: opening it creates it.
    FakeRegistry fresh;
    WriteRegBackup(fresh, writer, "D:\\other.reg", locale);
    EXPECT_EQ(writer.files["D:\\other.reg"], Golden("backup_empty.reg"));
}

TEST_F(BackupTest, LargeKeyIsWrittenInPiecesInEnumerationOrder)
{
    for (int i = 3000; i > 0; --i) Entry("Key" + std::to_string(i), "App " + std::to_string(i), "u.exe");
    WriteRegBackup(registry, writer, kSaved, locale);
    const std::string& file = writer.files[kSaved];
    EXPECT_GT(writer.writes, 1);
    EXPECT_LT(writer.writes, 100);
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 3 + 4 * 3000);
    EXPECT_LT(file.find("Uninstall\\Key3000]"), file.find("Uninstall\\Key1]"));
    const std::string tail = "\r\n\"UninstallString\"=\"u.exe\"\r\n";
    EXPECT_EQ(file.substr(file.size() - tail.size()), tail);
    EXPECT_NE(file.find("Uninstall\\Key1]\r\n\"DisplayName\"=\"App 1\"\r\n"), std::string::npos);
}

TEST_F(BackupTest, FirstBackupMakesTheDefaultFolderAndRemembersTheChosenOne)
{
    clock.now = LocalTime{2027, 1, 5, 10, 0, 0, 2};
    GoldenEntries();
    dialogs.savedAs = kSaved;
    main.Guard([&] { main.Backup().BackupMMClick(); });

    EXPECT_EQ(writer.directories, (std::set<std::string>{"C:\\Tools\\Quillet\\Backup"}));
    ASSERT_EQ(dialogs.saveDialogs.size(), 1u);
    const SaveDialog& shown = dialogs.saveDialogs[0];
    EXPECT_EQ(shown.InitialDir, "C:\\Tools\\Quillet\\Backup");
    EXPECT_EQ(shown.FileName, "Uninstall Backup 2027-01-05.reg");
    EXPECT_EQ(shown.Filter, "Registry files (*.reg)|*.reg");
    EXPECT_EQ(shown.DefaultExt, "*.reg");
    EXPECT_TRUE(shown.OverwritePrompt);
    EXPECT_TRUE(shown.HideReadOnly);
    EXPECT_TRUE(shown.EnableSizing);

    EXPECT_EQ(main.Backup().BackupDir, "D:\\Saves\\");
    EXPECT_EQ(writer.files[kSaved], Golden("backup_entries.reg"));
    EXPECT_EQ(dialogs.information,
              (std::vector<std::string>{"Backup information will be stored into \"D:\\Saves\\mine.reg\" file and can be "
                                        "restored by double clicking on this file or importing into Registry Editor."}));
    EXPECT_TRUE(dialogs.failures.empty());
    EXPECT_TRUE(dialogs.errorBoxes.empty());
    EXPECT_EQ(view.logRows, 0u);  // a backup is not an action of the log

    // The next backup starts where the last one went, and makes no folder.
    writer.directories.clear();
    dialogs.savedAs = "E:\\second.reg";
    main.Guard([&] { main.Backup().BackupMMClick(); });
    EXPECT_EQ(dialogs.saveDialogs.back().InitialDir, "D:\\Saves\\");
    EXPECT_TRUE(writer.directories.empty());
    EXPECT_EQ(main.Backup().BackupDir, "E:\\");
}

TEST_F(BackupTest, CancelWritesNothingButKeepsTheDefaultFolder)
{
    Entry("k", "App", "u.exe");
    dialogs.savedAs.clear();
    main.Guard([&] { main.Backup().BackupMMClick(); });
    EXPECT_EQ(main.Backup().BackupDir, "C:\\Tools\\Quillet\\Backup");
    EXPECT_EQ(writer.directories.size(), 1u);
    EXPECT_TRUE(writer.files.empty());
    EXPECT_TRUE(dialogs.information.empty());
    EXPECT_TRUE(dialogs.errorBoxes.empty());

    // A folder that cannot be made does not stop the dialog.
    main.Backup().BackupDir.clear();
    writer.directories.clear();
    writer.readOnly.insert("C:\\Tools\\Quillet\\Backup");
    main.Guard([&] { main.Backup().BackupMMClick(); });
    EXPECT_EQ(dialogs.saveDialogs.size(), 2u);
    EXPECT_EQ(dialogs.saveDialogs.back().InitialDir, "C:\\Tools\\Quillet\\Backup");
    EXPECT_TRUE(dialogs.failures.empty());
}

TEST_F(BackupTest, FileFailuresAreReportedAndLeaveNoFileBehind)
{
    for (int i = 0; i < 2000; ++i) Entry("Key" + std::to_string(i), "App", "u.exe");
    dialogs.savedAs = kSaved;

    writer.spaceLeft = 70000;  // the disk fills during the second piece
    main.Guard([&] { main.Backup().BackupMMClick(); });
    EXPECT_EQ(writer.files.count(kSaved), 0u);
    EXPECT_FALSE(writer.open);
    EXPECT_EQ(dialogs.errorBoxes, (std::vector<std::string>{"Cannot write backup file \"D:\\Saves\\mine.reg\": There "
                                                            "is not enough space on the disk."}));
    EXPECT_TRUE(dialogs.information.empty());
    EXPECT_TRUE(dialogs.failures.empty());
    EXPECT_EQ(main.Backup().BackupDir, "D:\\Saves\\");  // the choice was made

    // The last piece is stored only on closing.
    writer.spaceLeft = static_cast<size_t>(-1);
    writer.failClose = true;
    main.Guard([&] { main.Backup().BackupMMClick(); });
    EXPECT_EQ(writer.files.count(kSaved), 0u);
    EXPECT_EQ(dialogs.errorBoxes.back(), "Cannot write backup file \"D:\\Saves\\mine.reg\": The device is not ready.");
    EXPECT_TRUE(dialogs.information.empty());

    writer.failClose = false;
    writer.readOnly.insert(kSaved);
    main.Guard([&] { main.Backup().BackupMMClick(); });
    EXPECT_EQ(dialogs.errorBoxes.back(), "Cannot create backup file \"D:\\Saves\\mine.reg\": Access denied.");
    EXPECT_EQ(dialogs.errorBoxes.size(), 3u);
    EXPECT_TRUE(dialogs.information.empty());
    EXPECT_TRUE(dialogs.failures.empty());
}

TEST_F(BackupTest, WrongValueTypeStopsTheExportWithTheGeneralError)
{
    Entry("a", "Fine", "u.exe");
    auto& bad = Entry("b", "", "u.exe");
    FakeRegistry::Set(bad, "DisplayName", kDword, std::string("\x01\0\0\0", 4));
    dialogs.savedAs = kSaved;
    main.Guard([&] { main.Backup().BackupMMClick(); });
    EXPECT_EQ(dialogs.failures, (std::vector<std::string>{"Invalid data type for 'DisplayName'"}));
    EXPECT_TRUE(dialogs.information.empty());
    EXPECT_TRUE(dialogs.errorBoxes.empty());
    EXPECT_EQ(writer.files.count(kSaved), 0u);  // no half backup stays
    EXPECT_FALSE(writer.open);
}

// One name the ANSI code page cannot hold turns the whole file into the
// registry editor's Unicode format, and the information box says so.
TEST_F(BackupTest, ANameOutsideTheCodePageGivesTheUnicodeFormat)
{
    const std::string kDay = "\xE6\x97\xA5";  // U+65E5
    Entry("ascii", "Plain", "u.exe");
    Entry(kDay, "Caf\xC3\xA9 " + kDay, "C:\\" + kDay + "\\u.exe");
    Entry("lines", "a\r\n\xC3\xA9", "x");
    dialogs.savedAs = kSaved;
    main.Guard([&] { main.Backup().BackupMMClick(); });

    const std::string section = "[HKEY_LOCAL_MACHINE\\" + kKey;
    const std::string text = "Windows Registry Editor Version 5.00\r\n\r\n" + section + "]\r\n\r\n" + section +
                             "\\ascii]\r\n\"DisplayName\"=\"Plain\"\r\n\"UninstallString\"=\"u.exe\"\r\n\r\n" + section +
                             "\\" + kDay + "]\r\n\"DisplayName\"=\"Caf\xC3\xA9 " + kDay +
                             "\"\r\n\"UninstallString\"=\"C:\\\\" + kDay + "\\\\u.exe\"\r\n\r\n" + section +
                             "\\lines]\r\n\"DisplayName\"=hex(1):61,00,0d,00,0a,00,e9,00,00,00\r\n"
                             "\"UninstallString\"=\"x\"\r\n";
    EXPECT_EQ(writer.files[kSaved], "\xFF\xFE" + Utf16LeFromUtf8(text));
    EXPECT_EQ(dialogs.information,
              (std::vector<std::string>{"Backup information will be stored into \"D:\\Saves\\mine.reg\" file and can be "
                                        "restored by double clicking on this file or importing into Registry Editor. "
                                        "Some names do not fit the ANSI code page, so the file is in the Unicode "
                                        "format of Registry Editor 5."}));

    // A large file still goes in pieces, the byte order mark only in front.
    for (int i = 3000; i > 0; --i) Entry("Key" + std::to_string(i), "App " + std::to_string(i), "u.exe");
    writer.writes = 0;
    EXPECT_TRUE(WriteRegBackup(registry, writer, kSaved, locale));
    const std::string& file = writer.files[kSaved];
    EXPECT_GT(writer.writes, 1);
    std::string back;
    ASSERT_EQ(file.compare(0, 2, "\xFF\xFE"), 0);
    EXPECT_TRUE(Utf8FromUtf16Le(file.substr(2), back));
    EXPECT_EQ(std::count(back.begin(), back.end(), '\n'), 3 + 4 * 3003);
    EXPECT_NE(back.find("Uninstall\\Key1]\r\n\"DisplayName\"=\"App 1\"\r\n"), std::string::npos);
}

}  // namespace
