#include "catalogue/STListView.h"

#include <algorithm>
#include <numeric>

#include "common/Error.h"
#include "common/Locale.h"

namespace quillet {

std::string TSTListView::ColumnText(const EntryRow& row, int column)
{
    switch (column) {
    case 0: return row.caption;
    case 1: return row.command;
    case kPlatformColumn: return PlatformText(row.view);
    default: return row.subkey;
    }
}

int TSTListView::CompareRows(const EntryRow& a, const EntryRow& b) const
{
    const int result = locale_.Compare(ColumnText(a, sortColumnIndex_), ColumnText(b, sortColumnIndex_));
    return ascending_ ? result : -result;
}

void TSTListView::HeaderClick(int column, int focusedRow)
{
    if (column == sortColumnIndex_) {
        ascending_ = !ascending_;
    } else {
        sortColumnIndex_ = static_cast<uint8_t>(column);
        ascending_ = true;
    }
    view_.UpdateHeaderImages(column, ascending_);
    hasSortColumn_ = true;

    // Sort an order of indices so that the focused row can be followed; equal
    // rows keep the order they had.
    std::vector<size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return CompareRows(rows_[a], rows_[b]) < 0; });
    std::vector<EntryRow> sorted;
    sorted.reserve(rows_.size());
    int focused = -1;
    for (size_t i = 0; i < order.size(); ++i) {
        if (static_cast<int>(order[i]) == focusedRow) focused = static_cast<int>(i);
        sorted.push_back(std::move(rows_[order[i]]));
    }
    rows_.swap(sorted);
    view_.RowsReordered(focused);

    if (OnColumnClick) OnColumnClick();
}

void TSTListView::SortByColumn(int column, bool ascending, int focusedRow)
{
    ascending_ = ascending;
    if (column < 0 || column >= columnCount_)
        throw QuilletError("List index out of bounds (" + std::to_string(column) + ")");
    HeaderClick(column, focusedRow);
}

void TSTListView::SetAscending(bool ascending)
{
    if (ascending == ascending_) return;
    ascending_ = ascending;
    view_.UpdateHeaderImages(SortColumnIndex(), ascending_);
}

}  // namespace quillet
