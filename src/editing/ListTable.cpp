#include "editing/ListTable.h"

#include <cstdio>

namespace quillet {

namespace {

// Where the row was read, as the registry editor names the place.
std::string PlaceText(const EntryRow& row)
{
    switch (row.hive) {
    case EntryHive::CurrentUser: return "HKEY_CURRENT_USER";
    case EntryHive::OtherUser: return "HKEY_USERS\\" + row.sid + (row.user.empty() ? "" : " (" + row.user + ")");
    case EntryHive::Machine: break;
    }
    const std::string platform = PlatformText(row.view);
    return "HKEY_LOCAL_MACHINE" + (platform.empty() ? std::string() : " (" + platform + ")");
}

// YYYY-MM-DD: one form that every spreadsheet and inventory reads as a date.
std::string IsoDate(int32_t date)
{
    if (date <= 0) return std::string();
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", static_cast<int>(date / 10000), static_cast<int>(date / 100 % 100),
                  static_cast<int>(date % 100));
    return text;
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
        table.rows.push_back({row.caption, row.command, row.subkey, PlaceText(row), row.details.publisher,
                              row.details.version, IsoDate(row.details.installDate), SizeText(row.details.sizeKiB, '.'),
                              row.image == kImageBad ? "bad" : "good", ReasonText(row.reason)});
    return table;
}

}  // namespace quillet
