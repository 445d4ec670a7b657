#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class Locale;

enum SearchIn : int { kSearchShortcuts = 0, kSearchLog = 1 };

// The Find dialog's state; it lives as long as the program, so the last
// search text comes back at the next Find.
struct TFindForm {
    int SearchType = kSearchShortcuts;  // the "Search in" radio group
    std::string Edit;
};

// The choice among several hits.
struct TSearchResultForm {
    std::vector<std::string> List;
    int ItemIndex = -1;
};

// One row as the search sees it: the caption, then every sub-item in column order.
using SearchRow = std::vector<std::string_view>;

// Captions of the rows with a field that contains `loweredText` (already in
// lower case), top to bottom, each caption once however its case is
// written. An empty text is contained nowhere.
std::vector<std::string> FindCaptions(const std::vector<SearchRow>& rows, const std::string& loweredText,
                                      const Locale& locale);

// "Search string "text" not found!"
std::string NotFoundText(const std::string& loweredText);

// The row with exactly this caption, or the last row when none has it; -1
// for no rows.
int RowByCaption(const std::vector<std::string_view>& captions, const std::string& caption);

}  // namespace quillet
