#include <gtest/gtest.h>

#include <string>

#include "app/MainFrm.h"
#include "fakes/CoreHarness.h"

using namespace quillet;
using namespace quillet::fakes;

namespace {

// The list on the fakes, with the shell's timer and change source as counters.
class LiveListTest : public ::testing::Test, protected CoreHarness {
protected:
    LiveListTest()
    {
        files.AddFile("C:\\App\\good.exe");
        main.Catalogue().ApplySortState(0, true);
        LiveList& live = main.Live();
        live.StartTimer = [this](int ms) {
            EXPECT_EQ(ms, LiveList::kSettleMs);
            ++timerStarts;
            timerRunning = true;
        };
        live.StopTimer = [this] { timerRunning = false; };
        live.Absorb = [this] { ++absorbed; };
        live.FollowSources = [this] { followed.push_back(main.Catalogue().Sources().size()); };
        for (const char* name : {"B", "D", "F", "H"}) Entry(name, name, "C:\\App\\good.exe");
        main.Catalogue().LoadPrograms();
    }
    // What the shell does when the timer fires, then when the queue is empty.
    void Fire()
    {
        ASSERT_TRUE(timerRunning);
        main.Live().TimerFired();
        EXPECT_FALSE(timerRunning);  // one-shot: nothing ticks afterwards
    }
    void Remove(const std::string& subkey) { registry.Drop(RootKey::LocalMachine, kUninstallPath + "\\" + subkey); }
    std::string Focused() { return main.Catalogue().FocusedKey().subkey; }

    int timerStarts = 0;
    bool timerRunning = false;
    int absorbed = 0;
    std::vector<size_t> followed;  // the sources each load read, as the shell is told them
};

TEST_F(LiveListTest, ABurstReloadsOnceWhenItSettles)
{
    view.focused = 1;  // D
    for (const char* name : {"A", "C", "E"}) {
        Entry(name, name, "C:\\App\\good.exe");
        main.Live().RegistryChanged();  // each change waits anew
    }
    EXPECT_EQ(timerStarts, 3);
    main.Live().Idle();
    EXPECT_EQ(main.Rows().size(), 4u);  // not before the burst settled
    Fire();
    main.Live().Idle();
    ASSERT_EQ(main.Rows().size(), 7u);
    EXPECT_EQ(Focused(), "D");  // the entry, not the row: D is now row 3
    EXPECT_EQ(view.focused, 3);
    EXPECT_EQ(absorbed, 2);  // the first load, then this one
    main.Live().Idle();      // nothing more is due
    EXPECT_EQ(absorbed, 2);
    // Each load, once it has read them, has the shell follow its sources' keys.
    EXPECT_EQ(followed, (std::vector<size_t>{2, 2}));
}

TEST_F(LiveListTest, KeepsTheSortTheScrollAndTheActiveControl)
{
    main.Catalogue().ProgramsHeaderClick(0);  // name, descending: H F D B
    view.focused = main.Catalogue().IndexOf({"F"});
    view.scroll = 1;
    view.programsActive = false;
    Entry("G", "G", "C:\\App\\gone.exe");
    main.Live().RegistryChanged();
    Fire();
    main.Live().Idle();
    ASSERT_EQ(main.Rows().size(), 5u);
    EXPECT_EQ(main.Rows()[0].caption, "H");
    EXPECT_EQ(main.Rows()[1].caption, "G");
    EXPECT_EQ(main.Rows()[1].image, kImageBad);
    EXPECT_EQ(Focused(), "F");
    EXPECT_EQ(view.scroll, 1);
    EXPECT_FALSE(view.programsActive);  // the log keeps the keyboard if it had it
    EXPECT_EQ(view.panels[1], "Shortcuts / Bad shortcuts: 5 / 1");
}

TEST_F(LiveListTest, AFocusedEntryRemovedOutsideMovesTheFocusAsRefreshWould)
{
    view.focused = 1;  // D
    Remove("D");
    main.Live().RegistryChanged();
    Fire();
    main.Live().Idle();
    ASSERT_EQ(main.Rows().size(), 3u);
    EXPECT_EQ(view.focused, 1);  // the same row, as F5 leaves it
    EXPECT_EQ(Focused(), "F");
    Remove("F");
    Remove("H");
    main.Live().RegistryChanged();
    Fire();
    main.Live().Idle();
    EXPECT_EQ(view.focused, 0);  // clamped to the last row
}

TEST_F(LiveListTest, NeverWhileABoxIsOpenButRightAfter)
{
    view.focused = 0;  // B
    // A change arrives and settles while Delete asks.
    dialogs.answerYes = false;
    dialogs.whileOpen = [&] {
        Entry("A", "A", "C:\\App\\good.exe");
        main.Live().RegistryChanged();
        Fire();
        main.Live().Idle();  // a box's own message loop empties too
        EXPECT_EQ(main.Rows().size(), 4u);
    };
    main.Editing().DeleteClick();
    dialogs.whileOpen = nullptr;
    EXPECT_TRUE(main.Live().Due());
    main.Live().Idle();
    EXPECT_EQ(main.Rows().size(), 5u);
    EXPECT_EQ(Focused(), "B");
}

TEST_F(LiveListTest, ALoadOfItsOwnCoversWhatWasWaiting)
{
    Entry("A", "A", "C:\\App\\good.exe");
    main.Live().RegistryChanged();
    main.Catalogue().RefreshClick();  // F5, or the end of a job
    EXPECT_FALSE(timerRunning);
    EXPECT_FALSE(main.Live().Waiting());
    main.Live().Idle();
    EXPECT_EQ(absorbed, 2);  // no second load
    // Due, then covered by a load before the program was idle.
    main.Live().RegistryChanged();
    Fire();
    main.Catalogue().RefreshClick();
    EXPECT_FALSE(main.Live().Due());
    EXPECT_EQ(absorbed, 3);
    main.Live().OwnChangesMade();
    EXPECT_EQ(absorbed, 4);
}

}  // namespace
