#include <gtest/gtest.h>

#include "fakes/CoreHarness.h"

#include "app/MainFrm.h"
#include "common/Text.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeMainView.h"
#include "fakes/FakeRegistry.h"

using namespace quillet;
using namespace quillet::fakes;

namespace {

const std::string kKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const std::string kGood = "C:\\App\\good.exe";
const std::string kGone = "C:\\App\\gone.exe";

std::string Replaced(std::string text, const std::string& find, const std::string& replacement)
{
    ReplaceAll(text, find, replacement);
    return text;
}

TEST(ReplaceAll, LeftToRightWithoutOverlapsAndNeverRescanned)
{
    EXPECT_EQ(Replaced("a&b", "&", "&&"), "a&&b");
    EXPECT_EQ(Replaced("a&&&b", "&&", "&"), "a&&b");
    EXPECT_EQ(Replaced("", "&", "&&"), "");
    EXPECT_EQ(Replaced("My Big App", " ", "_"), "My_Big_App");
    EXPECT_EQ(Replaced("aaa", "aa", "b"), "ba");
    EXPECT_EQ(Replaced("abab", "ab", "abab"), "abababab");   // inserted text is not searched again
    EXPECT_EQ(Replaced("xa", "ab", "z"), "xa");              // a stretch cut by the end never matches
    EXPECT_EQ(Replaced("Ab ab", "ab", "_"), "Ab _");         // case matters
    EXPECT_EQ(Replaced("a b", "", "_"), "a b");              // nothing to find: unchanged
}

class EditTest : public ::testing::Test, protected CoreHarness {
protected:
    EditTest()
    {
        files.AddFile(kGood);
        main.Catalogue().ApplySortState(0, true);
    }

    FakeRegistry::Key& Entry(const std::string& subkey, const std::string& name, const std::string& command,
                             ValueType type = kSz)
    {
        auto& key = registry.Make(RootKey::LocalMachine, kKey + "\\" + subkey);
        FakeRegistry::Set(key, "DisplayName", type, name + '\0');
        FakeRegistry::Set(key, "UninstallString", type, command + '\0');
        return key;
    }
    FakeRegistry::Key* Subkey(const std::string& subkey) { return registry.Find(RootKey::LocalMachine, kKey + "\\" + subkey); }
    static std::string Value(FakeRegistry::Key* key, const std::string& name)
    {
        if (!key) return "<no key>";
        for (auto& [n, v] : key->values)
            if (n == name) return v.Text();
        return "<no value>";
    }
    static ValueType Type(FakeRegistry::Key* key, const std::string& name)
    {
        for (auto& [n, v] : key->values)
            if (n == name) return v.type;
        return kNone;
    }
    std::string Captions() const
    {
        std::string out;
        for (const auto& row : main.Rows()) out += row.caption + ";";
        return out;
    }
    void Focus(const std::string& caption)
    {
        for (size_t i = 0; i < main.Rows().size(); ++i)
            if (main.Rows()[i].caption == caption) view.focused = static_cast<int>(i);
    }
    // The user types these texts and presses OK.
    void Types(const std::string& name, const std::string& command, bool ok = true)
    {
        dialogs.onProperties = [=](TPropertiesForm& form) {
            form.Display = name;
            form.Uninstall.Text = command;
        };
        dialogs.propertiesOk = ok;
    }
    std::vector<std::string> LogMessages() const
    {
        std::vector<std::string> out;
        for (const auto& r : main.Log().Records()) out.push_back(r.message);
        return out;
    }

};

// ---- New

// Properties shows the entry's reason and, under it, its details as the
// list writes them; New shows neither.
TEST_F(EditTest, PropertiesShowsTheReasonAndTheDetailsNewShowsNeither)
{
    auto& key = Entry("k1", "Alpha", kGood);
    FakeRegistry::Set(key, "Publisher", kSz, "Makers");
    FakeRegistry::Set(key, "InstallDate", kSz, "20240731");
    FakeRegistry::Set(key, "EstimatedSize", kDword, std::string("\x00\x0c\0\0", 4));
    Entry("k2", "Bare", kGone);
    main.Catalogue().LoadPrograms();
    std::vector<std::vector<std::string>> shown;
    dialogs.onProperties = [&](TPropertiesForm& form) { shown.push_back(form.Details); shown.back().push_back(form.Reason); };
    dialogs.propertiesOk = false;
    for (int row : {0, 1}) {
        view.focused = row;
        main.Guard([&] { main.Editing().EditClick(); });
    }
    main.Guard([&] { main.Editing().NewClick(); });
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0], (std::vector<std::string>{"Publisher: Makers", "Installed: 31.07.2024    Size: 3,0 MB",
                                                   "Good: the program is there: " + kGood}));
    EXPECT_EQ(shown[1], std::vector<std::string>{"Bad: the file does not exist: " + kGone});
    EXPECT_EQ(shown[2], std::vector<std::string>{""});
}

