#pragma once
// The list sorts by precomputed keys; its order must be exactly that of
// comparing the texts with Locale::Compare in a stable sort, ties, case,
// hyphens and apostrophes included. Shared by the core tests (fake locale)
// and the platform tests (the real one).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/STListView.h"
#include "common/Locale.h"
#include "fakes/FakeMainView.h"

namespace quillet::fakes {

// Names where a word sort is easy to get wrong. The bytes are UTF-8.
inline std::vector<std::string> EdgeCaseNames()
{
    return {"banana", "Apple", "apple", "APPLE", "Tool 10", "Tool 9", "Tool", "tool", "tool 1", "coop", "co-op",
            "co-op", "Co-op", "coop-", "-coop", "co'op", "it's", "its", "Its", "it-s", "a", "A", "ab", "a b", "a-b",
            "a'b", "B", "", " ", "-", "'", "--", "1", "10", "9", "01", "Zeta", "zeta", "a\tb", "ab ",
            "Caf\xC3\xA9", "cafe", "Cafe", "caf\xC3\xA9", "Caf\xC3\x89", "\xC3\x9c" "bersetzer", "Ubersetzer",
            "\xC3\xBC" "bersetzer", "Stra\xC3\x9F" "e", "Strasse", "\xC3\xA6" "on", "aeon", "\xE6\x97\xA5\xE6\x9C\xAC",
            "x\xE2\x80\x93y", "x-y", "Bench App 12", "Bench App 120", "Bench-App 12", "The \"Quoted\" Suite 3",
            std::string("a\0b", 3), std::string("ab\0", 3)};
}

// `count` names from pieces that meet every rule above, some of them twice.
inline std::vector<std::string> GeneratedNames(size_t count)
{
    static const char* pieces[] = {"a",  "A",    "b",   "B",  "e",  "E", "\xC3\xA9", "\xC3\x89", "-",
                                   "'",  " ",    "1",   "9",  "10", "co", "op",       "Tool",     "\xC3\xBC",
                                   "\xC3\x9F", "ss", "\xC3\xA6", "ae"};
    const size_t kinds = sizeof pieces / sizeof *pieces;
    std::vector<std::string> names;
    uint32_t state = 12345;
    const auto next = [&](uint32_t range) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % range;
    };
    while (names.size() < count) {
        if (!names.empty() && next(8) == 0) {
            names.push_back(names[next(static_cast<uint32_t>(names.size()))]);
            continue;
        }
        std::string name;
        for (uint32_t i = 0, n = 1 + next(6); i < n; ++i) name += pieces[next(static_cast<uint32_t>(kinds))];
        names.push_back(name);
    }
    return names;
}

// Every pair of texts: the keys compare as Compare does.
inline void ExpectKeysCompareAsTexts(const Locale& locale, const std::vector<std::string>& names)
{
    std::vector<std::string> keys;
    for (const auto& name : names) keys.push_back(locale.SortKey(name));
    const auto sign = [](int r) { return (r > 0) - (r < 0); };
    for (size_t a = 0; a < names.size(); ++a)
        for (size_t b = 0; b < names.size(); ++b)
            EXPECT_EQ(sign(keys[a].compare(keys[b])), sign(locale.Compare(names[a], names[b])))
                << '"' << names[a] << "\" vs \"" << names[b] << '"';
}

// Rows of those names in every column (versions too), with dates and sizes,
// missing ones included; each header click, from the order the click before
// left, gives the order of a stable sort by the column's comparison: the
// locale's Compare for texts, CompareVersions, the numbers.
inline void ExpectSortIsTheComparatorsOrder(const Locale& locale, const std::vector<std::string>& names)
{
    std::vector<EntryRow> rows;
    const RegistryView views[] = {RegistryView::Bits64, RegistryView::Bits32, RegistryView::Native};
    const size_t n = names.size();
    for (size_t i = 0; i < n; ++i) {
        EntryRow row{names[i], names[(i * 7919) % n], names[(i * 104729 + 3) % n]};
        row.view = views[i % 3];
        row.hive = i % 5 == 0 ? EntryHive::OtherUser : i % 5 == 1 ? EntryHive::CurrentUser : EntryHive::Machine;
        row.user = names[(i * 613) % n];
        row.details.publisher = names[(i * 31 + 7) % n];
        row.details.version = names[(i * 13 + 5) % n];
        row.details.installDate = i % 5 == 0 ? 0 : 20000101 + static_cast<int32_t>((i * 7) % 300);
        row.details.sizeKiB = i % 7 == 0 ? -1 : static_cast<int64_t>((i * 7919) % 1000);
        row.sid = std::to_string(i);  // in no column: tells equal rows apart
        rows.push_back(row);
    }
    FakeMainView view;
    TSTListView list(rows, locale, view);
    const auto compare = [&](const EntryRow& a, const EntryRow& b, int column) {
        const auto number = [](int64_t x, int64_t y) { return (x > y) - (x < y); };
        switch (column) {
        case TSTListView::kVersionColumn: return CompareVersions(a.details.version, b.details.version);
        case TSTListView::kInstalledColumn: return number(a.details.installDate, b.details.installDate);
        case TSTListView::kSizeColumn: return number(a.details.sizeKiB, b.details.sizeKiB);
        default: return locale.Compare(list.ColumnText(a, column), list.ColumnText(b, column));
        }
    };
    for (int column : {0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 0}) {
        std::vector<EntryRow> expected = rows;
        list.HeaderClick(column, -1);
        const int direction = list.Ascending() ? 1 : -1;
        std::stable_sort(expected.begin(), expected.end(),
                         [&](const EntryRow& a, const EntryRow& b) { return direction * compare(a, b, column) < 0; });
        ASSERT_EQ(rows.size(), expected.size());
        size_t differ = 0;
        while (differ < rows.size() && rows[differ].sid == expected[differ].sid) ++differ;
        EXPECT_EQ(differ, rows.size()) << "column " << column << (direction > 0 ? " ascending" : " descending")
                                       << ": first difference at row " << differ;
    }
}

}  // namespace quillet::fakes
