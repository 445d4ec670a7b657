#include "app/Tray.h"

#include "common/Text.h"
#include "common/Unicode.h"

namespace quillet {

std::string TrayTip(const std::string& hint)
{
    // The notification area counts UTF-16 units: a character beyond U+FFFF
    // takes two, and is never cut in half.
    return std::string(CutToUtf16(std::string_view(hint).substr(0, hint.find('|')), kTrayTipLength));
}

std::vector<TrayItem> TrayUninstallItems(const std::vector<EntryRow>& rows)
{
    std::vector<TrayItem> items;
    items.reserve(rows.size());
    for (const EntryRow& row : rows) {
        TrayItem item{row.caption, row.command, row.image, row.view, row.hive, row.sid};
        ReplaceAll(item.caption, "&", "&&");
        items.push_back(std::move(item));
    }
    return items;
}

int TrayItemRow(const std::vector<EntryRow>& rows, const TrayItem& item)
{
    std::string name = item.caption;
    ReplaceAll(name, "&&", "&");
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].caption == name && rows[i].command == item.hint && rows[i].view == item.view &&
            rows[i].hive == item.hive && rows[i].sid == item.sid)
            return static_cast<int>(i);
    return -1;
}

}  // namespace quillet