TEST_F(EditTest, NewNamesTheSubkeyAfterTheDisplayNameAndCountsPastTakenNames)
{
    main.Catalogue().LoadPrograms();
    Types("My App", kGood);
    main.Editing().NewClick();
    EXPECT_EQ(Value(Subkey("My_App"), "DisplayName"), "My App");

    main.Editing().NewClick();
    EXPECT_EQ(Value(Subkey("My_App_0"), "DisplayName"), "My App");
    main.Editing().NewClick();
    EXPECT_EQ(Value(Subkey("My_App_1"), "UninstallString"), kGood);

    // Taken in another letter case counts: the registry ignores case.
    registry.Make(RootKey::LocalMachine, kKey + "\\other_name");
    Types("Other Name", kGood);
    main.Editing().NewClick();
    EXPECT_EQ(Value(Subkey("Other_Name_0"), "DisplayName"), "Other Name");

    Types("NoBlanks", kGood);
    main.Editing().NewClick();
    EXPECT_EQ(Value(Subkey("NoBlanks"), "DisplayName"), "NoBlanks");
    EXPECT_TRUE(dialogs.failures.empty());
}

TEST_F(EditTest, NewNameWithABackslashStaysOneLevelDeep)
{
    main.Catalogue().LoadPrograms();
    Types("AC\\DC Player 1.0", kGood);
    main.Editing().NewClick();
    EXPECT_EQ(Value(Subkey("AC_DC_Player_1.0"), "DisplayName"), "AC\\DC Player 1.0");
    EXPECT_EQ(Subkey("AC"), nullptr);
    // The next load reads it back.
    main.Catalogue().LoadPrograms();
    EXPECT_EQ(Captions(), "AC\\DC Player 1.0;");
    EXPECT_EQ(main.Rows()[0].subkey, "AC_DC_Player_1.0");
}

TEST_F(EditTest, NewRowStandsSortedFocusedAndRecorded)
{
    Entry("a", "Alpha", kGood);
    Entry("c", "Gamma", kGood);
    main.Catalogue().LoadPrograms();
    view.focused = 1;
    Types("Beta", kGone);
    main.Editing().NewClick();

    ASSERT_EQ(dialogs.properties.size(), 1u);
    EXPECT_EQ(dialogs.properties[0].caption, "New shortcut");
    EXPECT_EQ(dialogs.properties[0].display, "");
    EXPECT_EQ(dialogs.properties[0].uninstall, "");

    EXPECT_EQ(Captions(), "Alpha;Beta;Gamma;");
    EXPECT_EQ(view.rowCount, 3u);
    EXPECT_EQ(view.focused, 1);
    const EntryRow& row = main.Rows()[1];
    EXPECT_EQ(row.command, kGone);
    EXPECT_EQ(row.subkey, "Beta");
    EXPECT_EQ(row.image, kImageBad);  // marked at once
    EXPECT_EQ(main.Catalogue().BadCount, 1);
    EXPECT_EQ(view.panels[1], "Shortcuts / Bad shortcuts: 3 / 1");
    EXPECT_TRUE(view.buttons[Button::DeleteBad]);
    EXPECT_EQ(LogMessages(), std::vector<std::string>{"Shortcut for \"Beta\" application added."});
    EXPECT_EQ(main.Log().Records()[0].comment, "");
    EXPECT_EQ(main.Log().Records()[0].image, kLogInformation);
    // Written as plain strings, the command first.
    EXPECT_EQ(Type(Subkey("Beta"), "UninstallString"), kSz);
    EXPECT_EQ(Subkey("Beta")->values[0].first, "UninstallString");
}

