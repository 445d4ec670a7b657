#include "catalogue/STListView.h"

#include <algorithm>
#include <numeric>

#include "common/Error.h"
#include "common/Locale.h"
#include "common/Text.h"

namespace quillet {

namespace {

template <class T>
int Order(T a, T b)
{
    return a < b ? -1 : b < a ? 1 : 0;
}

// Versions by their numbers: "9.1" before "10.0"; other characters as they are.
int CompareVersions(const std::string& a, const std::string& b)
{
    size_t i = 0, j = 0;
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    while (i < a.size() && j < b.size()) {
        if (digit(a[i]) && digit(b[j])) {
            while (i < a.size() && a[i] == '0') ++i;
            while (j < b.size() && b[j] == '0') ++j;
            size_t ei = i, ej = j;
            while (ei < a.size() && digit(a[ei])) ++ei;
            while (ej < b.size() && digit(b[ej])) ++ej;
            // Longer runs without leading zeros are larger numbers.
            if (ei - i != ej - j) return Order(ei - i, ej - j);
            if (const int c = a.compare(i, ei - i, b, j, ej - j)) return c < 0 ? -1 : 1;
            i = ei;
            j = ej;
        } else {
            if (a[i] != b[j]) return Order(AsciiLower(a[i]), AsciiLower(b[j]));
            ++i;
            ++j;
        }
    }
    return Order(a.size() - i, b.size() - j);
}

}  // namespace

SortKey NumberKey(uint64_t value)
{
    SortKey key(8, '\0');
    for (int i = 7; i >= 0; --i, value >>= 8) key[static_cast<size_t>(i)] = static_cast<char>(value & 0xFF);
    return key;
}

std::string TSTListView::ColumnText(const EntryRow& row, int column) const
{
    switch (column) {
    case 0: return row.caption;
    case 1: return row.command;
    case kSourceColumn: return row.SourceName();
    case kPublisherColumn: return row.details.publisher;
    case kVersionColumn: return row.details.version;
    case kInstalledColumn: {
        const int32_t date = row.details.installDate;
        if (date == 0) return std::string();
        LocalTime day;
        day.year = date / 10000;
        day.month = date / 100 % 100;
        day.day = date % 100;
        return locale_.ShortDate(day);
    }
    case kSizeColumn:
        if (decimal_ == 0) {
            const std::string separator = locale_.DecimalSeparator();
            decimal_ = separator.size() == 1 ? separator[0] : '.';
        }
        return SizeText(row.details.sizeKiB, decimal_);
    default: return row.subkey;
    }
}

SortKey TSTListView::Key(const EntryRow& row, int column) const
{
    switch (column) {
    // Signed numbers with the sign bit flipped order as the numbers do, so
    // a missing date (0) and a missing size (-1) come first, as before.
    case kInstalledColumn: return NumberKey(static_cast<uint64_t>(int64_t{row.details.installDate}) ^ (1ULL << 63));
    case kSizeColumn: return NumberKey(static_cast<uint64_t>(row.details.sizeKiB) ^ (1ULL << 63));
    default: break;
    }
    const std::string text = ColumnText(row, column);
    auto found = textKeys_.find(text);
    if (found == textKeys_.end()) found = textKeys_.emplace(text, locale_.SortKey(text)).first;
    return found->second;
}

void TSTListView::MakeKeys() const
{
    for (const EntryRow& row : rows_)
        for (const int column : {0, 1, 2, kSourceColumn, kPublisherColumn}) Key(row, column);
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
    std::vector<size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), size_t{0});
    if (sortColumnIndex_ == kVersionColumn) {
        const auto less = [&](size_t a, size_t b) {
            return CompareVersions(rows_[a].details.version, rows_[b].details.version) < 0;
        };
        if (ascending_)
            std::stable_sort(order.begin(), order.end(), less);
        else
            std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return less(b, a); });
    } else {
        std::vector<SortKey> keys(rows_.size());
        for (size_t i = 0; i < rows_.size(); ++i) keys[i] = Key(rows_[i], sortColumnIndex_);
        if (ascending_)
            std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return keys[a] < keys[b]; });
        else
            std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return keys[b] < keys[a]; });
    }
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
    if (column < 0 || column >= kAllColumns)
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
