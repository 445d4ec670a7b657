#pragma once
#include <string>

#include "catalogue/Verdict.h"

namespace quillet {

enum EntryImage : int { kImageGood = 0, kImageBad = 1 };

// One row of the program list: copies of an uninstall entry's texts.
struct EntryRow {
    std::string caption;  // DisplayName
    std::string command;  // UninstallString
    std::string subkey;
    int image = kImageGood;
    Reason reason{};  // why the validity test gave that image
};

}  // namespace quillet
