#include <gtest/gtest.h>

#include "fakes/CoreHarness.h"

#include "app/MainFrm.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeMainView.h"
#include "fakes/FakeRegistry.h"

using namespace quillet;
using namespace quillet::fakes;

namespace {

const std::string kKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

class FindTest : public ::testing::Test, protected CoreHarness {
protected:
    FindTest() { main.Catalogue().ApplySortState(0, true); }

    // Sorted by name: Alpha, Beta, Caf\xC3\xA9, Gamma.
    void Load()
    {
        Entry("{GAMMA-3}", "Gamma", "C:\\Gamma\\Uninst.exe /S");
        auto& alpha = Entry("alpha-key", "Alpha", "C:\\Alpha\\remove.exe");
        FakeRegistry::Set(alpha, "EstimatedSize", kSz, "3072");
        auto& beta = Entry("beta", "Beta", "msiexec /x {B1}");
        FakeRegistry::Set(beta, "InstallDate", kSz, "20240731");
        FakeRegistry::Set(beta, "Publisher", kSz, "Makers");
        Entry("cafe", "Caf\xC3\xA9", "C:\\Caf\xC3\x89\\u.exe");
        main.Catalogue().LoadPrograms();
        view.focused = 0;
        view.programsActive = false;
    }
    void Find(const std::string& text)
    {
        dialogs.findText = text;
        main.Guard([&] { main.Find().FindMMClick(); });
    }
    std::string FocusedCaption() const { return view.focused < 0 ? "-" : main.Rows().at(view.focused).caption; }

};

TEST_F(FindTest, EveryFieldOfARowIsSearched)
{
    Load();
    const std::pair<const char*, const char*> cases[] = {
        {"amm", "Gamma"},          // name
        {"{b1}", "Beta"},          // command line
        {"alpha-k", "Alpha"},      // subkey
        {"3,0 mb", "Alpha"},       // size, as the list writes it (the locale's decimal comma)
        {"31.07.2024", "Beta"},    // installed, in the user's date format
        {"makers", "Beta"},        // publisher
        {"UnInSt", "Gamma"},       // typed in capitals, found in lower case
        {"\xC3\x89", "Caf\xC3\xA9"}, // letters beyond A to Z are folded too
    };
    for (const auto& [text, caption] : cases) {
        view.focused = -1;
        Find(text);
        EXPECT_EQ(FocusedCaption(), caption) << text;
        EXPECT_TRUE(view.programsActive) << text;
        view.programsActive = false;
    }
    EXPECT_TRUE(dialogs.information.empty());
    EXPECT_TRUE(dialogs.resultForms.empty());  // one hit never asks
}

TEST_F(FindTest, NothingFoundReportsTheTextInLowerCase)
{
    Load();
    Find("UnInStALL\xC3\x80");
    Find("");  // an empty text is contained nowhere
    Find("exe C");  // no field holds it in one piece
    EXPECT_EQ(dialogs.information, (std::vector<std::string>{"Search string \"uninstall\xC3\xA0\" not found!",
                                                             "Search string \"\" not found!",
                                                             "Search string \"exe c\" not found!"}));
    EXPECT_EQ(view.focused, 0);
    EXPECT_TRUE(dialogs.resultForms.empty());
}

TEST_F(FindTest, SeveralHitsAreOfferedOncePerCaptionIgnoringCase)
{
    Entry("k1", "Tool", "C:\\one\\x.exe");
    Entry("k2", "tool", "C:\\two\\x.exe");
    Entry("k3", "Zip", "C:\\x.exe");
    Entry("k4", "Tool", "C:\\other.bat");
    Entry("k5", "Empty", "none");
    main.Catalogue().LoadPrograms();  // Empty, tool, Tool, Tool, Zip
    ASSERT_EQ(main.Rows()[1].caption, "tool");

    dialogs.resultOk = false;
    Find("X.EXE");
    ASSERT_EQ(dialogs.resultForms.size(), 1u);
    EXPECT_EQ(dialogs.resultForms[0].List, (std::vector<std::string>{"tool", "Zip"}));
    EXPECT_EQ(dialogs.resultForms[0].ItemIndex, 0);
    EXPECT_EQ(view.focused, 0);  // cancelled: nothing moves

    dialogs.resultOk = true;
    dialogs.resultLine = 1;
    Find("x.exe");
    EXPECT_EQ(FocusedCaption(), "Zip");

    // The first line is preselected: OK at once takes it.
    dialogs.resultLine = -1;
    Find("x.exe");
    EXPECT_EQ(view.focused, 1);
}

TEST_F(FindTest, AHitGoesToTheFirstRowOfThatCaption)
{
    Entry("first", "Twin", "C:\\a.exe");
    Entry("second", "Twin", "C:\\b.exe");
    Entry("zz", "Zed", "C:\\z.exe");
    main.Catalogue().LoadPrograms();
    ASSERT_EQ(main.Rows()[1].subkey, "second");
    Find("second");  // only the second twin's subkey
    EXPECT_EQ(view.focused, 0);
    EXPECT_EQ(main.Rows()[0].subkey, "first");

    // A caption no row carries exactly ends on the last row.
    main.Find().SelectByCaption(kSearchShortcuts, "twin");
    EXPECT_EQ(view.focused, 2);
}

TEST_F(FindTest, DialogStateIsPreselectedAndKept)
{
    Load();
    dialogs.findOk = false;
    Find("gamma");
    EXPECT_EQ(view.focused, 0);  // cancelled: no search
    EXPECT_TRUE(dialogs.information.empty());

    dialogs.findOk = true;
    dialogs.findText.reset();  // OK on the text as it stands
    main.Guard([&] { main.Find().FindMMClick(); });
    EXPECT_EQ(dialogs.findForms.back().Edit, "gamma");
    EXPECT_EQ(FocusedCaption(), "Gamma");

    EXPECT_EQ(dialogs.findForms.back().SearchType, kSearchShortcuts);
    view.logActive = true;
    main.Guard([&] { main.Find().FindMMClick(); });
    EXPECT_EQ(dialogs.findForms.back().SearchType, kSearchLog);
}

TEST_F(FindTest, LogSearchSelectsTheRecordOrFailsWhenTheLogIsHidden)
{
    Load();
    main.Logging().AddLog("Application \"Beta\" successfuly uninstalled.", "Probably cleared: 2 MB", kLogInformation);
    clock.now.second = 30;
    main.Logging().AddLog("Shortcut for \"Gamma\" application added.", "", kLogInformation);
    view.logActive = true;
    dialogs.findIn = kSearchLog;

    Find("CLEARED");  // the comment of the older record
    EXPECT_EQ(view.logFocused, 1);
    EXPECT_TRUE(view.logActive);
    EXPECT_EQ(view.focused, 0);

    Find("08.12.2026");  // both times: two captions
    ASSERT_EQ(dialogs.resultForms.size(), 1u);
    EXPECT_EQ(dialogs.resultForms[0].List,
              (std::vector<std::string>{"08.12.2026 14:05:30", "08.12.2026 14:05:09"}));
    EXPECT_EQ(view.logFocused, 0);

    view.logVisible = false;
    view.logActive = false;
    Find("gamma");
    EXPECT_EQ(view.logFocused, 0);  // focused and selected before the failure
    EXPECT_EQ(dialogs.failures, (std::vector<std::string>{"Cannot focus a disabled or invisible window."}));
}

}  // namespace
