#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "common/win32/Win32Locale.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/KeyOrder.h"

using namespace quillet;

namespace {

// The core tests sort with a fake locale; it must order names as lstrcmpA does.
TEST(LocaleTest, FakeWordSortAgreesWithLstrcmpA)
{
    win32::Win32Locale real;
    fakes::FakeLocale fake;
    const std::vector<std::string> names = {"banana", "Apple", "apple", "Tool 10", "Tool 9", "coop", "co-op",
                                            "Zeta",   "zeta",  "a",     "A",       "ab",     "B",     "it's",
                                            "its",    "",      "Tool",  "tool 1",  "1",      "10",    "9"};
    for (const auto& a : names)
        for (const auto& b : names) {
            const int r = real.Compare(a, b), f = fake.Compare(a, b);
            EXPECT_EQ((r > 0) - (r < 0), (f > 0) - (f < 0)) << '"' << a << "\" vs \"" << b << '"';
        }
    std::vector<std::string> sorted = {"banana", "Apple", "apple", "Tool 9", "Tool 10"};
    std::sort(sorted.begin(), sorted.end(), [&](const std::string& a, const std::string& b) {
        return real.Compare(a, b) < 0;
    });
    EXPECT_EQ(sorted, (std::vector<std::string>{"apple", "Apple", "banana", "Tool 10", "Tool 9"}));
}

TEST(LocaleTest, DateAndTimeFollowTheUserLocale)
{
    win32::Win32Locale locale;
    const LocalTime t{2027, 1, 5, 7, 8, 9, 2};
    SYSTEMTIME st{2027, 1, 2, 5, 7, 8, 9, 0};
    char date[64], time[64];
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, sizeof date);
    GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, time, sizeof time);
    EXPECT_EQ(locale.ShortDate(t), date);
    EXPECT_EQ(locale.LongTime(t), time);
    EXPECT_NE(locale.ShortDate(t).find("2027"), std::string::npos);
    EXPECT_NE(locale.LongTime(t).find("08"), std::string::npos);

    win32::Win32Clock clock;
    SYSTEMTIME now;
    GetLocalTime(&now);
    const LocalTime read = clock.Now();
    EXPECT_EQ(read.year, now.wYear);
    EXPECT_EQ(read.month, now.wMonth);
}

}  // namespace

namespace {

// Find lower-cases through the locale; the core tests use the fake's table.
TEST(LocaleTest, FakeLowerCaseAndCaseBlindEqualityAgreeWithTheSystem)
{
    win32::Win32Locale real;
    fakes::FakeLocale fake;
    ASSERT_EQ(GetACP(), 1252u) << "the fake models code page 1252";
    // Every character of the code page, as UTF-8.
    for (int b = 1; b < 256; ++b) {
        const std::string one = real.FromAnsi(std::string(1, static_cast<char>(b)));
        EXPECT_EQ(real.LowerCase(one), fake.LowerCase(one)) << "byte " << b;
    }
    EXPECT_EQ(real.LowerCase("UnInSt \xC3\x89T\xC3\x89 \xC5\xA0"), "uninst \xC3\xA9t\xC3\xA9 \xC5\xA1");
    EXPECT_EQ(real.LowerCase(""), "");

    const std::pair<std::string, std::string> pairs[] = {
        {"Tool", "tool"},  {"TOOL", "tool"},   {"Tool", "Tool "}, {"Caf\xC3\x89", "caf\xC3\xA9"}, {"co-op", "coop"},
        {"a", "b"},        {"", ""},           {"", "a"},         {"Zip", "ZIP"},         {"\xC5\xA0", "\xC5\xA1"},
        {"Tool 9", "tool 10"},
    };
    for (const auto& [a, b] : pairs) {
        EXPECT_EQ(real.SameTextIgnoreCase(a, b), fake.SameTextIgnoreCase(a, b)) << '"' << a << "\" vs \"" << b << '"';
        // Find looks captions up by key: the key must judge as the comparison does.
        EXPECT_EQ(real.CaseBlindKey(a) == real.CaseBlindKey(b), real.SameTextIgnoreCase(a, b))
            << '"' << a << "\" vs \"" << b << '"';
    }
}

}  // namespace

