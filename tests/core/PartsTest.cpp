// The parts on their own: each built from only the ports it takes.
#include <gtest/gtest.h>

#include "catalogue/Catalogue.h"
#include "catalogue/EntryKey.h"
#include "fakes/CoreHarness.h"

using namespace quillet;
using namespace quillet::fakes;

namespace {

TEST(EntryKey, SameEntryWhenTheSubkeysDifferOnlyInAsciiCase)
{
    const struct {
        const char *a, *b;
        bool same;
    } cases[] = {
        {"App", "APP", true},
        {"app_1", "App_1", true},
        {"", "", true},
        {"App", "App ", false},     // a blank is part of the name
        {"App", "Ap", false},
        {"\xC4pp", "\xE4pp", false}, // only A-Z fold
        {"A[p", "a{p", false},       // nor the bytes next to them
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EntryKey{c.a} == EntryKey{c.b}, c.same) << c.a << " / " << c.b;
        EXPECT_EQ(EntryKey{c.a} != EntryKey{c.b}, !c.same) << c.a << " / " << c.b;
    }
}

// The job as the list sees it, told what to answer.
struct StubJob : RunningEntry {
    bool busy = false;
    std::string runningCaption;
    bool Busy() const override { return busy; }
    bool IsRunning(const EntryRow& row) const override { return busy && row.caption == runningCaption; }
};

class CatalogueAloneTest : public ::testing::Test, protected CoreFakes {
protected:
    CatalogueAloneTest()
    {
        files.AddFile("C:\\App\\good.exe");
        Entry("a", "Alpha", "C:\\App\\good.exe");
        Entry("b", "Beta", "C:\\App\\good.exe");
        catalogue.ApplySortState(0, true);
        catalogue.LoadPrograms();
    }
    StubJob job;
    EntryCatalogue catalogue{registry, files, locale, {view, view, view}, job};
};

TEST_F(CatalogueAloneTest, ButtonsFollowTheJobItIsGiven)
{
    view.focused = 1;  // Beta
    catalogue.ProgramsClick();
    EXPECT_TRUE(view.buttons[Button::AddRemove]);
    EXPECT_TRUE(view.buttons[Button::Delete]);

    job.busy = true;
    job.runningCaption = "Beta";
    catalogue.ProgramsClick();
    EXPECT_FALSE(view.buttons[Button::AddRemove]);
    EXPECT_FALSE(view.buttons[Button::Delete]);
    EXPECT_FALSE(view.buttons[Button::Properties]);

    view.focused = 0;  // Alpha: not the running entry
    catalogue.ProgramsClick();
    EXPECT_FALSE(view.buttons[Button::AddRemove]);
    EXPECT_TRUE(view.buttons[Button::Delete]);
    EXPECT_TRUE(view.buttons[Button::Properties]);
}

TEST_F(CatalogueAloneTest, KeysFindTheirRowsAfterTheOrderChanges)
{
    ASSERT_EQ(catalogue.Rows().size(), 2u);
    view.focused = 0;
    const EntryKey alpha = catalogue.FocusedKey();
    EXPECT_EQ(alpha.subkey, "a");
    catalogue.ProgramsHeaderClick(0);  // Name again: descending
    EXPECT_EQ(catalogue.Rows()[catalogue.IndexOf(alpha)].caption, "Alpha");
    EXPECT_EQ(catalogue.IndexOf(alpha), 1);
    EXPECT_EQ(catalogue.IndexOf(EntryKey{"A"}), 1);
    EXPECT_EQ(catalogue.IndexOf(EntryKey{"gone"}), -1);
    EXPECT_THROW(catalogue.KeyAt(-1), std::out_of_range);

    view.focused = -1;
    EXPECT_TRUE(catalogue.FocusedKey().Empty());
}

}  // namespace
