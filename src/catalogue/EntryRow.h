#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "catalogue/EntryDetails.h"
#include "catalogue/EntryKey.h"
#include "catalogue/EntrySource.h"
#include "catalogue/Verdict.h"

namespace quillet {

enum EntryImage : int { kImageGood = 0, kImageBad = 1 };

// One row of the program list: copies of an uninstall entry's texts.
struct EntryRow {
    std::string caption;  // DisplayName
    std::string command;  // UninstallString
    std::string subkey;
    int image = kImageGood;
    RegistryView view = RegistryView::Native;  // where the entry was read
    EntryHive hive = EntryHive::Machine;
    std::string sid{};   // another user's hive
    std::string user{};  // that user's name as shown

    EntryKey Key() const { return {subkey, view, hive, sid}; }
    void SetSource(const EntrySource& source)
    {
        view = source.view;
        hive = source.hive;
        sid = source.sid;
        user = source.user;
    }
    // The Source column's text.
    std::string SourceName() const { return SourceText(hive, view, user); }
    Reason reason{};  // why the validity test gave that image
    EntryDetails details{};
    // False while the details wait to be read after the load (the list's
    // first paint needs only the caption and the command).
    bool detailsRead = true;
    // The row's place in each column's order, as the sortable list made it
    // for the rows of one load; a stamp it does not know means none.
    struct SortRanks {
        uint32_t stamp = 0;
        std::array<uint32_t, 8> of{};
    } sortRanks{};
};

}  // namespace quillet
