#pragma once
#include <string>
#include <vector>

#include "catalogue/EntryRow.h"

namespace quillet {

// A table of texts: what the list export and the command line write.
struct TextTable {
    struct Column {
        std::string caption;  // the CSV and HTML heading
        std::string key;      // the JSON field name
    };
    std::vector<Column> columns;
    std::vector<std::vector<std::string>> rows;  // one text per column
};

// The program list as the window shows it: name, command, subkey, source,
// publisher, version, installed, size, good or bad, and the reason.
TextTable ListTable(const std::vector<EntryRow>& rows);

}  // namespace quillet
