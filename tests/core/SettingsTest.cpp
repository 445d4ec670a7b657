#include <gtest/gtest.h>

#include "fakes/CoreHarness.h"

#include "app/MainFrm.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeMainView.h"
#include "fakes/FakeProfile.h"
#include "fakes/FakeRegistry.h"

using namespace quillet;
using namespace quillet::fakes;
using Size = MainView::Size;

namespace {

TEST(StoredForms, IntegersDecimalHexAndDefaults)
{
    struct Case {
        const char* text;
        int expected;
    };
    const Case cases[] = {
        {"42", 42}, {"-7", -7}, {"+3", 3}, {"0x1F", 31}, {"0X1f", 31}, {"$10", 16}, {"$FFFFFFFF", -1},
        {"2147483647", 2147483647}, {"-2147483648", INT32_MIN},
        // what does not convert keeps the default
        {"", 99}, {"0x", 99}, {"$", 99}, {"12a", 99}, {"1 2", 99}, {"0xG", 99}, {"2147483648", 99},
        {"$123456789", 99}, {"-", 99}, {"abc", 99},
    };
    for (const Case& c : cases) EXPECT_EQ(ReadIntegerText(c.text, 99), c.expected) << c.text;
}

// Found by the fuzz target: leading zeros made a hexadecimal value that fits
// in 32 bits give the default, while decimal ones were read.
TEST(StoredForms, HexadecimalLeadingZerosDoNotCount)
{
    EXPECT_EQ(ReadIntegerText("0x00000001F", 99), 31);
    EXPECT_EQ(ReadIntegerText("$000000000000FFFFFFFF", 99), -1);
    EXPECT_EQ(ReadIntegerText("$000000000", 99), 0);
    EXPECT_EQ(ReadIntegerText("0x0100000000", 99), 99);  // still one digit too many
    EXPECT_EQ(ReadFourIntegers("$0000000010,0x000000000A", {1, 2, 3, 4}), (std::array<int, 4>{16, 10, 3, 4}));
}

TEST(StoredForms, FourIntegersSplitAtCommasAndBlanks)
{
    const std::array<int, 4> d{1, 2, 3, 4};
    EXPECT_EQ(ReadFourIntegers("10,20,30,40", d), (std::array<int, 4>{10, 20, 30, 40}));
    EXPECT_EQ(ReadFourIntegers("10, 20 ,,30 $28", d), (std::array<int, 4>{10, 20, 30, 40}));
    EXPECT_EQ(ReadFourIntegers("10,x,30", d), (std::array<int, 4>{10, 2, 30, 4}));
    EXPECT_EQ(ReadFourIntegers("", d), d);
    EXPECT_EQ(FourIntegersText({-1, 0, 640, 480}), "-1,0,640,480");
}

TEST(LogLines, HandEditedValues)
{
    struct Case {
        const char* line;
        LogRecord expected;
    };
    const Case cases[] = {
        {"t=0;msg\xC3\xBE" "com", {"t", "msg", "com", 0}},
        {"t=1;msg", {"t", "msg", "", 1}},                       // no mark: all message
        {"t=1", {"t", "", "", 1}},                              // one character
        {"t=", {"t", "", "", 0}},                               // empty: an information record
        {"t=Hello\xC3\xBE" "there", {"t", "Hello", "there", 0}},    // no digit first: all text
        {"t=0xmsg\xC3\xBE" "a\xC3\xBE" "b", {"t", "msg", "a\xC3\xBE" "b", 0}},  // any second byte is skipped
        {"t=0;a;b=c", {"t", "a;b=c", "", 0}},
        {" t = 0;x ", {"t", "x", "", 0}},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseLogLine(c.line), c.expected) << c.line;
}

class SettingsTest : public ::testing::Test, protected CoreFakes {
protected:
    // A new window: every switch on, large icons checked, the list in details.
    void Start()
    {
        view = FakeMainView();
        view.StartChecks();
        main = std::make_unique<TMain>(view, ports);
        main->FormCreate("C:\\Tools\\QUILLET.EXE");
    }
    // The close of the window: the placement component's save, then FormClose.
    void Close()
    {
        main->Settings().FormStorage.SaveFormPlacement();
        main->Settings().FormClose();
    }