TEST_F(EditTest, NewCancelledOrEmptyWritesNothingButResortsAndRedecides)
{
    Entry("a", "Alpha", kGood);
    main.Catalogue().LoadPrograms();
    const int reorders = view.reorders;
    view.buttons.clear();
    view.focused = 0;

    Types("Typed", kGood, false);
    main.Editing().NewClick();
    Types("", kGood);  // an OK that slipped through with an empty field
    main.Editing().NewClick();
    Types("Name", "");
    main.Editing().NewClick();

    EXPECT_EQ(Subkey("Typed"), nullptr);
    EXPECT_EQ(Subkey("Name"), nullptr);
    EXPECT_EQ(main.Rows().size(), 1u);
    EXPECT_EQ(main.Log().Size(), 0u);
    EXPECT_EQ(view.reorders, reorders + 3);
    EXPECT_TRUE(view.buttons.count(Button::Delete));  // re-decided
    EXPECT_EQ(view.focused, 0);
}

TEST_F(EditTest, NewWithAFailedWriteAddsNoRowAndRecordsNothing)
{
    main.Catalogue().LoadPrograms();
    registry.Deny(kKey + "\\Locked");
    Types("Locked", kGood);
    main.Guard([&] { main.Editing().NewClick(); });
    EXPECT_EQ(dialogs.failures, std::vector<std::string>{"Failed to set data for 'UninstallString'"});
    EXPECT_EQ(Captions(), "");  // no row for a key that is not there
    EXPECT_EQ(main.Log().Size(), 0u);
}

// ---- Properties

TEST_F(EditTest, PropertiesShowsTheRegistryValuesAndWritesPlainStringsToTheSameSubkey)
{
    auto& key = Entry("k1", "Registry Name", "%SystemRoot%\\old.exe", kExpandSz);
    Entry("k2", "Zeta", kGood);
    main.Catalogue().LoadPrograms();
    // The row's caption may lag behind the registry: the registry wins.
    FakeRegistry::Set(key, "DisplayName", kExpandSz, std::string("Renamed Meanwhile") + '\0');
    Focus("Registry Name");
    Types("Zz Renamed", kGone);
    main.Editing().EditClick();

    ASSERT_EQ(dialogs.properties.size(), 1u);
    EXPECT_EQ(dialogs.properties[0].caption, "\"Renamed Meanwhile\" properties");
    EXPECT_EQ(dialogs.properties[0].display, "Renamed Meanwhile");
    EXPECT_EQ(dialogs.properties[0].uninstall, "%SystemRoot%\\old.exe");

    FakeRegistry::Key* k1 = Subkey("k1");
    EXPECT_EQ(Value(k1, "DisplayName"), "Zz Renamed");
    EXPECT_EQ(Value(k1, "UninstallString"), kGone);
    EXPECT_EQ(Type(k1, "DisplayName"), kSz);
    EXPECT_EQ(Type(k1, "UninstallString"), kSz);
    EXPECT_EQ(Subkey("Zz_Renamed"), nullptr);  // the subkey is kept
    EXPECT_EQ(Value(Subkey("k2"), "DisplayName"), "Zeta");

    EXPECT_EQ(Captions(), "Zeta;Zz Renamed;");  // re-sorted
    EXPECT_EQ(view.focused, 1);                   // the focus went with the row
    EXPECT_EQ(main.Rows()[1].subkey, "k1");
    EXPECT_EQ(main.Rows()[1].image, kImageBad);
    EXPECT_EQ(view.panels[1], "Shortcuts / Bad shortcuts: 2 / 1");
    EXPECT_EQ(main.Log().Size(), 0u);  // no record for a change of properties
}

TEST_F(EditTest, PropertiesCancelledChangesNothing)
{
    Entry("k1", "Alpha", kGood, kExpandSz);
    main.Catalogue().LoadPrograms();
    view.focused = 0;
    Types("Changed", kGone, false);
    main.Editing().EditClick();
    EXPECT_EQ(Value(Subkey("k1"), "DisplayName"), "Alpha");
    EXPECT_EQ(Type(Subkey("k1"), "DisplayName"), kExpandSz);
    EXPECT_EQ(Captions(), "Alpha;");
    EXPECT_EQ(main.Rows()[0].command, kGood);
    EXPECT_TRUE(view.changedRows.empty());

    // No focused row: no dialog at all.
    view.focused = -1;
    main.Editing().EditClick();
    EXPECT_EQ(dialogs.properties.size(), 1u);
}

