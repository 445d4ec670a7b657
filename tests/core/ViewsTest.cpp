#include <gtest/gtest.h>

#include "fakes/CoreHarness.h"

#include "app/Hints.h"
#include "app/MainFrm.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeMainView.h"
#include "fakes/FakeRegistry.h"

using namespace quillet;
using namespace quillet::fakes;

namespace {

class ViewsTest : public ::testing::Test, protected CoreHarness {
protected:
    ViewsTest()
    {
        view.StartChecks();
        files.AddFile("C:\\App\\uninst.exe");
        Entry("AppKey", "App", "C:\\App\\uninst.exe");
        Entry("GoneKey", "Gone", "C:\\Gone\\uninst.exe");  // bad
        main.Catalogue().ApplySortState(0, true);
        main.Catalogue().LoadPrograms();
    }
    // The check marks of one style across the three menus.
    std::vector<bool> Checks(MenuItem viewMenu, MenuItem listMenu, MenuItem viewsMenu) const
    {
        return {view.MenuItemChecked(viewMenu), view.MenuItemChecked(listMenu), view.MenuItemChecked(viewsMenu)};
    }
    // Which style is checked in (View menu, list menu, Views drop-down); -1: none.
    std::vector<int> CheckedStyle() const
    {
        const MenuItem menus[3][4] = {
            {MenuItem::LargeIconsMM, MenuItem::SmalliconsMM, MenuItem::ListMM, MenuItem::DetailsMM},
            {MenuItem::LargeIconsPM2, MenuItem::SmalliconsPM2, MenuItem::ListPM2, MenuItem::ReportPM2},
            {MenuItem::LargeIconsPM, MenuItem::SmallIconsPM, MenuItem::ListPM, MenuItem::ReportPM}};
        std::vector<int> result;
        for (const auto& menu : menus) {
            int checked = -1, count = 0;
            for (int i = 0; i < 4; ++i)
                if (view.MenuItemChecked(menu[i])) checked = i, ++count;
            result.push_back(count > 1 ? -2 : checked);
        }
        return result;
    }

};

TEST_F(ViewsTest, AStyleChosenInAnyMenuMovesTheChecksInAllThree)
{
    main.Views().ReportPMClick();  // from the list menu's View submenu
    EXPECT_EQ(view.viewStyle, ViewStyle::Report);
    EXPECT_EQ(CheckedStyle(), (std::vector<int>{3, 3, 3}));
    main.Views().SmallIconsPMClick();
    EXPECT_EQ(view.viewStyle, ViewStyle::SmallIcons);
    EXPECT_EQ(CheckedStyle(), (std::vector<int>{1, 1, 1}));
    main.Views().ListPMClick();
    EXPECT_EQ(CheckedStyle(), (std::vector<int>{2, 2, 2}));
    main.Views().LargeIconsPMClick();
    EXPECT_EQ(view.viewStyle, ViewStyle::LargeIcons);
    EXPECT_EQ(CheckedStyle(), (std::vector<int>{0, 0, 0}));
}

TEST_F(ViewsTest, ViewsButtonCyclesByTheDropDownsCheck)
{
    // At start: large icons checked in the View menu and the drop-down only.
    EXPECT_EQ(CheckedStyle(), (std::vector<int>{0, -1, 0}));
    const ViewStyle cycle[] = {ViewStyle::SmallIcons, ViewStyle::List, ViewStyle::Report, ViewStyle::LargeIcons,
                               ViewStyle::SmallIcons};
    for (ViewStyle expected : cycle) {
        main.Views().ViewsBtnClick();
        EXPECT_EQ(view.viewStyle, expected);
    }
    // Details chosen elsewhere: the button goes on to large icons.
    main.Views().ReportPMClick();
    main.Views().ViewsBtnClick();
    EXPECT_EQ(view.viewStyle, ViewStyle::LargeIcons);
    EXPECT_EQ(CheckedStyle(), (std::vector<int>{0, 0, 0}));
}

TEST_F(ViewsTest, ViewsButtonDoesNothingWithNoStyleChecked)
{
    view.checks[MenuItem::LargeIconsPM] = false;
    view.viewStyle = ViewStyle::List;
    main.Views().ViewsBtnClick();
    EXPECT_EQ(view.viewStyle, ViewStyle::List);
    EXPECT_EQ(CheckedStyle(), (std::vector<int>{0, -1, -1}));
}

TEST_F(ViewsTest, SwitchesInvertTheirCheckAndShowWhatIsChecked)
{
    struct Case {
        void (ViewMenus::*handler)();
        MenuItem item;
        Pane pane;
    };
    const Case cases[] = {{&ViewMenus::ToolBarMMClick, MenuItem::ToolBarMM, Pane::ToolBar},
                          {&ViewMenus::LogMMClick, MenuItem::LogMM, Pane::Log},
                          {&ViewMenus::StatusMMClick, MenuItem::StatusMM, Pane::StatusBar}};
    for (const Case& c : cases) {
        (main.Views().*c.handler)();
        EXPECT_FALSE(main.Views().MenuItemChecked(c.item));
        EXPECT_FALSE(view.panes[c.pane]);
        (main.Views().*c.handler)();
        EXPECT_TRUE(main.Views().MenuItemChecked(c.item));
        EXPECT_TRUE(view.panes[c.pane]);
    }
    // Each switch moves only its own part.
    main.Views().LogMMClick();
    EXPECT_TRUE(view.panes[Pane::ToolBar]);
    EXPECT_FALSE(view.panes[Pane::Log]);
    EXPECT_TRUE(view.panes[Pane::StatusBar]);
}

TEST_F(ViewsTest, TextLabelsToggleBothItemsAndFollowTheViewMenusItem)
{
    main.Views().TextLabelsMMClick();
    EXPECT_FALSE(view.MenuItemChecked(MenuItem::TextLabelsMM));
    EXPECT_FALSE(view.MenuItemChecked(MenuItem::TextLabelsPM));
    EXPECT_FALSE(view.textLabels);
    main.Views().TextLabelsMMClick();
    EXPECT_TRUE(view.MenuItemChecked(MenuItem::TextLabelsMM));
    EXPECT_TRUE(view.MenuItemChecked(MenuItem::TextLabelsPM));
    EXPECT_TRUE(view.textLabels);

    // The two marks are inverted separately: once apart they stay apart, and
    // the View menu's decides.
    view.checks[MenuItem::TextLabelsPM] = false;
    main.Views().TextLabelsMMClick();
    EXPECT_FALSE(view.MenuItemChecked(MenuItem::TextLabelsMM));
    EXPECT_TRUE(view.MenuItemChecked(MenuItem::TextLabelsPM));
    EXPECT_FALSE(view.textLabels);
}

TEST_F(ViewsTest, FileMenuCopiesTheButtons)
{
    view.focused = -1;
    main.Catalogue().UpdateButtons();
    main.Views().FileMMClick();
    EXPECT_FALSE(view.MenuItemEnabled(MenuItem::AddRemoveMM));
    EXPECT_FALSE(view.MenuItemEnabled(MenuItem::DeleteMM));
    EXPECT_FALSE(view.MenuItemEnabled(MenuItem::PropertiesMM));
    EXPECT_TRUE(view.MenuItemEnabled(MenuItem::DeleteBadMM));  // "Gone" is bad

    view.focused = 0;
    main.Catalogue().UpdateButtons();
    main.Views().FileMMClick();
    EXPECT_TRUE(view.MenuItemEnabled(MenuItem::AddRemoveMM));
    EXPECT_TRUE(view.MenuItemEnabled(MenuItem::DeleteMM));
    EXPECT_TRUE(view.MenuItemEnabled(MenuItem::PropertiesMM));
}

TEST_F(ViewsTest, ListMenuAndEditMenuCopyTheirStates)
{
    view.focused = -1;
    main.Catalogue().UpdateButtons();
    main.Views().BaseMenuPopup();
    EXPECT_FALSE(view.MenuItemEnabled(MenuItem::AddRemovePM));
    EXPECT_FALSE(view.MenuItemEnabled(MenuItem::DeletePM));
    EXPECT_FALSE(view.MenuItemEnabled(MenuItem::PropertiesPM));
    // An empty log greys "&Clear log" in both menus.
    EXPECT_FALSE(view.MenuItemEnabled(MenuItem::ClearLogPM));
    EXPECT_FALSE(view.MenuItemEnabled(MenuItem::ClearLogMM));

    main.Logging().AddLog("Something", "", kLogInformation);
    main.Views().BaseMenuPopup();
    EXPECT_TRUE(view.MenuItemEnabled(MenuItem::ClearLogPM));
    EXPECT_TRUE(view.MenuItemEnabled(MenuItem::ClearLogMM));
    main.Logging().LogMenuPopup();
    EXPECT_TRUE(view.MenuItemEnabled(MenuItem::ClearLogPM));
}

TEST_F(ViewsTest, ShortcutsOpenTheirMenuFirstAndActOnlyWhenEnabled)
{
    // No focused row: Enter, Del and Alt+Enter are off, even after the menu
    // was last opened with a row.
    view.focused = 0;
    main.Catalogue().UpdateButtons();
    main.Views().FileMMClick();
    view.focused = -1;
    main.Catalogue().UpdateButtons();
    for (MenuItem item : {MenuItem::AddRemoveMM, MenuItem::DeleteMM, MenuItem::PropertiesMM})
        EXPECT_FALSE(main.Views().ShortcutEnabled(item));
    EXPECT_TRUE(main.Views().ShortcutEnabled(MenuItem::NewMM));
    EXPECT_TRUE(main.Views().ShortcutEnabled(MenuItem::DeleteBadMM));

    // The entry being uninstalled: Del and Alt+Enter are off for it...
    view.focused = 0;  // "App"
    main.Catalogue().UpdateButtons();
    main.Job().uninstallClick();
    ASSERT_TRUE(main.Job().Running);
    for (MenuItem item : {MenuItem::AddRemoveMM, MenuItem::DeleteMM, MenuItem::PropertiesMM})
        EXPECT_FALSE(main.Views().ShortcutEnabled(item));
    // ...but on for another entry; a second Add/Remove stays off.
    view.focused = 1;
    main.Catalogue().ProgramsChange();
    EXPECT_FALSE(main.Views().ShortcutEnabled(MenuItem::AddRemoveMM));
    EXPECT_TRUE(main.Views().ShortcutEnabled(MenuItem::DeleteMM));
    EXPECT_TRUE(main.Views().ShortcutEnabled(MenuItem::PropertiesMM));

    // The Edit menu's opening handler runs for its items.
    EXPECT_FALSE(main.Views().ShortcutEnabled(MenuItem::ClearLogMM));
    main.Logging().AddLog("Something", "", kLogInformation);
    EXPECT_TRUE(main.Views().ShortcutEnabled(MenuItem::ClearLogMM));
    EXPECT_TRUE(main.Views().ShortcutEnabled(MenuItem::FindMM));
}

TEST(Hints, ShortPartBeforeTheFirstBarLongPartAfterIt)
{
    EXPECT_EQ(ShortHint("Delete|Delete selected shortcut"), "Delete");
    EXPECT_EQ(LongHint("Delete|Delete selected shortcut"), "Delete selected shortcut");
    EXPECT_EQ(LongHint("a|b|c"), "b|c");
    EXPECT_EQ(ShortHint("a|b|c"), "a");
    EXPECT_EQ(LongHint("Actions log"), "Actions log");
    EXPECT_EQ(ShortHint("Actions log"), "Actions log");
    EXPECT_EQ(LongHint("Short|"), "");
    EXPECT_EQ(LongHint(""), "");
}

TEST_F(ViewsTest, HintGoesToTheFirstPanel)
{
    main.Views().AppEventsHint("Refresh|Refresh shortcuts list");
    EXPECT_EQ(view.panels[0], "Refresh shortcuts list");
    main.Views().AppEventsHint("");
    EXPECT_EQ(view.panels[0], "");
    EXPECT_EQ(view.panels[1], "Shortcuts / Bad shortcuts: 2 / 1");  // untouched
}

}  // namespace