    std::unique_ptr<TMain> main;
};

TEST_F(SettingsTest, FirstCloseOnANewFileWritesEveryKeyInOrder)
{
    Start();
    EXPECT_EQ(main->Settings().SettingsFile(), "c:\\tools\\quillet.ini");
    main->Logging().AddLog("A", "", kLogInformation);
    clock.now.second = 10;
    main->Logging().AddLog("B;x", "note", kLogError);
    view.visible = true;
    view.placement.showCmd = 1;
    Close();
    EXPECT_EQ(profile.Text(),
              "[Main]\r\n"
              "FormVersion=0\r\n"
              "Flags=0\r\n"
              "ShowCmd=1\r\n"
              "PixelsPerInch=96\r\n"
              "MinMaxPos(1024x768)=-1,-1,-4,-4\r\n"
              "MinMaxPos=-1,-1,-4,-4\r\n"
              "NormPos(1024x768)=191,131,833,636\r\n"
              "NormPos=191,131,833,636\r\n"
              "Visible=0\r\n"
              "LogHeight=102\r\n"
              "TimeWidth=150\r\n"
              "CommentWidth=250\r\n"
              "NameWidth=200\r\n"
              "CmdLiNeWidth=200\r\n"
              "SubKeyWidth=120\r\n"
              "PlatformWidth=70\r\n"
              "PublisherWidth=120\r\n"
              "VersionWidth=70\r\n"
              "InstalledWidth=80\r\n"
              "SizeWidth=70\r\n"
              "BackupDir=\r\n"
              "[View]\r\n"
              "ViewType=0\r\n"
              "ToolBar=1\r\n"
              "Log=1\r\n"
              "StatusBar=1\r\n"
              "TextLabels=1\r\n"
              "SystemEntries=1\r\n"
              "SortOn=0\r\n"
              "Ascending=1\r\n"
              "[Log]\r\n"
              "08.12.2026 14:05:10=1;B;x\xC3\xBEnote\r\n"
              "08.12.2026 14:05:09=0;A\xC3\xBE\r\n");
    for (const std::string& file : profile.files) EXPECT_EQ(file, "c:\\tools\\quillet.ini");

    // A second close keeps the order: keys replaced in place, [Log] anew at the end.
    const std::string first = profile.Text();
    Start();
    view.visible = true;
    view.placement.showCmd = 1;
    Close();
    EXPECT_EQ(profile.Text(), first);
}

TEST_F(SettingsTest, RoundTripOf999RecordsKeepsEveryRecord)
{
    Start();
    for (int i = 0; i < 999; ++i) {
        // Repeated time texts, marks inside comments, empty comments.
        clock.now.second = i / 100;
        main->Logging().AddLog("Message " + std::to_string(i) + ";", i % 3 == 0 ? "" : "c\xC3\xBE" "d " + std::to_string(i),
                     i % 2);
    }
    const std::vector<LogRecord> written = main->Log().Records();
    Close();
    Start();
    ASSERT_EQ(main->Log().Size(), 999u);
    EXPECT_EQ(main->Log().Records(), written);
    EXPECT_EQ(view.logRows, 999u);

    // An empty log erases the section, header included.
    dialogs.answerYes = true;
    main->Logging().ClearLogPMClick();
    Close();
    EXPECT_EQ(profile.Text().find("[Log]"), std::string::npos);
}

TEST_F(SettingsTest, LineBreaksInARecordAreStoredAsBlanksAndOlderRecordsSurvive)
{
    struct Case {
        std::string message, comment, readBack;
    } cases[] = {
        {"AAA Evil\r\n[Junk]\r\nx", "", "AAA Evil  [Junk]  x\xC3\xBE"},
        {"a\rb", "c\nd", "a b\xC3\xBE" "c d"},
        {"\n", "\r\n", " \xC3\xBE"},  // the comment's trailing blanks are trimmed on reading
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.readBack);
        profile.lines.clear();
        Start();
        main->Logging().AddLog("older", "kept", kLogError);
        main->Logging().AddLog(c.message, c.comment, kLogInformation);
        Close();
        Start();
        ASSERT_EQ(main->Log().Size(), 2u);
        const LogRecord& top = main->Log().Records()[0];
        EXPECT_EQ(LogLineValue(top).substr(2), c.readBack);
        EXPECT_EQ(main->Log().Records()[1], (LogRecord{"08.12.2026 14:05:09", "older", "kept", kLogError}));
        Close();  // a second close loses nothing either
        Start();
        EXPECT_EQ(main->Log().Size(), 2u);
    }
}