TEST_F(EditTest, PropertiesAfterAReloadDuringTheDialogFindsItsRowBySubkey)
{
    Entry("k1", "Mango", kGood);
    main.Catalogue().LoadPrograms();
    view.focused = 0;
    dialogs.onProperties = [&](TPropertiesForm& form) {
        // An uninstall job ends meanwhile: a new entry sorts first and the
        // reload leaves another key open.
        Entry("k0", "Apple", kGood);
        main.Catalogue().LoadPrograms();
        form.Display = "Mango 2";
    };
    main.Editing().EditClick();
    EXPECT_EQ(Value(Subkey("k1"), "DisplayName"), "Mango 2");
    EXPECT_EQ(Value(Subkey("k0"), "DisplayName"), "Apple");
    EXPECT_EQ(Captions(), "Apple;Mango 2;");
    EXPECT_EQ(view.changedRows, std::vector<int>{1});
}

TEST_F(EditTest, PropertiesOnAVanishedOrLockedSubkey)
{
    Entry("k1", "Alpha", kGood);
    Entry("k2", "Beta", kGood);
    Entry("k3", "Gamma", kGood);
    main.Catalogue().LoadPrograms();
    const auto gone = [](const std::string& name) {
        return std::vector<std::string>{"Uninstall shortcut for \"" + name + "\" application no longer exists."};
    };

    // Vanished before: no dialog, no key made, the user told why.
    registry.Drop(RootKey::LocalMachine, kKey + "\\k1");
    view.focused = 0;
    main.Guard([&] { main.Editing().EditClick(); });
    EXPECT_TRUE(dialogs.properties.empty());
    EXPECT_EQ(Subkey("k1"), nullptr);
    EXPECT_EQ(dialogs.failures, gone("Alpha"));

    // Vanished while the dialog was open: OK brings nothing back.
    dialogs.failures.clear();
    view.focused = 1;
    dialogs.onProperties = [&](TPropertiesForm& form) {
        registry.Drop(RootKey::LocalMachine, kKey + "\\k2");
        form.Display = "Beta again";
    };
    main.Guard([&] { main.Editing().EditClick(); });
    EXPECT_EQ(dialogs.properties.size(), 1u);
    EXPECT_EQ(Subkey("k2"), nullptr);
    EXPECT_EQ(dialogs.failures, gone("Beta"));

    // Locked: no dialog, nothing written anywhere, the failure names the key.
    dialogs.failures.clear();
    dialogs.onProperties = nullptr;
    registry.Deny(kKey + "\\k3");
    view.focused = 2;
    main.Guard([&] { main.Editing().EditClick(); });
    EXPECT_EQ(dialogs.properties.size(), 1u);
    ASSERT_EQ(dialogs.failures.size(), 1u);
    EXPECT_NE(dialogs.failures[0].find("Cannot open the registry key"), std::string::npos) << dialogs.failures[0];
    EXPECT_NE(dialogs.failures[0].find("k3"), std::string::npos) << dialogs.failures[0];
    EXPECT_EQ(main.Log().Size(), 0u);
}

TEST_F(EditTest, PropertiesLockedWhileTheDialogWasOpenWritesNowhere)
{
    Entry("k1", "Alpha", kGood);
    main.Catalogue().LoadPrograms();
    view.focused = 0;
    dialogs.onProperties = [&](TPropertiesForm& form) {
        main.Catalogue().LoadPrograms();  // leaves the Uninstall key's last subkey open
        registry.Deny(kKey + "\\k1");
        form.Display = "Written";
    };
    main.Guard([&] { main.Editing().EditClick(); });
    EXPECT_EQ(dialogs.failures.size(), 1u);
    EXPECT_EQ(Value(Subkey("k1"), "DisplayName"), "Alpha");
    EXPECT_EQ(Captions(), "Alpha;");
}

// ---- Delete

