#include "app/Tray.h"

#include "common/Text.h"

namespace quillet {

std::string TrayTip(const std::string& hint)
{
    std::string tip = hint.substr(0, hint.find('|'));
    if (tip.size() <= kTrayTipLength) return tip;
    // Never half a character: a UTF-8 sequence is cut before its first byte.
    size_t end = kTrayTipLength;
    while (end > 0 && (static_cast<unsigned char>(tip[end]) & 0xC0) == 0x80) --end;
    return tip.substr(0, end);
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