TEST_F(SettingsTest, RecordsACommandLineRunKeptInTheFileMeanwhileSurviveTheClose)
{
    const std::string ini = "c:\\tools\\quillet.ini";
    profile.WriteSection(ini, "Log", {"t0=0;Older\xC3\xBE"});
    // A run that found no window puts its records on top of the file's log.
    const auto run = [&](const std::string& message) {
        std::vector<std::string> log = profile.ReadSection(ini, "Log");
        log.insert(log.begin(), "t=0;" + message + "\xC3\xBE");
        profile.WriteSection(ini, "Log", log);
    };
    Start();
    run("Run 1");
    main->Guard([&] { main->Logging().AddLog("Window 1", "", kLogInformation); });
    run("Run 2");
    main->Guard([&] { main->Logging().AddLog("Window 2", "", kLogInformation); });
    main->Guard([&] { main->Logging().AddLog("Window 3", "", kLogInformation); });
    run("Run 3");
    Close();
    std::vector<std::string> messages;
    for (const std::string& line : profile.ReadSection(ini, "Log")) messages.push_back(ParseLogLine(line).message);
    EXPECT_EQ(messages,
              (std::vector<std::string>{"Run 3", "Window 3", "Window 2", "Run 2", "Window 1", "Run 1", "Older"}));
}

TEST_F(SettingsTest, ARunsRecordsHandedOverKeepTheNewestWhenTooMany)
{
    Start();
    std::string lines;
    for (size_t i = 1; i <= ActionsLog::kCap + 6; ++i) lines += "t=0;Record " + std::to_string(i) + "\r\n";
    main->RecordsArrived(lines);
    ASSERT_EQ(main->Log().Size(), ActionsLog::kCap);
    EXPECT_EQ(main->Log().Records().front().message, "Record 1005");
    EXPECT_EQ(main->Log().Records().back().message, "Record 7");
}

// A [Log] section as another hand or tool may leave it: references to a
// bracket, a NUL or a line break decode inside the records only, and the
// next close writes every record back as one line of [Log] that reads back
// the same: no section, no key, no record of its own.
TEST_F(SettingsTest, AHostileLogSectionIsWrittenBackAsTheSameRecords)
{
    profile.lines = {"[Main]",
                     "BackupDir=C:\\Kept",
                     "[Log]",
                     "&#91;Main]=0;bracket first",
                     "a&#0;[Main]&#0;BackupDir=D:\\Evil=0;nul",
                     "&#59;x=0;comment mark first",
                     "&#61;0;no time",
                     "&#32;&#9;[View]=0;blanks first",
                     "t=0;x&#13;&#10;[Main]&#13;&#10;BackupDir=E:\\Evil\xC3\xBE&#0;[Main]"};
    Start();
    const std::vector<LogRecord> read = main->Log().Records();
    ASSERT_EQ(read.size(), 6u);
    for (int close = 0; close < 2; ++close) {
        Close();
        int sections = 0;
        for (const std::string& line : profile.lines) sections += !line.empty() && line[0] == '[';
        EXPECT_EQ(sections, 3) << profile.Text();  // [Main], [View], [Log]
        EXPECT_EQ(profile.ReadString("", "Main", "BackupDir", "?"), "C:\\Kept") << profile.Text();
        Start();
        EXPECT_EQ(main->Log().Records(), read) << profile.Text();
        EXPECT_EQ(main->Backup().BackupDir, "C:\\Kept");
    }
}