TEST_F(EditTest, DeleteAsksThenRemovesSubkeyRowAndRecords)
{
    Entry("k1", "Alpha", kGood);
    auto& beta = Entry("k2", "Beta & Co", kGood);
    registry.Make(RootKey::LocalMachine, kKey + "\\k2\\Child\\Grandchild");
    (void)beta;
    main.Catalogue().LoadPrograms();
    view.focused = 1;

    dialogs.answerYes = false;
    view.buttons.clear();
    main.Editing().DeleteClick();
    EXPECT_EQ(dialogs.confirmations,
              std::vector<std::string>{"Are you really want to delete shortcut to uninstall \"Beta & Co\" application?"});
    EXPECT_NE(Subkey("k2"), nullptr);
    EXPECT_EQ(Captions(), "Alpha;Beta & Co;");
    EXPECT_EQ(main.Log().Size(), 0u);
    EXPECT_TRUE(view.buttons.empty());  // No does not re-decide

    dialogs.answerYes = true;
    main.Editing().DeleteClick();
    EXPECT_EQ(Subkey("k2"), nullptr);
    EXPECT_NE(Subkey("k1"), nullptr);
    EXPECT_EQ(Captions(), "Alpha;");
    EXPECT_EQ(view.rowCount, 1u);
    EXPECT_EQ(LogMessages(), std::vector<std::string>{"Uninstall shortcut for \"Beta & Co\" application deleted!"});
    EXPECT_EQ(view.focused, -1);
    EXPECT_FALSE(view.buttons[Button::Delete]);
    EXPECT_FALSE(view.buttons[Button::Properties]);
    EXPECT_EQ(view.panels[1], "Shortcuts / Bad shortcuts: 1 / 0");

    // Nothing focused: nothing asked.
    main.Editing().DeleteClick();
    EXPECT_EQ(dialogs.confirmations.size(), 2u);
}

TEST_F(EditTest, RowFocusedAfterADeleteCanBeUninstalledAgain)
{
    Entry("k1", "Alpha", kGood);
    Entry("k2", "Beta", kGood);
    main.Catalogue().LoadPrograms();
    view.focused = 1;
    main.Editing().DeleteClick();
    ASSERT_EQ(view.focused, -1);
    EXPECT_FALSE(view.buttons[Button::AddRemove]);

    // The user picks the remaining row: Enter and the button work again.
    view.focused = 0;
    main.Catalogue().ProgramsChange();
    EXPECT_TRUE(view.buttons[Button::AddRemove]);
    EXPECT_TRUE(view.buttons[Button::Delete]);
    EXPECT_TRUE(main.Views().ShortcutEnabled(MenuItem::AddRemoveMM));
}

TEST_F(EditTest, DeleteQuotesTheCaptionAsListedAndAcceptsAVanishedSubkey)
{
    Entry("k1", "Listed Name", kGood);
    main.Catalogue().LoadPrograms();
    registry.Drop(RootKey::LocalMachine, kKey + "\\k1");
    view.focused = 0;
    main.Editing().DeleteClick();
    EXPECT_EQ(LogMessages(), std::vector<std::string>{"Uninstall shortcut for \"Listed Name\" application deleted!"});
    EXPECT_TRUE(main.Rows().empty());
    EXPECT_TRUE(dialogs.failures.empty());
}

TEST_F(EditTest, DeleteThatFailsIsNotReportedAsDone)
{
    Entry("k1", "Alpha", kGood);
    Entry("k2", "Beta", kGood);
    main.Catalogue().LoadPrograms();
    registry.Protect(kKey + "\\k2");
    view.focused = 1;
    main.Guard([&] { main.Editing().DeleteClick(); });
    EXPECT_EQ(dialogs.failures,
              std::vector<std::string>{"Uninstall shortcut for \"Beta\" application could not be deleted."});
    EXPECT_NE(Subkey("k2"), nullptr);
    EXPECT_EQ(Captions(), "Alpha;Beta;");
    EXPECT_EQ(view.focused, 1);
    EXPECT_EQ(main.Log().Size(), 0u);

    // The Uninstall key itself cannot be opened: nothing happens below any other key.
    registry.Deny(kKey);
    view.focused = 0;
    main.Guard([&] { main.Editing().DeleteClick(); });
    EXPECT_EQ(dialogs.failures.back(), "Uninstall shortcut for \"Alpha\" application could not be deleted.");
    EXPECT_NE(Subkey("k1"), nullptr);
    EXPECT_EQ(main.Log().Size(), 0u);
}

// ---- Delete bad

