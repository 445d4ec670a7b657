#include <gtest/gtest.h>

#include <memory>

#include "fakes/CoreHarness.h"

using namespace quillet;
using namespace quillet::fakes;

namespace {

const std::string kGood = "C:\\App\\good.exe";
const std::string kGone = "C:\\App\\gone.exe";
constexpr RegistryView kNative = RegistryView::Native;
constexpr RegistryView k64 = RegistryView::Bits64;
constexpr RegistryView k32 = RegistryView::Bits32;

// The main window's behaviour on a 32-bit Windows (one view) or on a 64-bit
// Windows (both views listed).
class ViewsHarness : protected CoreFakes {
protected:
    explicit ViewsHarness(bool windows64) : windows64_(windows64)
    {
        files.AddFile(kGood);
        ports.windows64 = windows64;
        main = std::make_unique<TMain>(view, ports);
        main->Catalogue().ApplySortState(0, true);
    }
    bool Windows64() const { return windows64_; }
    // The view a test's 64-bit entry lands in: the only one on a 32-bit Windows.
    RegistryView Own64() const { return Windows64() ? k64 : kNative; }

    FakeRegistry::Key& Entry(RegistryView where, const std::string& subkey, const std::string& name,
                             const std::string& command)
    {
        auto& key = registry.Make(RootKey::LocalMachine, kUninstallPath + "\\" + subkey, where);
        FakeRegistry::Set(key, "DisplayName", kSz, name + '\0');
        FakeRegistry::Set(key, "UninstallString", kSz, command + '\0');
        return key;
    }
    FakeRegistry::Key* Subkey(RegistryView where, const std::string& subkey)
    {
        return registry.Find(RootKey::LocalMachine, kUninstallPath + "\\" + subkey, where);
    }
    static std::string Value(FakeRegistry::Key* key, const std::string& name)
    {
        if (!key) return "<no key>";
        for (auto& [n, v] : key->values)
            if (n == name) return v.Text();
        return "<no value>";
    }
    // Each row as "caption@view" in list order.
    std::string Listed() const
    {
        std::string out;
        for (const auto& row : main->Rows())
            out += row.caption + "@" + std::to_string(static_cast<int>(row.view)) + ";";
        return out;
    }
    void Focus(const std::string& caption, RegistryView where)
    {
        for (size_t i = 0; i < main->Rows().size(); ++i)
            if (main->Rows()[i].caption == caption && main->Rows()[i].view == where)
                view.focused = static_cast<int>(i);
    }
    // One entry with the same subkey and name in each view, the 32-bit one bad.
    void Twins()
    {
        Entry(k64, "Twin", "Twin", kGood);
        Entry(k32, "Twin", "Twin", kGone);
        main->Catalogue().LoadPrograms();
    }