TEST_F(SettingsTest, StoredSizesSortAndBackupDirComeBack)
{
    profile.lines = {"[main]", "logheight=$50", "TimeWidth=0x64", "CommentWidth=oops", "NameWidth=111",
                     "CmdLiNeWidth=222", "SubKeyWidth=333", "BackupDir= D:\\Saves\\ ",
                     "[VIEW]", "SortOn=2", "Ascending=0"};
    Start();
    EXPECT_EQ(view.sizes[Size::LogHeight], 80);
    EXPECT_EQ(view.sizes[Size::TimeWidth], 100);
    EXPECT_EQ(view.sizes[Size::CommentWidth], 250);  // did not convert: the current width
    EXPECT_EQ(view.sizes[Size::NameWidth], 111);
    EXPECT_EQ(view.sizes[Size::CmdLineWidth], 222);
    EXPECT_EQ(view.sizes[Size::SubKeyWidth], 333);
    EXPECT_EQ(main->Backup().BackupDir, "D:\\Saves\\");
    EXPECT_EQ(main->Catalogue().Programs.SortColumnIndex(), 2);
    EXPECT_FALSE(main->Catalogue().Programs.Ascending());

    view.sizes[Size::NameWidth] = 150;
    main->Catalogue().SubkeyMMClick(1);
    Close();
    const std::string text = profile.Text();
    SCOPED_TRACE(text);
    EXPECT_NE(text.find("NameWidth=150\r\n"), std::string::npos);
    const std::string direction = main->Catalogue().Programs.Ascending() ? "1" : "0";
    EXPECT_NE(text.find("[VIEW]\r\nSortOn=1\r\nAscending=" + direction + "\r\n"), std::string::npos);
    EXPECT_NE(text.find("BackupDir=D:\\Saves\\\r\n"), std::string::npos);
}

TEST_F(SettingsTest, HandEditedViewValues)
{
    profile.lines = {"[View]", "ViewType=7", "TextLabels=0", "SortOn=-1"};
    Entry("b", "Beta", "b.exe");
    Entry("a", "Alpha", "a.exe");
    Start();
    // No column named: sorted by Name, ascending.
    EXPECT_EQ(main->Catalogue().Programs.SortColumnIndex(), 0);
    EXPECT_TRUE(main->Catalogue().Programs.Ascending());
    EXPECT_EQ(main->Rows().at(0).caption, "Alpha");
    // An unknown style changes nothing: details, with the design's check marks.
    EXPECT_EQ(view.viewStyle, ViewStyle::Report);
    EXPECT_TRUE(view.MenuItemChecked(MenuItem::LargeIconsMM));
    EXPECT_TRUE(view.MenuItemChecked(MenuItem::LargeIconsPM));
    // Plain buttons, both "Text Labels" items unchecked.
    EXPECT_FALSE(view.textLabels);
    EXPECT_FALSE(view.MenuItemChecked(MenuItem::TextLabelsMM));
    EXPECT_FALSE(view.MenuItemChecked(MenuItem::TextLabelsPM));
    EXPECT_TRUE(view.panes[Pane::ToolBar]);

    // The close writes what the window shows; existing keys keep their places.
    Close();
    EXPECT_NE(profile.Text().find("[View]\r\nViewType=3\r\nTextLabels=0\r\nSortOn=0\r\nToolBar=1\r\nLog=1\r\n"
                                  "StatusBar=1\r\nSystemEntries=1\r\nAscending=1\r\n"),
              std::string::npos)
        << profile.Text();
}

TEST_F(SettingsTest, SwitchesAndViewStyleRoundTrip)
{
    Start();
    EXPECT_EQ(view.viewStyle, ViewStyle::LargeIcons);  // no file: large icons, not the design's details
    main->Views().ToolBarMMClick();
    main->Views().StatusMMClick();
    main->Views().ListPMClick();
    Close();
    const std::string text = profile.Text();
    EXPECT_NE(text.find("[View]\r\nViewType=2\r\nToolBar=0\r\nLog=1\r\nStatusBar=0\r\nTextLabels=1\r\n"),
              std::string::npos)
        << text;

    Start();
    EXPECT_EQ(view.viewStyle, ViewStyle::List);
    EXPECT_TRUE(view.MenuItemChecked(MenuItem::ListMM));
    EXPECT_FALSE(view.panes[Pane::ToolBar]);
    EXPECT_TRUE(view.panes[Pane::Log]);
    EXPECT_FALSE(view.panes[Pane::StatusBar]);
    EXPECT_FALSE(view.MenuItemChecked(MenuItem::StatusMM));
    Close();
    EXPECT_EQ(profile.Text(), text);
}

