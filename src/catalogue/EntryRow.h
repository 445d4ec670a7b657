#pragma once
#include <string>

#include "catalogue/EntryKey.h"
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

    EntryKey Key() const { return {subkey, view}; }
    Reason reason{};  // why the validity test gave that image
};

}  // namespace quillet
