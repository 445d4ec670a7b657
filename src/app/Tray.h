#pragma once
#include <string>
#include <vector>

#include "catalogue/EntryRow.h"
#include "common/TrayIcon.h"

namespace quillet {

inline constexpr size_t kTrayTipLength = TrayIcon::kTipUnits;
inline constexpr int kTrayFrameCount = 27;
inline constexpr int kTrayInterval = 50;  // ms per frame

// The tip: the short part of a hint (before the first '|'), cut to 63 UTF-16 units
// (what the notification area holds), whole characters only.
std::string TrayTip(const std::string& hint);
// The frame after `index` in a cycle of `count`.
inline int NextTrayFrame(int index, int count) { return index + 1 >= count ? 0 : index + 1; }

// One item of the "Uninstall" submenu.
struct TrayItem {
    std::string caption;  // the name, "&" doubled so it shows literally
    std::string hint;     // the command
    int image = kImageGood;
    RegistryView view = RegistryView::Native;  // its twin in another source is another item
    EntryHive hive = EntryHive::Machine;
    std::string sid;
};

std::vector<TrayItem> TrayUninstallItems(const std::vector<EntryRow>& rows);
// The first row of the item's source whose name and command equal the item's,
// byte for byte; -1 when none.
int TrayItemRow(const std::vector<EntryRow>& rows, const TrayItem& item);

}  // namespace quillet
