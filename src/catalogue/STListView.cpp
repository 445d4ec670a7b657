#include "catalogue/STListView.h"

#include <algorithm>
#include <numeric>

#include "common/Error.h"
#include "common/Locale.h"

namespace quillet {

SortKey NumberKey(uint64_t value)
{
    SortKey key(8, '\0');
    for (int i = 7; i >= 0; --i, value >>= 8) key[static_cast<size_t>(i)] = static_cast<char>(value & 0xFF);
    return key;
}

const std::string& TSTListView::ColumnText(const EntryRow& row, int column)
{
    static const std::string platforms[] = {PlatformText(RegistryView::Native), PlatformText(RegistryView::Bits64),
                                            PlatformText(RegistryView::Bits32)};
    switch (column) {
    case 0: return row.caption;
    case 1: return row.command;
    case kPlatformColumn: return platforms[static_cast<int>(row.view)];
    default: return row.subkey;
    }
}

const SortKey& TSTListView::Key(const EntryRow& row, int column) const
{
    const std::string& text = ColumnText(row, column);
    auto found = textKeys_.find(text);
    if (found == textKeys_.end()) found = textKeys_.emplace(text, locale_.SortKey(text)).first;
    return found->second;
}

void TSTListView::MakeKeys() const
{
    for (const EntryRow& row : rows_)
        for (int column = 0; column < columnCount_; ++column) Key(row, column);
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
    // rows keep the order they had. The keys order as the locale's Compare
    // does, ties included, so this is the order of comparing the texts.
    std::vector<const SortKey*> keys(rows_.size());
    for (size_t i = 0; i < rows_.size(); ++i) keys[i] = &Key(rows_[i], sortColumnIndex_);
    std::vector<size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), size_t{0});
    if (ascending_)
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return *keys[a] < *keys[b]; });
    else
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return *keys[b] < *keys[a]; });
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