namespace {

// Text is UTF-8: a character the code page lacks is reported, never a look-alike or '?'.
TEST(LocaleTest, AnsiConversionIsExactOrRefused)
{
    win32::Win32Locale real;
    fakes::FakeLocale fake;
    ASSERT_EQ(GetACP(), 1252u) << "the bytes below are those of code page 1252";
    const struct {
        std::string utf8;
        bool fits;
        std::string ansi;
    } cases[] = {
        {"", true, ""},
        {"plain", true, "plain"},
        {"Caf\xC3\xA9 \xC3\xBE", true, "Caf\xE9 \xFE"},
        {std::string("a\0b", 3), true, std::string("a\0b", 3)},
        {"\xE2\x82\xAC", true, "\x80"},                // the euro sign sits at 0x80
        {"\xE6\x97\xA5\xE6\x9C\xAC", false, ""},       // Japanese
        {"\xC4\x80", false, ""},                        // A with macron: no best-fit 'A'
        {"\xF0\x9F\x98\x80", false, ""},
        {"\xE9", false, ""},                             // no UTF-8
    };
    for (const auto& c : cases) {
        std::string ansi = "stale";
        EXPECT_EQ(real.ToAnsi(c.utf8, ansi), c.fits) << c.utf8;
        if (c.fits) {
            EXPECT_EQ(ansi, c.ansi) << c.utf8;
            EXPECT_EQ(real.FromAnsi(ansi), c.utf8);
        }
    }
    // Below U+0100 the fake agrees with code page 1252.
    for (int b = 0xA0; b < 256; ++b) {
        const std::string one = real.FromAnsi(std::string(1, static_cast<char>(b)));
        std::string fakeAnsi;
        EXPECT_TRUE(fake.ToAnsi(one, fakeAnsi));
        EXPECT_EQ(fakeAnsi, std::string(1, static_cast<char>(b)));
    }
    // Names outside the code page still sort, fold and compare.
    const std::string day = "\xE6\x97\xA5", book = "\xE6\x9C\xAC";
    EXPECT_NE(real.Compare(day, book), 0);
    EXPECT_EQ(real.Compare(day, day), 0);
    EXPECT_EQ(real.LowerCase("\xCE\xA9 " + day), "\xCF\x89 " + day);  // Greek capital omega
    EXPECT_TRUE(real.SameTextIgnoreCase("\xCE\xA9" + day, "\xCF\x89" + day));
    EXPECT_NE(real.CaseBlindKey(day), real.CaseBlindKey(book));
    EXPECT_FALSE(real.IsLeadByte(0xE6));
}

}  // namespace

namespace {

// The list sorts by LCMapString's keys; the order must be CompareString's
// word sort exactly: ties, case, hyphens and apostrophes, stability.
TEST(LocaleTest, SortKeysOrderAsCompareString)
{
    win32::Win32Locale real;
    std::vector<std::string> names = fakes::EdgeCaseNames();
    // Beyond the fake's reach: marks, ligatures, wide forms, controls, no UTF-8.
    for (const char* more : {"e\xCC\x81", "\xC3\xA9", "\xEF\xAC\x81le", "file", "\xEF\xBC\xA1", "A",
                             "\xE2\x80\x8B", "\x01", "a\x7F", "\xFF\xFE", "\xF0\x9F\x98\x80", "\xE2\x80\x99s"})
        names.push_back(more);
    fakes::ExpectKeysCompareAsTexts(real, names);
    fakes::ExpectSortIsTheComparatorsOrder(real, names);
    fakes::ExpectSortIsTheComparatorsOrder(real, fakes::GeneratedNames(10000));
}

}  // namespace
