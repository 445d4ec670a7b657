#include <gtest/gtest.h>

#include "fakes/CoreHarness.h"

#include "app/MainFrm.h"
#include "catalogue/EntryBatch.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeMainView.h"
#include "fakes/FakeRegistry.h"

using namespace quillet;
using namespace quillet::fakes;

namespace {

const std::string kKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

class LoadProgramsTest : public ::testing::Test, protected CoreHarness {
protected:
    LoadProgramsTest()
    {
        files.AddFile("C:\\App\\good.exe");
        main.Catalogue().ApplySortState(0, true);
    }

    void Entries(int count, int firstBad = -1)
    {
        for (int i = 0; i < count; ++i)
            Entry("Key" + std::to_string(i), "App " + std::to_string(i),
                  i >= firstBad && firstBad >= 0 ? "C:\\App\\gone.exe" : "C:\\App\\good.exe");
    }
    std::string Captions() const
    {
        std::string out;
        for (const auto& row : main.Rows()) out += row.caption + ";";
        return out;
    }

};

TEST_F(LoadProgramsTest, MissingUninstallKeyGivesAnEmptyListAndIsNotCreated)
{
    main.Catalogue().LoadPrograms();
    EXPECT_EQ(registry.Find(RootKey::LocalMachine, kKey), nullptr);  // reading never writes
    EXPECT_EQ(view.rowCount, 0u);
    EXPECT_EQ(view.panels[1], "Shortcuts / Bad shortcuts: 0 / 0");
    EXPECT_EQ(main.Catalogue().BadCount, 0);
    for (Button b : {Button::AddRemove, Button::Delete, Button::Properties, Button::DeleteBad})
        EXPECT_FALSE(view.buttons[b]) << static_cast<int>(b);
    EXPECT_FALSE(view.menuItems[MenuItem::DeleteBadMM]);
    EXPECT_TRUE(dialogs.failures.empty());
}

TEST_F(LoadProgramsTest, RowsSortedWithCountsAndImages)
{
    Entry("b", "Beta", "C:\\App\\gone.exe");
    Entry("a", "Alpha", "\"C:\\App\\good.exe\" /S");
    Entry("c", "Gamma", "rundll32 x.dll,Remove");
    main.Catalogue().LoadPrograms();

    ASSERT_EQ(main.Rows().size(), 3u);
    EXPECT_EQ(view.rowCount, 3u);
    EXPECT_EQ(Captions(), "Alpha;Beta;Gamma;");
    const EntryRow& beta = main.Rows()[1];
    EXPECT_EQ(beta.command, "C:\\App\\gone.exe");
    EXPECT_EQ(beta.subkey, "b");
    EXPECT_EQ(beta.image, kImageBad);
    EXPECT_EQ(main.Rows()[0].image, kImageGood);
    EXPECT_EQ(main.Rows()[2].image, kImageGood);
    EXPECT_EQ(main.Catalogue().BadCount, 1);
    EXPECT_EQ(view.panels[1], "Shortcuts / Bad shortcuts: 3 / 1");
    EXPECT_TRUE(view.buttons[Button::DeleteBad]);
    EXPECT_TRUE(view.menuItems[MenuItem::DeleteBadMM]);
    EXPECT_EQ(view.focused, 0);
    EXPECT_TRUE(view.buttons[Button::AddRemove]);
    EXPECT_TRUE(view.buttons[Button::Delete]);
    EXPECT_TRUE(view.buttons[Button::Properties]);
}

TEST_F(LoadProgramsTest, EntriesWithoutBothValuesAreNotListed)
{
    Entry("noCommand", "Name only", "");
    Entry("noName", "", "C:\\App\\good.exe");
    auto& emptyName = Entry("emptyName", "x", "C:\\App\\good.exe");
    FakeRegistry::Set(emptyName, "DisplayName", kSz, "");  // size 0
    auto& nulName = Entry("nulName", "x", "C:\\App\\good.exe");
    FakeRegistry::Set(nulName, "DisplayName", kSz, std::string("\0hidden", 7));  // empty up to the NUL
    registry.Make(RootKey::LocalMachine, kKey + "\\bare");
    Entry("ok", "Listed", "C:\\App\\good.exe");
    main.Catalogue().LoadPrograms();
    EXPECT_EQ(Captions(), "Listed;");
    EXPECT_EQ(view.panels[1], "Shortcuts / Bad shortcuts: 1 / 0");
}

TEST_F(LoadProgramsTest, ValuesReadAsTextUpToNulAndUnexpanded)
{
    auto& key = Entry("k", "", "");
    FakeRegistry::Set(key, "DisplayName", kExpandSz, std::string("Name\0tail\0", 10));
    FakeRegistry::Set(key, "UninstallString", kExpandSz, "%ProgramFiles%\\x.exe");  // no terminator stored
    main.Catalogue().LoadPrograms();
    ASSERT_EQ(main.Rows().size(), 1u);
    EXPECT_EQ(main.Rows()[0].caption, "Name");
    EXPECT_EQ(main.Rows()[0].command, "%ProgramFiles%\\x.exe");
    EXPECT_EQ(main.Rows()[0].image, kImageGood);
}

TEST_F(LoadProgramsTest, SameNameAndCommandInTwoSubkeysGiveTwoRows)
{
    Entry("One", "Twin", "C:\\App\\good.exe");
    Entry("Two", "Twin", "C:\\App\\good.exe");
    main.Catalogue().LoadPrograms();
    ASSERT_EQ(main.Rows().size(), 2u);
    EXPECT_EQ(main.Rows()[0].subkey, "One");
    EXPECT_EQ(main.Rows()[1].subkey, "Two");
    EXPECT_EQ(main.Rows()[0].caption, main.Rows()[1].caption);
}

TEST_F(LoadProgramsTest, ReloadKeepsThePositionNotTheEntry)
{
    Entries(10);
    main.Catalogue().LoadPrograms();
    view.focused = 7;
    registry.Drop(RootKey::LocalMachine, kKey + "\\Key2");
    main.Catalogue().RefreshClick();
    EXPECT_EQ(view.focused, 7);
    EXPECT_EQ(main.Rows()[7].caption, "App 8");

    for (int i : {3, 4, 5, 6}) registry.Drop(RootKey::LocalMachine, kKey + "\\Key" + std::to_string(i));
    main.Catalogue().RefreshClick();
    ASSERT_EQ(main.Rows().size(), 5u);
    EXPECT_EQ(view.focused, 4);  // clamped to the last row
}

// Each row keeps why it is good or bad; the status bar says it for the row
// focused or pointed at, and the properties dialog for the entry it edits.
TEST_F(LoadProgramsTest, RowsTellWhyTheyAreGoodOrBad)
{
    Entry("a", "Alpha", "C:\\App\\good.exe /S");
    Entry("b", "Beta", "C:\\Gone\\x.exe");
    Entry("c", "Gamma", "RunDll32 x.dll,Remove");
    main.Catalogue().LoadPrograms();
    ASSERT_EQ(main.Rows().size(), 3u);
    EXPECT_EQ(main.Rows()[1].reason.why, Why::NoFolder);
    EXPECT_EQ(main.Catalogue().RowReason(1), "Bad: the folder does not exist: C:\\Gone");
    EXPECT_EQ(main.Catalogue().RowReason(3), "");

    view.focused = 0;
    main.Catalogue().ProgramsChange();
    EXPECT_EQ(view.panels[0], "Good: the program is there: C:\\App\\good.exe");
    main.Catalogue().PointedAt(2);
    EXPECT_EQ(view.panels[0], "Good: run by rundll32, not looked up");
    // A command's word stays while the focus stays on its entry, through a reload too.
    main.Catalogue().SayStatus("word");
    main.Catalogue().ProgramsChange();
    main.Catalogue().LoadPrograms();
    main.Catalogue().ProgramsChange();
    EXPECT_EQ(view.panels[0], "word");
    view.focused = 1;
    main.Catalogue().ProgramsChange();
    EXPECT_EQ(view.panels[0], "Bad: the folder does not exist: C:\\Gone");

    std::string shown = "<not shown>";
    dialogs.onProperties = [&](TPropertiesForm& form) { shown = form.Reason; };
    main.Editing().EditClick();
    EXPECT_EQ(shown, "Bad: the folder does not exist: C:\\Gone");
    main.Editing().NewClick();
    EXPECT_EQ(shown, "");

    // An edit judges the row again and says so for the focused row.
    dialogs.propertiesOk = true;
    dialogs.onProperties = [&](TPropertiesForm& form) { form.Uninstall.Text = "C:\\Elsewhere\\x.exe"; };
    main.Editing().EditClick();
    const int beta = main.Catalogue().IndexOf({"b"});
    EXPECT_EQ(main.Rows()[static_cast<size_t>(beta)].reason.path, "C:\\Elsewhere");
    EXPECT_EQ(view.panels[0], "Bad: the folder does not exist: C:\\Elsewhere");
}

TEST_F(LoadProgramsTest, ReloadWithoutFocusStartsAtTheTopAndTakesTheKeyboard)
{
    Entries(3);
    main.Catalogue().LoadPrograms();
    view.focused = -1;
    view.programsActive = false;
    main.Catalogue().LoadPrograms();
    EXPECT_EQ(view.focused, 0);
    EXPECT_TRUE(view.programsActive);
}

TEST_F(LoadProgramsTest, WrongValueTypeStopsTheLoadKeepingEarlierRows)
{
    Entries(2);
    auto& broken = Entry("Broken", "", "C:\\App\\good.exe");
    FakeRegistry::Set(broken, "DisplayName", kDword, std::string("\x01\0\0\0", 4));
    Entry("After", "After", "C:\\App\\good.exe");

    main.Guard([&] { main.Catalogue().LoadPrograms(); });
    ASSERT_EQ(dialogs.failures.size(), 1u);
    EXPECT_EQ(dialogs.failures[0], "Invalid data type for 'DisplayName'");
    EXPECT_EQ(Captions(), "App 0;App 1;");
    EXPECT_EQ(view.rowCount, 2u);
    EXPECT_EQ(view.panels.count(1), 0u);  // steps after the loop did not run
}

TEST_F(LoadProgramsTest, WrongCommandTypeNamesTheCommandValue)
{
    auto& key = Entry("Bin", "Binary command", "");
    FakeRegistry::Set(key, "UninstallString", kBinary, "C:\\x.exe");
    main.Guard([&] { main.Catalogue().LoadPrograms(); });
    ASSERT_EQ(dialogs.failures.size(), 1u);
    EXPECT_EQ(dialogs.failures[0], "Invalid data type for 'UninstallString'");
}

// Readers on threads read each entry as one accessor alone: captions missing
// (i % 7 == 0), commands of the wrong type (i % 11 == 5), denied keys (i % 13 == 1),
// a name gone; two sources with an empty one between.
TEST(EntryBatchTest, ReadersGiveWhatOneAccessorGives)
{
    FakeRegistry registry;
    EntryKeys keys{RootKey::LocalMachine, RegistryView::Native, "\\" + kKey + "\\", {}};
    for (int i = 0; i < 600; ++i) {
        const std::string name = keys.names.emplace_back("K" + std::to_string(i));
        auto& key = registry.Make(RootKey::LocalMachine, kKey + "\\" + name);
        if (i % 7) FakeRegistry::Set(key, "DisplayName", kSz, "App " + name + '\0');
        FakeRegistry::Set(key, "UninstallString", i % 11 == 5 ? kDword : kSz, "C:\\u.exe" + std::string(i % 5, 'x'));
        FakeRegistry::Set(key, "Publisher", kSz, "Maker " + name);
        if (i % 13 == 1) registry.Deny(kKey + "\\" + name);
    }
    keys.names.push_back("Gone");
    const size_t n = keys.names.size();
    const auto failure = [](const std::exception_ptr& raised) -> std::string {
        try {
            if (raised) std::rethrow_exception(raised);
        } catch (const std::exception& e) {
            return std::string("|") + e.what();
        }
        return "";
    };
    for (const bool detailsToo : {false, true}) {
        std::vector<std::string> answers[2];  // one accessor, readers
        for (const bool readers : {false, true}) {
            registry.readers = readers;
            for (const EntryRead& read : ReadEntryKeys(registry, {keys, {}, keys}, detailsToo))
                answers[readers].push_back(std::to_string(read.listed) + read.row.caption + "|" + read.row.command + "|" +
                                           read.row.details.publisher + "|" + std::to_string(read.row.detailsRead) +
                                           failure(read.failure));
        }
        const std::vector<std::string>& alone = answers[0];
        EXPECT_GT(registry.readersMade, 0);
        EXPECT_EQ(answers[1], alone);
        ASSERT_EQ(alone.size(), 2 * n);
        EXPECT_TRUE(std::equal(alone.begin(), alone.begin() + n, alone.begin() + n));
        EXPECT_EQ(alone[1], "0|||1");
        EXPECT_EQ(alone[2], "1App K2|C:\\u.exexx|" + std::string(detailsToo ? "Maker K2|1" : "|0"));
        EXPECT_EQ(alone[5].substr(alone[5].rfind('|')), "|Invalid data type for 'UninstallString'");
        EXPECT_EQ(alone[7].substr(0, 2), "0|");
    }
}

TEST_F(LoadProgramsTest, SubkeyThatCannotBeOpenedIsSkippedSilently)
{
    Entry("A", "First", "C:\\App\\good.exe");
    Entry("Locked", "Locked", "C:\\App\\good.exe");
    Entry("C", "Third", "C:\\App\\good.exe");
    registry.Deny(kKey + "\\Locked");
    main.Catalogue().LoadPrograms();
    EXPECT_EQ(Captions(), "First;Third;");
    EXPECT_TRUE(dialogs.failures.empty());
}

TEST_F(LoadProgramsTest, UnopenableUninstallKeyGivesAnEmptyList)
{
    Entries(3);
    registry.Deny(kKey);
    main.Catalogue().LoadPrograms();
    EXPECT_TRUE(main.Rows().empty());
    EXPECT_EQ(view.panels[1], "Shortcuts / Bad shortcuts: 0 / 0");
}

TEST_F(LoadProgramsTest, RunningEntryCannotBeDeletedOrEdited)
{
    Entry("a", "Alpha", "C:\\App\\good.exe");
    Entry("b", "Beta", "C:\\App\\good.exe");
    Entry("c", "Alpha", "C:\\App\\other.exe");  // same name, other command
    main.Catalogue().LoadPrograms();
    main.Job().Running = true;
    main.Job().RunningName = "Alpha";
    main.Job().RunningCommand = "C:\\App\\good.exe";
    main.Catalogue().UpdateButtons();
    EXPECT_FALSE(view.buttons[Button::AddRemove]);
    EXPECT_FALSE(view.buttons[Button::Delete]);
    EXPECT_FALSE(view.buttons[Button::Properties]);

    for (int row : {1, 2}) {
        view.focused = row;
        main.Catalogue().ProgramsChange();
        EXPECT_TRUE(view.buttons[Button::Delete]) << row;
        EXPECT_TRUE(view.buttons[Button::Properties]) << row;
        main.Catalogue().UpdateButtons();
        EXPECT_FALSE(view.buttons[Button::AddRemove]) << row;
    }

    // Case matters in the comparison.
    main.Job().RunningName = "alpha";
    view.focused = 0;
    main.Catalogue().ProgramsClick();
    EXPECT_TRUE(view.buttons[Button::Delete]);

    main.Job().Running = false;
    main.Job().RunningName = "Alpha";
    main.Catalogue().UpdateButtons();
    EXPECT_TRUE(view.buttons[Button::AddRemove]);
    EXPECT_TRUE(view.buttons[Button::Delete]);
}

TEST_F(LoadProgramsTest, ClickWithoutFocusedRowChangesNothing)
{
    main.Catalogue().LoadPrograms();
    view.buttons[Button::Delete] = true;
    main.Catalogue().ProgramsClick();
    EXPECT_TRUE(view.buttons[Button::Delete]);
}

TEST_F(LoadProgramsTest, HugeAndOddValuesAreKeptWhole)
{
    std::string bytes;  // every character of Latin-1, and some beyond it
    for (char32_t c = 1; c <= 255; ++c) AppendUtf8(bytes, c);
    bytes += "\xE6\x97\xA5\xF0\x9F\x98\x80";
    const std::string huge(64 * 1024, 'N');
    Entry("Bytes", bytes, "C:\\App\\good.exe " + bytes);
    Entry("Huge", huge, "C:\\App\\" + huge + ".exe");
    main.Catalogue().LoadPrograms();
    ASSERT_EQ(main.Rows().size(), 2u);
    EXPECT_EQ(main.Rows()[0].caption, bytes);
    EXPECT_EQ(main.Rows()[1].caption.size(), huge.size());
    EXPECT_EQ(main.Rows()[1].image, kImageBad);
}

TEST_F(LoadProgramsTest, TenThousandSubkeys)
{
    Entries(10000, 8000);
    main.Catalogue().LoadPrograms();
    EXPECT_EQ(main.Rows().size(), 10000u);
    EXPECT_EQ(main.Catalogue().BadCount, 2000);
    EXPECT_EQ(view.panels[1], "Shortcuts / Bad shortcuts: 10000 / 2000");
}

TEST_F(LoadProgramsTest, EachReloadSeesTheDrivesAfresh)
{
    files.drives['a'] = 2;
    Entry("Floppy", "From floppy", "A:\\SETUP.EXE /u");
    main.Catalogue().LoadPrograms();
    EXPECT_EQ(main.Rows()[0].image, kImageGood);
    files.drives['a'] = 3;
    main.Catalogue().LoadPrograms();
    EXPECT_EQ(main.Rows()[0].image, kImageBad);
}

TEST_F(LoadProgramsTest, StartUpDerivesTheSettingsFileAndLoads)
{
    Entries(2);
    main.Tray().Hidden = true;
    main.FormCreate("C:\\Tools\\APP.EXE");
    EXPECT_EQ(main.Settings().SettingsFile(), "c:\\tools\\app.ini");
    EXPECT_FALSE(main.Tray().Hidden);
    EXPECT_EQ(main.Rows().size(), 2u);
}

TEST_F(LoadProgramsTest, StartUpShowsALoadErrorAndCarriesOn)
{
    auto& key = Entry("Bad", "", "x");
    FakeRegistry::Set(key, "DisplayName", kMultiSz, std::string("a\0b\0\0", 5));
    main.FormCreate("C:\\Q\\Quillet.exe");
    EXPECT_EQ(dialogs.failures, std::vector<std::string>{"Invalid data type for 'DisplayName'"});
    EXPECT_EQ(main.Settings().SettingsFile(), "c:\\q\\quillet.ini");
}

}  // namespace

namespace {

// A load asks for the search path and the system's folders once; the next
// load asks again, so a changed path judges anew.
TEST_F(LoadProgramsTest, EachLoadSeesTheSearchPathAsItIsThen)
{
    files.AddFile("C:\\Tools\\helper.exe");
    Entry("k1", "Helper", "helper.exe /x");
    files.path = "C:\\Elsewhere";
    main.Catalogue().LoadPrograms();
    ASSERT_EQ(main.Rows().size(), 1u);
    EXPECT_EQ(main.Rows()[0].image, kImageBad);
    files.path = "C:\\Elsewhere;C:\\Tools";
    files.systemDirectory = "C:\\WINNT\\SYSTEM32";
    main.Catalogue().LoadPrograms();
    EXPECT_EQ(main.Rows()[0].image, kImageGood);
    EXPECT_EQ(main.Rows()[0].reason.path, "C:\\Tools\\helper.exe");
}

}  // namespace