TEST_F(SettingsTest, RefusedWritesNameTheFile)
{
    Start();
    profile.refuse = true;
    try {
        Close();
        FAIL() << "no error";
    } catch (const QuilletError& e) {
        EXPECT_STREQ(e.what(), "Unable to write to c:\\tools\\quillet.ini");
    }
}

// ---- Window placement

class PlacementTest : public SettingsTest {
protected:
    TFormStorage Storage()
    {
        TFormStorage storage(view, profile);
        storage.IniFileName = "q.ini";
        return storage;
    }
};

TEST_F(PlacementTest, StoredPositionIsAppliedAtTheSamePixelDensityOnly)
{
    profile.lines = {"[Main]", "Flags=2", "PixelsPerInch=96", "NormPos(1024x768)=10,20,500,400",
                     "MinMaxPos=5,6,7,8"};
    TFormStorage storage = Storage();
    storage.RestoreFormPlacement();
    ASSERT_EQ(view.placements.size(), 2u);
    EXPECT_EQ(view.placements[0], (WindowPlacement{2, 0, {5, 6, 7, 8}, {10, 20, 500, 400}}));
    // Then the maximised position puts the frame outside the screen.
    EXPECT_EQ(view.placements[1], (WindowPlacement{2, 0, {5, 6, -4, -4}, {10, 20, 500, 400}}));

    // At another density only the maximised position changes.
    profile.lines[2] = "PixelsPerInch=120";
    view = FakeMainView();
    TFormStorage other = Storage();
    other.RestoreFormPlacement();
    ASSERT_EQ(view.placements.size(), 1u);
    EXPECT_EQ(view.placements[0].normal, (std::array<int, 4>{191, 131, 833, 636}));
}

TEST_F(PlacementTest, AfterAScreenSizeChangeThePlainKeyIsUsed)
{
    profile.lines = {"[Main]", "PixelsPerInch=96", "NormPos(800x600)=1,2,300,400", "NormPos=30,40,330,440"};
    TFormStorage storage = Storage();
    storage.RestoreFormPlacement();  // 1024 x 768: no key of its own
    EXPECT_EQ(view.placement.normal, (std::array<int, 4>{30, 40, 330, 440}));

    view.screen.width = 800;
    view.screen.height = 600;
    storage.RestoreFormPlacement();
    EXPECT_EQ(view.placement.normal, (std::array<int, 4>{1, 2, 300, 400}));

    // Nothing stored, or an empty rectangle: the window stays where it is.
    for (const char* norm : {"NormPos=", "NormPos=50,50,50,90"}) {
        profile.lines = {"[Main]", norm};
        view = FakeMainView();
        TFormStorage fresh = Storage();
        fresh.RestoreFormPlacement();
        EXPECT_EQ(view.placements.size(), 1u) << norm;
    }
}

TEST_F(PlacementTest, SavesOnlyAfterARestoreAndOnceMoreOnDestruction)
{
    TFormStorage storage = Storage();
    storage.SaveFormPlacement();
    storage.FormDestroy();
    EXPECT_TRUE(profile.lines.empty());

    storage.RestoreFormPlacement();
    view.minimised = true;
    storage.FormDestroy();  // as after File > Exit
    EXPECT_NE(profile.Text().find("ShowCmd=2\r\n"), std::string::npos);
    EXPECT_NE(profile.Text().find("Visible=1\r\n"), std::string::npos);

    storage.RestoreFormPlacement();
    storage.SaveFormPlacement();  // as on a close: destruction then writes nothing
    profile.lines.clear();
    storage.FormDestroy();
    EXPECT_TRUE(profile.lines.empty());

    // A version below 0 skips the stored position.
    profile.lines = {"[Main]", "FormVersion=-1", "PixelsPerInch=96", "NormPos=1,2,300,400"};
    view = FakeMainView();
    storage.RestoreFormPlacement();
    EXPECT_EQ(view.placements.size(), 1u);
    EXPECT_EQ(view.placement.normal, (std::array<int, 4>{191, 131, 833, 636}));
}

}  // namespace
