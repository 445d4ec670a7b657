#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "editing/ExportCommand.h"
#include "editing/ListTable.h"
#include "editing/TableText.h"

namespace quillet {
namespace {

std::string Golden(const char* name)
{
    std::ifstream in(std::string(QUILLET_GOLDEN_DIR) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

EntryRow Row(const std::string& caption, const std::string& command, const std::string& subkey, bool bad = false,
             RegistryView view = RegistryView::Native)
{
    EntryRow row{caption, command, subkey, bad ? kImageBad : kImageGood, view};
    if (bad) row.reason = {Why::NotStarted, 0, {}};
    return row;
}

// Every text an installer might write: separators, quotes, line breaks,
// letters of no code page, what a spreadsheet runs, bytes that are no text.
std::vector<EntryRow> HostileRows()
{
    std::vector<EntryRow> rows{
        Row("Plain", "C:\\plain.exe", "Plain"),
        Row("Comma, and \"quotes\"", "\"C:\\Program Files\\a b\\u.exe\" /x", "Comma", true, RegistryView::Bits64),
        Row("Two\r\nlines\nand\rmore", "", "Lines", false, RegistryView::Bits32),
        Row("Caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80", "x", "Unicode \xD0\x96"),
        Row("=HYPERLINK(\"http://x\")", "+cmd", "-minus", true),
        Row("@SUM(A1)", "\tTabbed", "\rReturn"),
        Row("<b>&amp;'</b>", "ctl\x01\x7F", "bad\xFF byte"),
        Row("", "", ""),
    };
    rows[1].reason = {Why::NoFile, 0, "C:\\Program Files\\a b\\u.exe"};
    // Per-user entries with their details: the place, a date, a size.
    EntryRow mine = Row("Chat", "\"C:\\Users\\me\\Update.exe\" --uninstall", "Chat");
    mine.SetSource({EntryHive::CurrentUser, RegistryView::Native, "", ""});
    mine.details.publisher = "Chat, Inc.";
    mine.details.version = "1.2.3";
    mine.details.installDate = 20240229;
    mine.details.sizeKiB = 2048;
    EntryRow theirs = Row("{GUID}_is1 app", "x", "{1234}_is1");
    theirs.SetSource({EntryHive::OtherUser, RegistryView::Native, "S-1-5-21-1-2-3-1001", "ann"});
    theirs.details.sizeKiB = 0;
    rows.push_back(mine);
    rows.push_back(theirs);
    return rows;
}

TEST(TableTextTest, WritersMatchTheirGoldenFiles)
{
    const TextTable table = ListTable(HostileRows());
    EXPECT_EQ(CsvText(table), Golden("list.csv"));
    EXPECT_EQ(JsonText(table), Golden("list.json"));
    EXPECT_EQ(HtmlText(table, "Installed <programs>"), Golden("list.html"));
}

TEST(TableTextTest, AnEmptyListIsItsHeadingAlone)
{
    const TextTable table = ListTable({});
    EXPECT_EQ(CsvText(table),
              "\xEF\xBB\xBFName,Command,Subkey,Source,Publisher,Version,Installed,Size,Status,Reason\r\n");
    EXPECT_EQ(JsonText(table), "[]\n");
}

TEST(TableTextTest, TheWebPageIsChosenByTheNameAlone)
{
    for (const auto& [name, page] : std::vector<std::pair<std::string, bool>>{
             {"a.html", true}, {"A.HTM", true}, {"x.Html", true}, {"a.csv", false}, {"html", false},
             {"a.html.csv", false}, {".htm", true}, {"", false}})
        EXPECT_EQ(WantsWebPage(name), page) << name;
}

}  // namespace
}  // namespace quillet