TEST_F(EditTest, DeleteOfASelectionAsksOnceAndIsOneUndoStep)
{
    Entry("a", "A", kGood);
    Entry("b", "B", kGood);
    Entry("c", "C", kGood);
    Entry("d", "D", kGood);
    main.Catalogue().LoadPrograms();
    view.focused = 0;
    view.selected = {0, 2, 3};
    main.Editing().DeleteClick();
    EXPECT_EQ(dialogs.confirmations, std::vector<std::string>{"Are you sure want to delete 3 shortcut(s)?"});
    EXPECT_EQ(Captions(), "B;");
    EXPECT_EQ(main.Log().Size(), 3u);
    EXPECT_EQ(main.Editing().UndoText(), "Undo delete of 3 entries");
    main.Editing().UndoClick();
    EXPECT_TRUE(main.Editing().History.Empty());
    for (const char* back : {"a", "c", "d"}) EXPECT_EQ(Value(Subkey(back), "UninstallString"), kGood) << back;
}

TEST_F(EditTest, DeleteBadRemovesEveryBadRowAdjacentOnesToo)
{
    Entry("a", "A good", kGood);
    Entry("b", "B bad", kGone);
    Entry("c", "C bad", kGone);
    Entry("d", "D bad", kGone);
    Entry("e", "E good", kGood);
    Entry("f", "F bad", kGone);
    main.Catalogue().LoadPrograms();
    ASSERT_EQ(main.Catalogue().BadCount, 4);

    dialogs.answerYes = false;
    view.buttons.clear();
    view.panels.clear();
    main.Editing().DeleteBadBtnClick();
    EXPECT_EQ(dialogs.confirmations, std::vector<std::string>{"Are you sure want to delete 4 bad shortcut(s)?"});
    EXPECT_EQ(main.Rows().size(), 6u);
    EXPECT_EQ(main.Log().Size(), 0u);
    EXPECT_TRUE(view.buttons[Button::DeleteBad]);  // re-decided even after No
    EXPECT_EQ(view.panels[1], "Shortcuts / Bad shortcuts: 6 / 4");

    dialogs.answerYes = true;
    main.Editing().DeleteBadBtnClick();
    EXPECT_EQ(Captions(), "A good;E good;");
    for (const char* gone : {"b", "c", "d", "f"}) EXPECT_EQ(Subkey(gone), nullptr) << gone;
    EXPECT_EQ(LogMessages(), (std::vector<std::string>{
                                 "Uninstall shortcut for \"F bad\" application deleted!",
                                 "Uninstall shortcut for \"D bad\" application deleted!",
                                 "Uninstall shortcut for \"C bad\" application deleted!",
                                 "Uninstall shortcut for \"B bad\" application deleted!",
                             }));
    EXPECT_EQ(main.Catalogue().BadCount, 0);
    EXPECT_FALSE(view.buttons[Button::DeleteBad]);
    EXPECT_FALSE(view.menuItems[MenuItem::DeleteBadMM]);
}

TEST_F(EditTest, DeleteBadQuotesAndDeletesTheRowsMarkedWhenItAsks)
{
    Entry("a", "Alpha", kGone);
    Entry("b", "Beta", kGood);
    main.Catalogue().LoadPrograms();
    ASSERT_EQ(main.Catalogue().BadCount, 1);
    // A New since the last status update marks another row bad without a recount.
    Types("Gamma", kGone);
    main.Editing().NewClick();
    main.Catalogue().BadCount = 1;
    main.Editing().DeleteBadBtnClick();
    EXPECT_EQ(dialogs.confirmations.back(), "Are you sure want to delete 2 bad shortcut(s)?");
    EXPECT_EQ(Captions(), "Beta;");
}

TEST_F(EditTest, DeleteBadGoesOnPastFailuresAndReportsThemTogether)
{
    Entry("a", "A bad", kGone);
    Entry("b", "B bad", kGone);
    Entry("c", "C bad", kGone);
    Entry("d", "D bad", kGone);
    main.Catalogue().LoadPrograms();
    registry.Protect(kKey + "\\a");
    registry.Protect(kKey + "\\c");
    main.Guard([&] { main.Editing().DeleteBadBtnClick(); });
    EXPECT_EQ(Captions(), "A bad;C bad;");
    EXPECT_EQ(main.Log().Size(), 2u);
    EXPECT_EQ(dialogs.failures, std::vector<std::string>{
                                    "Uninstall shortcuts for these applications could not be deleted:\n\"A bad\"\n\"C bad\""});
    EXPECT_EQ(view.panels[1], "Shortcuts / Bad shortcuts: 2 / 2");  // re-decided before the report
}

}  // namespace
