#include <gtest/gtest.h>

#include "fakes/CoreHarness.h"

#include "app/MainFrm.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeMainView.h"
#include "fakes/FakeRegistry.h"

using namespace quillet;
using namespace quillet::fakes;

namespace {

class LogTest : public ::testing::Test, protected CoreHarness {
protected:
    void Fill(size_t count)
    {
        for (size_t i = 0; i < count; ++i) main.Logging().AddLog("Record " + std::to_string(i), "", kLogInformation);
    }
    const LogRecord& Row(size_t i) const { return main.Log().Records().at(i); }

};

TEST_F(LogTest, NewestOnTopWithTimeMessageCommentAndImage)
{
    main.Logging().AddLog("Shortcut for \"A\" application added.", "", kLogInformation);
    clock.now.second = 10;
    main.Logging().AddLog("Uninstall program for \"B\" application not found!", "note", kLogError);
    ASSERT_EQ(main.Log().Size(), 2u);
    EXPECT_EQ(Row(0), (LogRecord{"08.12.2026 14:05:10", "Uninstall program for \"B\" application not found!", "note",
                                 kLogError}));
    EXPECT_EQ(Row(1), (LogRecord{"08.12.2026 14:05:09", "Shortcut for \"A\" application added.", "", kLogInformation}));
    EXPECT_EQ(dialogs.beeps, 2);
    EXPECT_EQ(view.logRows, 2u);
}

TEST_F(LogTest, CapOf999IsAnEqualityTest)
{
    Fill(998);
    main.Logging().AddLog("999th", "", 0);
    EXPECT_EQ(main.Log().Size(), 999u);
    EXPECT_EQ(Row(998).message, "Record 0");  // nothing dropped yet

    main.Logging().AddLog("1000th", "", 0);
    EXPECT_EQ(main.Log().Size(), 999u);
    EXPECT_EQ(Row(0).message, "1000th");
    EXPECT_EQ(Row(998).message, "Record 1");  // the oldest went
}

TEST(ActionsLog, LongerLogFromASettingsFileLosesNothing)
{
    ActionsLog log;
    for (int i = 0; i < 1000; ++i) log.Append({"t", "old " + std::to_string(i), "", 0});
    EXPECT_FALSE(log.AddOnTop({"t", "new", "", 0}));
    EXPECT_EQ(log.Size(), 1001u);
    EXPECT_EQ(log.Records().back().message, "old 999");
}

TEST_F(LogTest, TimeText)
{
    main.Logging().AddLog("a", "", 0);
    main.Logging().AddLog("b", "", 0);  // the same second: the same text
    EXPECT_EQ(Row(0).time, Row(1).time);

    clock.now = {2027, 1, 5, 0, 0, 0, 2};
    main.Logging().AddLog("midnight", "", 0);
    EXPECT_EQ(Row(0).time, "05.01.2027");
    clock.now.second = 1;
    main.Logging().AddLog("a second later", "", 0);
    EXPECT_EQ(Row(0).time, "05.01.2027 00:00:01");
    clock.now = {2027, 1, 5, 12, 0, 0, 2};
    main.Logging().AddLog("noon", "", 0);
    EXPECT_EQ(Row(0).time, "05.01.2027 12:00:00");
}

TEST_F(LogTest, BoxesOnlyWhileHiddenAndNeverWithTheComment)
{
    main.Logging().AddLog("visible", "comment", kLogInformation);
    EXPECT_TRUE(dialogs.information.empty());
    EXPECT_TRUE(dialogs.errorBoxes.empty());

    main.Tray().Hidden = true;
    main.Logging().AddLog("Application \"X\" successfuly uninstalled.", "Probably cleared: 1.0 MB", kLogInformation);
    main.Logging().AddLog("Uninstall program for \"Y\" application not found!", "", kLogError);
    main.Logging().AddLog("no such kind", "", 2);
    EXPECT_EQ(dialogs.information, std::vector<std::string>{"Application \"X\" successfuly uninstalled."});
    EXPECT_EQ(dialogs.errorBoxes, std::vector<std::string>{"Uninstall program for \"Y\" application not found!"});
    EXPECT_EQ(dialogs.beeps, 4);
    EXPECT_EQ(main.Log().Size(), 4u);
}

TEST_F(LogTest, ClearAsksFirst)
{
    Fill(3);
    dialogs.answerYes = false;
    main.Logging().ClearLogPMClick();
    EXPECT_EQ(dialogs.confirmations, std::vector<std::string>{"Are you really want to clear actions log?"});
    EXPECT_EQ(main.Log().Size(), 3u);

    dialogs.answerYes = true;
    main.Logging().ClearLogPMClick();
    EXPECT_EQ(main.Log().Size(), 0u);
    EXPECT_EQ(view.logRows, 0u);
    EXPECT_EQ(dialogs.beeps, 3);  // clearing adds no record
}

TEST_F(LogTest, EditReplacesOnlyTheCommentOfTheFocusedRow)
{
    main.Logging().AddLog("first", "old", kLogError);
    main.Logging().AddLog("second", "keep", 0);
    view.logFocused = 1;

    dialogs.editOk = false;
    dialogs.typedComment = "typed but cancelled";
    main.Logging().EditlogPMClick();
    ASSERT_EQ(dialogs.edited.size(), 1u);
    EXPECT_EQ(dialogs.edited[0], Row(1));  // the dialog shows the focused record
    EXPECT_EQ(Row(1).comment, "old");

    dialogs.editOk = true;
    dialogs.typedComment = "";
    main.Logging().LogDblClick();
    EXPECT_EQ(Row(1), (LogRecord{"08.12.2026 14:05:09", "first", "", kLogError}));
    EXPECT_EQ(Row(0).comment, "keep");
    EXPECT_EQ(main.Log().Size(), 2u);
    EXPECT_EQ(dialogs.beeps, 2);
}

TEST_F(LogTest, NothingToEditWithoutAFocusedRow)
{
    Fill(2);
    main.Logging().LogDblClick();
    main.Logging().EditlogPMClick();
    EXPECT_TRUE(dialogs.edited.empty());
}

TEST_F(LogTest, AddingKeepsTheFocusOnItsRecord)
{
    Fill(2);
    view.logFocused = 0;
    main.Logging().AddLog("new", "", 0);
    EXPECT_EQ(view.logFocused, 1);
}

TEST_F(LogTest, LogCommandsEnabling)
{
    main.Logging().LogMenuPopup();
    main.Views().BaseMenuPopup();
    for (MenuItem item : {MenuItem::ClearLogPM, MenuItem::ClearLogMM, MenuItem::EditlogPM, MenuItem::EditlogMM})
        EXPECT_FALSE(view.menuItems[item]) << static_cast<int>(item);

    Fill(1);
    main.Logging().LogMenuPopup();
    main.Views().BaseMenuPopup();
    EXPECT_TRUE(view.menuItems[MenuItem::ClearLogPM]);
    EXPECT_TRUE(view.menuItems[MenuItem::ClearLogMM]);
    EXPECT_FALSE(view.menuItems[MenuItem::EditlogPM]);  // a row, but none focused
    EXPECT_FALSE(view.menuItems[MenuItem::EditlogMM]);

    view.logFocused = 0;
    main.Logging().LogMenuPopup();
    main.Views().BaseMenuPopup();
    EXPECT_TRUE(view.menuItems[MenuItem::EditlogPM]);
    EXPECT_TRUE(view.menuItems[MenuItem::EditlogMM]);
}

TEST_F(LogTest, ListMenuCopiesTheButtons)
{
    view.buttons[Button::AddRemove] = false;
    view.buttons[Button::Delete] = true;
    view.buttons[Button::Properties] = false;
    main.Views().BaseMenuPopup();
    EXPECT_FALSE(view.menuItems[MenuItem::AddRemovePM]);
    EXPECT_TRUE(view.menuItems[MenuItem::DeletePM]);
    EXPECT_FALSE(view.menuItems[MenuItem::PropertiesPM]);
}

}  // namespace
