#include "catalogue/STListView.h"

#include <algorithm>
#include <functional>

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

}  // namespace

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
            // Letters that differ only in case are the same letter: go on,
            // so that "Beta 2" stays after "beta 1" whichever is compared first.
            if (const int c = Order(AsciiLower(a[i]), AsciiLower(b[j]))) return c;
            ++i;
            ++j;
        }
    }
    return Order(a.size() - i, b.size() - j);
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

const SortKey& TSTListView::TextKey(const std::string& text) const
{
    auto found = textKeys_.find(text);
    if (found == textKeys_.end()) found = textKeys_.emplace(text, locale_.SortKey(text)).first;
    return found->second;
}

void TSTListView::ForgetKeys() const
{
    textKeys_.clear();
    ++stamp_;
}

void TSTListView::MakeKeys() const
{
    for (int column = 0; column < kAllColumns; ++column) Ranked(column);
}

void TSTListView::Ranked(int column) const
{
    if (column > kSourceColumn && NeedDetails) NeedDetails();
    // A row that is new or changed since the ranks were made: rank again.
    const bool current = stamp_ != 0 && std::all_of(rows_.begin(), rows_.end(),
                                                    [&](const EntryRow& row) { return row.sortRanks.stamp == stamp_; });
    if (!current) {
        if (++stamp_ == 0) ++stamp_;
        for (EntryRow& row : rows_) row.sortRanks.stamp = stamp_;
    }
    if (rankedAt_[column] == stamp_) return;
    RankColumn(column);
    rankedAt_[column] = stamp_;
}

void TSTListView::RankColumn(int column) const
{
    // The rows in the column's order (ties in any order), then each row's
    // rank: how many distinct values come before its own.
    const auto rank = [&](auto value, auto less) {
        std::vector<std::pair<decltype(value(rows_[0])), uint32_t>> order;
        order.reserve(rows_.size());
        for (size_t i = 0; i < rows_.size(); ++i) order.emplace_back(value(rows_[i]), static_cast<uint32_t>(i));
        std::sort(order.begin(), order.end(), [&](const auto& x, const auto& y) { return less(x.first, y.first); });
        uint32_t place = 0;
        for (size_t k = 0; k < order.size(); ++k) {
            if (k > 0 && less(order[k - 1].first, order[k].first)) ++place;
            rows_[order[k].second].sortRanks.of[static_cast<size_t>(column)] = place;
        }
    };
    if (rows_.empty()) return;
    switch (column) {
    // A missing date (0) and a missing size (-1) come first.
    case kInstalledColumn:
        rank([](const EntryRow& row) { return int64_t{row.details.installDate}; }, std::less<int64_t>());
        break;
    case kSizeColumn: rank([](const EntryRow& row) { return row.details.sizeKiB; }, std::less<int64_t>()); break;
    case kVersionColumn:
        rank([](const EntryRow& row) { return &row.details.version; },
             [](const std::string* a, const std::string* b) { return CompareVersions(*a, *b) < 0; });
        break;
    default:
        // Keys compared as bytes order as the locale's Compare orders the texts.
        rank([&](const EntryRow& row) { return &TextKey(ColumnText(row, column)); },
             [](const SortKey* a, const SortKey* b) { return *a < *b; });
        break;
    }
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

    // A stable sort of the rows by their ranks (a counting sort: equal
    // ranks keep the order they had, in both directions), the focused row
    // followed. The ranks order as the column's comparison does, ties
    // included, so this is the order of a stable sort comparing the values.
    Ranked(sortColumnIndex_);
    const size_t sorted = sortColumnIndex_;
    uint32_t last = 0;
    for (const EntryRow& row : rows_) last = std::max(last, row.sortRanks.of[sorted]);
    std::vector<size_t> count(size_t{last} + 1, 0), start(size_t{last} + 1, 0);
    for (const EntryRow& row : rows_) ++count[row.sortRanks.of[sorted]];
    size_t at = 0;
    for (size_t k = 0; k <= last; ++k) {
        const size_t r = ascending_ ? k : last - k;
        start[r] = at;
        at += count[r];
    }
    // order[k]: the row that goes to place k; put in place cycle by cycle,
    // so that each row moves once and no second list is made.
    std::vector<size_t> order(rows_.size());
    for (size_t i = 0; i < rows_.size(); ++i) order[start[rows_[i].sortRanks.of[sorted]]++] = i;
    int focused = -1;
    for (size_t k = 0; k < order.size(); ++k)
        if (static_cast<int>(order[k]) == focusedRow) focused = static_cast<int>(k);
    for (size_t k = 0; k < order.size(); ++k) {
        if (order[k] == k) continue;
        EntryRow first = std::move(rows_[k]);
        size_t place = k;
        while (order[place] != k) {
            const size_t from = order[place];
            rows_[place] = std::move(rows_[from]);
            order[place] = place;
            place = from;
        }
        rows_[place] = std::move(first);
        order[place] = place;
    }
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
