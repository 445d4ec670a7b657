#include "editing/ListTable.h"

namespace quillet {

namespace {

// Where the row was read, as the registry editor names the place.
std::string SourceText(const EntryRow& row)
{
    const std::string platform = PlatformText(row.view);
    return "HKEY_LOCAL_MACHINE" + (platform.empty() ? std::string() : " (" + platform + ")");
}

}  // namespace

TextTable ListTable(const std::vector<EntryRow>& rows)
{
    TextTable table;
    table.columns = {{"Name", "name"},         {"Command", "command"}, {"Subkey", "subkey"},
                     {"Source", "source"},     {"Publisher", "publisher"}, {"Version", "version"},
                     {"Installed", "installed"}, {"Size", "size"},     {"Status", "status"},
                     {"Reason", "reason"}};
    table.rows.reserve(rows.size());
    for (const EntryRow& row : rows)
        table.rows.push_back({row.caption, row.command, row.subkey, SourceText(row), "", "", "", "",
                              row.image == kImageBad ? "bad" : "good", ReasonText(row.reason)});
    return table;
}

}  // namespace quillet
