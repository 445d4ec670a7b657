#include <gtest/gtest.h>

#include "fakes/CoreHarness.h"

#include "app/MainFrm.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeMainView.h"
#include "fakes/FakeProfile.h"
#include "fakes/FakeRegistry.h"

using namespace quillet;
using namespace quillet::fakes;

namespace {

TEST(TrayRules, TipIsTheShortHintCutTo63Utf16Units)
{
    const std::string x62(62, 'x'), e = "\xC3\xA9", grin = "\xF0\x9F\x98\x80";  // é: one unit; U+1F600: two
    auto times = [](const std::string& s, int n) {
        std::string out;
        for (int i = 0; i < n; ++i) out += s;
        return out;
    };
    const struct {
        std::string hint, tip;
    } cases[] = {
        {"Quillet", "Quillet"},
        {"Short|Long text", "Short"},
        {"|all long", ""},
        {std::string(64, 'x'), std::string(63, 'x')},
        {std::string(64, 'x') + "|y", std::string(63, 'x')},
        {x62 + "\xE6\x97\xA5", x62 + "\xE6\x97\xA5"},  // 63 units in 65 bytes
        {times(e, 64), times(e, 63)},
        {"Adding or removing \"" + times(e, 63) + "\"", "Adding or removing \"" + times(e, 43)},
        {x62 + grin, x62},                      // never half a surrogate pair
        {x62.substr(1) + grin + "y", x62.substr(1) + grin},
    };
    for (const auto& c : cases) EXPECT_EQ(TrayTip(c.hint), c.tip) << c.hint;
}

TEST(TrayRules, FramesCycleThrough27)
{
    int frame = 0;
    std::vector<int> seen;
    for (int i = 0; i < kTrayFrameCount; ++i) seen.push_back(frame = NextTrayFrame(frame, kTrayFrameCount));
    EXPECT_EQ(seen.front(), 1);
    EXPECT_EQ(seen[25], 26);
    EXPECT_EQ(seen.back(), 0);  // back at rest after frame 26
}

class TrayTest : public ::testing::Test, protected CoreHarness {
protected:
    TrayTest()
    {
        files.AddFile("C:\\tj\\a.exe");
        files.AddFile("C:\\tj\\b.exe");
        files.freeSpace['C'] = 1000;
        Entry("k1", "Tom & Jerry", "C:\\tj\\a.exe");
        Entry("k2", "Tom & Jerry", "C:\\tj\\b.exe");
        Entry("k3", "Zed", "C:\\missing.exe");
        main.FormCreate("C:\\Q\\Quillet.exe");
    }

};

TEST_F(TrayTest, SubmenuShowsNamesLiterallyAndPicksTheExactEntry)
{
    EXPECT_EQ(tray.hint, "Quillet");
    main.Tray().TrayMenuPopup();
    ASSERT_EQ(main.Tray().TrayItems.size(), 3u);
    EXPECT_EQ(main.Tray().TrayItems[0].caption, "Tom && Jerry");
    EXPECT_EQ(main.Tray().TrayItems[0].hint, "C:\\tj\\a.exe");
    EXPECT_EQ(main.Tray().TrayItems[1].caption, "Tom && Jerry");
    EXPECT_EQ(main.Tray().TrayItems[1].hint, "C:\\tj\\b.exe");
    EXPECT_EQ(main.Tray().TrayItems[2].image, kImageBad);

    view.focused = 2;
    main.Tray().TrayUninstallClick(main.Tray().TrayItems[1]);
    EXPECT_EQ(view.focused, 1);
    ASSERT_EQ(runner.started.size(), 1u);
    EXPECT_EQ(runner.started[0], "C:\\tj\\b.exe");
    EXPECT_EQ(main.Job().RunningName, "Tom & Jerry");
}

TEST_F(TrayTest, AnItemWithoutItsRowDoesNothing)
{
    main.Tray().TrayMenuPopup();
    TrayItem item = main.Tray().TrayItems[0];
    item.hint = "c:\\tj\\a.exe";  // the command differs in case
    main.Tray().TrayUninstallClick(item);
    item = main.Tray().TrayItems[0];
    item.caption = "Tom && jerry";
    main.Tray().TrayUninstallClick(item);
    EXPECT_TRUE(runner.started.empty());
}

TEST_F(TrayTest, JobDisplayAtStartAndEnd)
{
    tray.calls.clear();
    view.focused = 0;
    main.Job().uninstallClick();
    EXPECT_EQ(tray.calls, (std::vector<std::string>{"hint:Adding or removing \"Tom & Jerry\"", "animated:1",
                                                    "uninstall:0"}));
    // Minimising during the job puts the title back; the animation goes on.
    main.Tray().AppEventsMinimize();
    EXPECT_EQ(tray.hint, "Quillet");
    EXPECT_TRUE(tray.animated);
    EXPECT_TRUE(main.Tray().Hidden);
    EXPECT_FALSE(view.applicationShown);

    tray.calls.clear();
    runner.Finish();
    EXPECT_EQ(tray.calls, (std::vector<std::string>{"hint:Quillet", "animated:0", "uninstall:1"}));
    main.Tray().AppEventsRestore();
    EXPECT_FALSE(main.Tray().Hidden);
    EXPECT_TRUE(view.applicationShown);
}

TEST_F(TrayTest, OpeningWhileHiddenAndIdleReloads)
{
    Entry("k4", "New one", "C:\\tj\\a.exe");
    main.Tray().TrayMenuPopup();
    EXPECT_EQ(main.Tray().TrayItems.size(), 3u);  // shown: the list as it stands
    main.Tray().AppEventsMinimize();
    main.Tray().TrayMenuPopup();
    EXPECT_EQ(main.Tray().TrayItems.size(), 4u);

    Entry("k5", "Another", "C:\\tj\\a.exe");
    view.focused = 0;
    runner.whileRunning = [&] {};
    main.Job().uninstallClick();
    main.Tray().TrayMenuPopup();  // not while a job runs
    EXPECT_EQ(main.Tray().TrayItems.size(), 4u);
}

TEST_F(TrayTest, DoubleClickBringsTheWindowBack)
{
    main.Tray().TrayDblClick();
    EXPECT_EQ(view.broughtToFront, 1);
}

}  // namespace
