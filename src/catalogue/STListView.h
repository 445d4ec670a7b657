#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "catalogue/EntryRow.h"

namespace quillet {

class Locale;

// A text's place in one column's order: bytes compared as unsigned chars, a
// prefix before what it begins; the locale's sort key of the text.
using SortKey = std::string;

// Versions by their numbers ("9.1" before "10.0", leading zeros ignored),
// other characters by their ASCII lower case: <0, 0, >0.
int CompareVersions(const std::string& a, const std::string& b);

// What the sortable list needs of its control on screen.
class SortHeaderView {
public:
    virtual ~SortHeaderView() = default;
    // Arrow in the sort column's header (down when ascending, up when
    // descending), the blank image in the others; -1 means the first column.
    virtual void UpdateHeaderImages(int sortColumn, bool ascending) = 0;
    // The rows were put in a new order; the row that had the focus is now at
    // `focused` (-1 when no row had it).
    virtual void RowsReordered(int focused) = 0;
};

// The sort state and rule of the program list: a header click sorts by that
// column, flipping the direction when it is already the sort column.
class TSTListView {
public:
    // Name, Command Line, Subkey: the columns with menu items; then Source
    // and the entry's details.
    static constexpr int kColumnCount = 3;
    static constexpr int kSourceColumn = 3;
    static constexpr int kPlatformColumn = kSourceColumn;
    static constexpr int kPublisherColumn = 4;
    static constexpr int kVersionColumn = 5;
    static constexpr int kInstalledColumn = 6;
    static constexpr int kSizeColumn = 7;
    static constexpr int kAllColumns = 8;

    TSTListView(std::vector<EntryRow>& rows, const Locale& locale, SortHeaderView& view)
        : rows_(rows), locale_(locale), view_(view)
    {
    }

    // Raised at the end of every header click, also those of SortByColumn.
    std::function<void()> OnColumnClick;
    // Asked before a column of the entries' details is put in order: every
    // row's details must be there.
    std::function<void()> NeedDetails;

    void HeaderClick(int column, int focusedRow);
    // Sets the direction, then clicks the column: the same column with the
    // opposite direction re-sorts as it stands. Raises "List index out of
    // bounds (%d)" for a column that does not exist, after the direction.
    void SortByColumn(int column, bool ascending, int focusedRow = -1);
    // Changes the direction shown, never re-sorts.
    void SetAscending(bool ascending);
    int SortColumnIndex() const { return hasSortColumn_ ? sortColumnIndex_ : -1; }
    // The columns the list has, hidden ones included.
    int ColumnCount() const { return kAllColumns; }
    bool Ascending() const { return ascending_; }
    // A sort compares ranks made once per load: each row's place among the
    // column's distinct values (text columns by the locale's sort key of the
    // text, dates and sizes by their numbers, versions by CompareVersions),
    // equal values sharing a rank. A column is ranked at its first sort
    // after a load; a text's key is made once and kept until ForgetKeys.
    // Ranks every column now.
    void MakeKeys() const;
    // Drops the keys and ranks (each load starts afresh, so the texts of
    // rows long gone do not pile up).
    void ForgetKeys() const;
    // The row is new or its texts changed: the next sort ranks every row again.
    static void RowChanged(EntryRow& row) { row.sortRanks.stamp = 0; }

    // Called at every paint so that the arrow survives whatever rebuilt the header.
    void RefreshHeaderImages() { view_.UpdateHeaderImages(SortColumnIndex(), ascending_); }

    // A row's text in a column, as the list shows it and Find searches it
    // (dates and sizes as the user's locale writes them); the columns sorted
    // by number compare their numbers instead.
    std::string ColumnText(const EntryRow& row, int column) const;

private:
    static_assert(std::tuple_size<decltype(EntryRow::SortRanks::of)>::value == kAllColumns);
    // The column's ranks are those of the rows as they stand.
    void Ranked(int column) const;
    void RankColumn(int column) const;
    const SortKey& TextKey(const std::string& text) const;

    std::vector<EntryRow>& rows_;
    const Locale& locale_;
    SortHeaderView& view_;
    bool ascending_ = false;
    bool hasSortColumn_ = false;
    uint8_t sortColumnIndex_ = 0;
    mutable std::unordered_map<std::string, SortKey> textKeys_;
    mutable char decimal_ = 0;  // the locale's, asked once
    mutable uint32_t stamp_ = 0;                        // the rows' ranks are of this stamp
    mutable std::array<uint32_t, kAllColumns> rankedAt_{};  // the stamp each column was ranked at
};

}  // namespace quillet
