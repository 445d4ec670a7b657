#include <gtest/gtest.h>

#include "fakes/CoreHarness.h"

#include "app/MainFrm.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeMainView.h"
#include "fakes/FakeRegistry.h"
#include "fakes/KeyOrder.h"

using namespace quillet;
using namespace quillet::fakes;

namespace {

const std::string kKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

class SortTest : public ::testing::Test, protected CoreHarness {
protected:
    std::string Column(int column) const
    {
        std::string out;
        for (const auto& row : main.Rows())
            out += (column == 0 ? row.caption : column == 1 ? row.command : row.subkey) + ";";
        return out;
    }
    void Load()
    {
        main.Catalogue().ApplySortState(0, true);
        main.Catalogue().LoadPrograms();
    }

};

TEST(SortableList, HeaderClickRuleFromConstruction)
{
    std::vector<EntryRow> rows = {{"b", "2", "y", 0}, {"a", "3", "x", 0}, {"c", "1", "z", 0}};
    FakeLocale locale;
    FakeMainView view;
    TSTListView list(rows, locale, view);
    int clicks = 0;
    list.OnColumnClick = [&] { ++clicks; };
    EXPECT_EQ(list.SortColumnIndex(), -1);
    EXPECT_FALSE(list.Ascending());
    const auto names = [&] {
        std::string out;
        for (const auto& r : rows) out += r.caption + ";";
        return out;
    };

    struct Step {
        int click;
        bool ascending;
        const char* names;
    };
    const Step steps[] = {
        {0, true, "a;b;c;"},   // first click after construction: ascending
        {0, false, "c;b;a;"},  // same column: flips
        {1, true, "c;b;a;"},   // another column: ascending (commands 1, 2, 3)
        {1, false, "a;b;c;"},
        {2, true, "a;b;c;"},   // subkeys x, y, z
        {2, false, "c;b;a;"},
        {0, true, "a;b;c;"},
    };
    for (const Step& s : steps) {
        list.HeaderClick(s.click, -1);
        EXPECT_EQ(list.SortColumnIndex(), s.click);
        EXPECT_EQ(list.Ascending(), s.ascending) << s.click;
        EXPECT_EQ(names(), s.names) << s.click;
        EXPECT_EQ(view.sortArrowColumn, s.click);
        EXPECT_EQ(view.sortArrowAscending, s.ascending);
    }
    EXPECT_EQ(clicks, 7);
}

TEST_F(SortTest, ReloadBeforeAnySortStateHasNoColumn)
{
    Entry("k1", "b", "1");
    main.Guard([&] { main.Catalogue().LoadPrograms(); });
    EXPECT_EQ(dialogs.failures, std::vector<std::string>{"List index out of bounds (-1)"});
}

TEST_F(SortTest, SortByColumnGoesThroughTheHeaderClick)
{
    Entry("k1", "b", "x");
    Entry("k2", "a", "y");
    Load();
    ASSERT_TRUE(main.Catalogue().Programs.Ascending());
    main.Catalogue().Programs.SortByColumn(0, false);  // current column, opposite flag: re-sort as it stands
    EXPECT_TRUE(main.Catalogue().Programs.Ascending());
    EXPECT_EQ(Column(0), "a;b;");
    main.Catalogue().Programs.SortByColumn(0, true);  // current column, same flag: flips
    EXPECT_FALSE(main.Catalogue().Programs.Ascending());
    EXPECT_EQ(Column(0), "b;a;");
    main.Catalogue().Programs.SortByColumn(1, false);  // another column: ascending whatever the flag
    EXPECT_TRUE(main.Catalogue().Programs.Ascending());
    EXPECT_EQ(Column(1), "x;y;");
}

TEST_F(SortTest, WordSortOfTheUserLocale)
{
    Entry("k1", "banana", "c");
    Entry("k2", "Apple", "c");
    Entry("k3", "apple", "c");
    Entry("k4", "Tool 9", "c");
    Entry("k5", "Tool 10", "c");
    Entry("k6", "coop", "c");
    Entry("k7", "co-op", "c");
    Load();
    EXPECT_EQ(Column(0), "apple;Apple;banana;coop;co-op;Tool 10;Tool 9;");
    main.Catalogue().ProgramsHeaderClick(0);
    EXPECT_EQ(Column(0), "Tool 9;Tool 10;co-op;coop;banana;Apple;apple;");
}

TEST_F(SortTest, MenusFollowTheSortState)
{
    Entry("k1", "b", "1");
    Entry("k2", "a", "2");
    Load();
    EXPECT_TRUE(view.checks[MenuItem::NameMM]);
    EXPECT_TRUE(view.checks[MenuItem::NamePM]);
    EXPECT_FALSE(view.checks[MenuItem::ReversedorderMM]);

    main.Catalogue().SubkeyMMClick(1);  // "Command line" while sorted by name
    EXPECT_EQ(Column(1), "1;2;");
    for (MenuItem item : {MenuItem::CommandLineMM, MenuItem::CommandLinePM}) EXPECT_TRUE(view.checks[item]);
    for (MenuItem item : {MenuItem::NameMM, MenuItem::NamePM, MenuItem::SubkeyMM, MenuItem::SubkeyPM})
        EXPECT_FALSE(view.checks[item]);
    EXPECT_FALSE(view.checks[MenuItem::ReversedorderMM]);
    EXPECT_FALSE(view.checks[MenuItem::ReversedorderPM]);

    main.Catalogue().SubkeyMMClick(1);  // again: reversed
    EXPECT_EQ(Column(1), "2;1;");
    EXPECT_TRUE(view.checks[MenuItem::ReversedorderMM]);
    EXPECT_TRUE(view.checks[MenuItem::ReversedorderPM]);
    EXPECT_TRUE(view.checks[MenuItem::CommandLineMM]);

    main.Catalogue().ReversedorderMMClick();
    EXPECT_EQ(Column(1), "1;2;");
    EXPECT_FALSE(view.checks[MenuItem::ReversedorderMM]);
    EXPECT_FALSE(view.checks[MenuItem::ReversedorderPM]);
}

TEST_F(SortTest, ColumnOutOfBoundsFailsAfterSettingTheDirection)
{
    Entry("k1", "b", "1");
    Entry("k2", "a", "2");
    Load();
    const int reorders = view.reorders;
    main.Guard([&] { main.Catalogue().Programs.SortByColumn(TSTListView::kAllColumns, false); });
    EXPECT_EQ(dialogs.failures, std::vector<std::string>{"List index out of bounds (8)"});
    EXPECT_FALSE(main.Catalogue().Programs.Ascending());
    EXPECT_EQ(main.Catalogue().Programs.SortColumnIndex(), 0);
    EXPECT_EQ(Column(0), "a;b;");
    EXPECT_EQ(view.reorders, reorders);
}

TEST_F(SortTest, FocusFollowsItsRowThroughASort)
{
    Entry("k1", "a", "3");
    Entry("k2", "b", "1");
    Entry("k3", "c", "2");
    Load();
    view.focused = 0;  // "a"
    main.Catalogue().ProgramsHeaderClick(1);
    EXPECT_EQ(Column(0), "b;c;a;");
    EXPECT_EQ(view.focused, 2);
}

TEST_F(SortTest, ReloadKeepsTheSortStateAndStoredStateApplies)
{
    Entry("b", "one", "x");
    Entry("a", "two", "x");
    Entry("c", "three", "x");
    main.Catalogue().ApplySortState(2, false);  // stored: by subkey, descending
    EXPECT_EQ(main.Catalogue().Programs.SortColumnIndex(), 2);
    EXPECT_FALSE(main.Catalogue().Programs.Ascending());
    main.Catalogue().LoadPrograms();
    EXPECT_EQ(Column(2), "c;b;a;");
    EXPECT_EQ(view.sortArrowColumn, 2);
    EXPECT_FALSE(view.sortArrowAscending);
    EXPECT_TRUE(view.checks[MenuItem::SubkeyMM]);
    EXPECT_TRUE(view.checks[MenuItem::ReversedorderPM]);

    Entry("d", "four", "x");
    main.Catalogue().RefreshClick();
    EXPECT_EQ(Column(2), "d;c;b;a;");
    EXPECT_FALSE(main.Catalogue().Programs.Ascending());
}

TEST_F(SortTest, SetAscendingRedrawsTheArrowButNeverSorts)
{
    Entry("k1", "b", "1");
    Entry("k2", "a", "2");
    Load();
    const int reorders = view.reorders;
    main.Catalogue().Programs.SetAscending(false);
    EXPECT_FALSE(view.sortArrowAscending);
    EXPECT_EQ(Column(0), "a;b;");
    EXPECT_EQ(view.reorders, reorders);
}

// The list sorts by keys made once per text; the order is that of the comparator.
TEST(SortKeys, OrderAsTheComparatorOverTheEdgeCases)
{
    FakeLocale locale;
    ExpectKeysCompareAsTexts(locale, EdgeCaseNames());
    ExpectSortIsTheComparatorsOrder(locale, EdgeCaseNames());
}

TEST(SortKeys, OrderAsTheComparatorOverTenThousandNames)
{
    FakeLocale locale;
    const std::vector<std::string> names = GeneratedNames(10000);
    ExpectKeysCompareAsTexts(locale, std::vector<std::string>(names.begin(), names.begin() + 300));
    ExpectSortIsTheComparatorsOrder(locale, names);
}

// Numbers by value, other characters ignoring ASCII case; a case-only
// difference decides nothing, so the order stays a consistent one.
TEST(SortKeys, VersionsCompareByTheirNumbers)
{
    const struct {
        const char* a;
        const char* b;
        int expected;
    } cases[] = {
        {"9.1", "10.0", -1},   {"1.10", "1.9", 1},         {"1.02", "1.2", 0},         {"007", "7", 0},
        {"1.2", "1.2.1", -1},  {"", "0", -1},              {"1.2a", "1.2B", -1},       {"Beta", "beta", 0},
        {"Beta 2", "beta 1", 1}, {"beta 1", "Beta 2", -1}, {"BETA 10", "beta 9", 1},   {"v1.0", "V1.0", 0},
        {"1.0-rc", "1.0 rc", 1}, {"2023.4 Beta 2", "2023.4 Beta 10", -1}, {"1x", "a", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CompareVersions(c.a, c.b), c.expected) << c.a << " vs " << c.b;
        EXPECT_EQ(CompareVersions(c.b, c.a), -c.expected) << c.b << " vs " << c.a;
    }
}

TEST_F(SortTest, AChangedRowSortsByItsNewText)
{
    Entry("k1", "b", "x");
    Entry("k2", "c", "y");
    Load();
    main.Catalogue().ChangeRow(1, "a", "y");  // c becomes a: its old key must not be used
    main.Catalogue().ResortPrograms();
    EXPECT_EQ(Column(0), "a;b;");
}

}  // namespace