    bool windows64_;
    std::unique_ptr<TMain> main;
};

class RegistryViewsTest : public ::testing::TestWithParam<bool>, protected ViewsHarness {
protected:
    RegistryViewsTest() : ViewsHarness(GetParam()) {}
};

// Where the views differ: 64-bit Windows.
class TwoViewsTest : public ::testing::Test, protected ViewsHarness {
protected:
    TwoViewsTest() : ViewsHarness(true) {}
};

INSTANTIATE_TEST_SUITE_P(Windows, RegistryViewsTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Bits64" : "Bits32"; });

TEST_P(RegistryViewsTest, TheListHoldsTheEntriesOfEveryViewTheSystemHas)
{
    Entry(k64, "Same", "Same", kGood);
    Entry(k32, "Same", "Same", kGood);
    Entry(k32, "Only32", "Only 32", kGone);
    Entry(k64, "Only64", "Only 64", kGood);
    main->Catalogue().LoadPrograms();

    const int v64 = static_cast<int>(Own64());
    if (Windows64()) {
        EXPECT_EQ(Listed(), "Only 32@2;Only 64@1;Same@1;Same@2;");  // equal names keep the 64-bit one first
        EXPECT_EQ(view.panels[1], "Shortcuts / Bad shortcuts: 4 / 1");
    } else {
        EXPECT_EQ(Listed(), "Only 64@" + std::to_string(v64) + ";Same@" + std::to_string(v64) + ";");
        EXPECT_EQ(view.panels[1], "Shortcuts / Bad shortcuts: 2 / 0");
        EXPECT_EQ(registry.viewsSet, 0);  // the registry is asked exactly as before
    }
}

TEST_P(RegistryViewsTest, AnEntryIsNamedByItsSubkeyAndItsView)
{
    EXPECT_EQ((EntryKey{"Twin", k64}), (EntryKey{"tWIN", k64}));
    EXPECT_NE((EntryKey{"Twin", k64}), (EntryKey{"Twin", k32}));
    EXPECT_NE((EntryKey{"Twin", kNative}), (EntryKey{"Twin", k64}));
    if (!Windows64()) return;
    Twins();
    Focus("Twin", k32);
    EXPECT_EQ(main->Catalogue().FocusedKey(), (EntryKey{"Twin", k32}));
    EXPECT_EQ(main->Catalogue().IndexOf({"Twin", k32}), view.focused);
    EXPECT_NE(main->Catalogue().IndexOf({"Twin", k64}), view.focused);
    EXPECT_EQ(main->Catalogue().BadKeys(), std::vector<EntryKey>{(EntryKey{"Twin", k32})});
}

TEST_F(TwoViewsTest, DeleteAndDeleteBadDeleteInTheEntrysOwnView)
{
    Twins();
    Entry(k32, "Other", "Other", kGood);
    main->Catalogue().LoadPrograms();
    main->Editing().History.ChangesDir = "C:\\Q\\Backup";
    dialogs.answerYes = true;
    main->Editing().DeleteBadBtnClick();
    EXPECT_EQ(Subkey(k32, "Twin"), nullptr);
    EXPECT_NE(Subkey(k64, "Twin"), nullptr);
    EXPECT_EQ(Listed(), "Other@2;Twin@1;");

    Focus("Other", k32);
    dialogs.answerYes = true;
    main->Editing().DeleteClick();
    EXPECT_EQ(Subkey(k32, "Other"), nullptr);
    EXPECT_EQ(Listed(), "Twin@1;");

    // Undo puts each key back in the view it was taken from, nowhere else.
    main->Editing().UndoClick();
    main->Editing().UndoClick();
    EXPECT_EQ(Value(Subkey(k32, "Other"), "DisplayName"), "Other");
    EXPECT_EQ(Value(Subkey(k32, "Twin"), "UninstallString"), kGone);
    EXPECT_EQ(Value(Subkey(k64, "Twin"), "UninstallString"), kGood);
    EXPECT_EQ(Subkey(k64, "Other"), nullptr);
    EXPECT_EQ(Listed(), "Other@2;Twin@1;Twin@2;");
    ASSERT_EQ(writer.files.size(), 1u);
    EXPECT_NE(writer.files.begin()->second.find("[HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Microsoft\\Windows"
                                                 "\\CurrentVersion\\Uninstall\\Other]"),
              std::string::npos);
}

TEST_F(TwoViewsTest, PropertiesReadsAndWritesTheEntrysOwnView)
{
    Twins();
    Focus("Twin", k32);
    dialogs.onProperties = [](TPropertiesForm& form) {
        EXPECT_EQ(form.Uninstall.Text, kGone);  // the 32-bit entry's command
        form.Display = "Twin 32";
    };
    dialogs.propertiesOk = true;
    main->Editing().EditClick();
    EXPECT_EQ(Value(Subkey(k32, "Twin"), "DisplayName"), "Twin 32");
    EXPECT_EQ(Value(Subkey(k64, "Twin"), "DisplayName"), "Twin");
    EXPECT_EQ(Listed(), "Twin@1;Twin 32@2;");
}

TEST_P(RegistryViewsTest, NewCreatesInTheNativeView)
{
    Entry(k32, "New_App", "Taken in 32", kGood);
    dialogs.onProperties = [](TPropertiesForm& form) {
        form.Display = "New App";
        form.Uninstall.Text = kGood;
    };
    dialogs.propertiesOk = true;
    main->Editing().NewClick();
    // The 32-bit view's name is another key: it does not count as taken.
    EXPECT_EQ(Value(Subkey(Own64(), "New_App"), "DisplayName"), "New App");
    EXPECT_EQ(Value(Subkey(k32, "New_App"), "DisplayName"), "Taken in 32");
    ASSERT_EQ(main->Rows().size(), 1u);
    EXPECT_EQ(main->Rows()[0].Key(), (EntryKey{"New_App", Own64()}));
    main->Catalogue().LoadPrograms();
    EXPECT_EQ(main->Catalogue().IndexOf({"New_App", Own64()}), 0);  // the row New made is the one read back
}

TEST_F(TwoViewsTest, UninstallRunsTheEntrysCommandAndLooksForItThere)
{
    files.AddFile("C:\\App\\u32.exe");
    Entry(k64, "Twin", "Twin", kGood);
    auto& twin32 = Entry(k32, "Twin", "Twin", kGood);
    main->Catalogue().LoadPrograms();
    // The registry's command now differs from the row's in the 32-bit view only.
    FakeRegistry::Set(twin32, "UninstallString", kSz, std::string("C:\\App\\u32.exe") + '\0');
    Focus("Twin", k32);
    main->Job().uninstallClick();
    ASSERT_EQ(runner.started, std::vector<std::string>{"C:\\App\\u32.exe"});
    EXPECT_EQ(main->Job().RunningView, k32);

    // The uninstaller removes its key; the 64-bit twin now has the same name
    // and command, and is still not taken for it.
    registry.SetRootKey(RootKey::LocalMachine);
    registry.SetView(k32);
    ASSERT_TRUE(registry.DeleteKey("\\" + kUninstallPath + "\\Twin"));
    Entry(k64, "Twin", "Twin", "C:\\App\\u32.exe");
    runner.Finish();
    ASSERT_EQ(main->Log().Size(), 1u);
    EXPECT_EQ(main->Log().Records()[0].message, "Application \"Twin\" successfuly uninstalled.");
    EXPECT_EQ(Listed(), "Twin@1;");
}

TEST_P(RegistryViewsTest, SourceColumnSortsAndKeepsItsWidthOnEveryWindows)
{
    using Size = FrameView::Size;
    Entry(k32, "A", "Same", kGood);
    Entry(k64, "B", "Same", kGood);
    Entry(k64, "C", "Other", kGood);
    profile.lines = {"[Main]", "SubKeyWidth=120", "PlatformWidth=95", "[View]", "SortOn=3", "Ascending=1"};
    main->FormCreate("C:\\Tools\\QUILLET.EXE");
    EXPECT_TRUE(dialogs.failures.empty());
    EXPECT_EQ(view.sizes[Size::PlatformWidth], 95);
    EXPECT_EQ(main->Catalogue().Programs.SortColumnIndex(), 3);
    if (Windows64()) {
        EXPECT_EQ(Listed(), "Same@2;Same@1;Other@1;");  // "32-bit" before "64-bit", then as read
        main->Catalogue().ProgramsHeaderClick(3);
        EXPECT_EQ(Listed(), "Same@1;Other@1;Same@2;");
    } else {
        EXPECT_EQ(Listed(), "Same@0;Other@0;");  // one view: every row the same source, as read
    }
    view.sizes[Size::PlatformWidth] = 88;
    main->Settings().FormClose();
    const std::string text = profile.Text();
    SCOPED_TRACE(text);
    EXPECT_NE(text.find("SubKeyWidth=120\r\nPlatformWidth=88\r\n"), std::string::npos);
}

TEST_P(RegistryViewsTest, FindSearchesThePlatformColumnWhereItIsShown)
{
    Entry(k64, "A", "Alpha", kGood);
    Entry(k32, "B", "Beta", kGood);
    main->Catalogue().LoadPrograms();
    dialogs.findText = "32-BIT";
    view.focused = -1;
    main->Guard([&] { main->Find().FindMMClick(); });
    if (Windows64()) {
        EXPECT_TRUE(dialogs.information.empty());
        ASSERT_GE(view.focused, 0);
        EXPECT_EQ(main->Rows()[static_cast<size_t>(view.focused)].caption, "Beta");
    } else {
        EXPECT_EQ(dialogs.information, std::vector<std::string>{"Search string \"32-bit\" not found!"});
    }
}

TEST_P(RegistryViewsTest, BackupWritesEachEntryUnderItsRealPath)
{
    Entry(k64, "Twin", "Twin", kGood);
    Entry(k32, "Twin", "Twin 32", kGone);
    dialogs.savedAs = "D:\\b.reg";
    main->Backup().BackupMMClick();
    const std::string section = "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
    const std::string section32 =
        "[HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
    std::string expected = "REGEDIT4\r\n\r\n" + section + "]\r\n\r\n" + section +
                           "\\Twin]\r\n\"DisplayName\"=\"Twin\"\r\n\"UninstallString\"=\"C:\\\\App\\\\good.exe\"\r\n";
    if (Windows64())
        expected += "\r\n" + section32 + "]\r\n\r\n" + section32 +
                    "\\Twin]\r\n\"DisplayName\"=\"Twin 32\"\r\n\"UninstallString\"=\"C:\\\\App\\\\gone.exe\"\r\n";
    EXPECT_EQ(writer.files["D:\\b.reg"], expected);
    EXPECT_EQ(dialogs.information.size(), 1u);
}

TEST_F(TwoViewsTest, TheTrayMenuUninstallsTheTwinItNamed)
{
    files.AddFile("C:\\App\\u.exe");
    Entry(k64, "Twin", "Twin", "C:\\App\\u.exe");
    Entry(k32, "Twin", "Twin", "C:\\App\\u.exe");
    main->Catalogue().LoadPrograms();
    main->Tray().TrayMenuPopup();
    ASSERT_EQ(main->Tray().TrayItems.size(), 2u);
    const TrayItem item = main->Tray().TrayItems[1];
    ASSERT_EQ(item.view, main->Rows()[1].view);
    view.focused = 0;
    main->Tray().TrayUninstallClick(item);
    EXPECT_EQ(view.focused, 1);
    EXPECT_EQ(main->Job().RunningView, item.view);
}

}  // namespace
