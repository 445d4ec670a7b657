#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "common/win32/Win32Locale.h"
#include "fakes/FakeFileSystem.h"

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
    for (int b = 1; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(static_cast<unsigned char>(real.LowerCase(one)[0]), static_cast<unsigned char>(fake.LowerCase(one)[0]))
            << "byte " << b;
    }
    EXPECT_EQ(real.LowerCase("UnInSt \xC9T\xC9 \x8A"), "uninst \xE9t\xE9 \x9A");
    EXPECT_EQ(real.LowerCase(""), "");

    const std::pair<std::string, std::string> pairs[] = {
        {"Tool", "tool"},  {"TOOL", "tool"},   {"Tool", "Tool "}, {"Caf\xC9", "caf\xE9"}, {"co-op", "coop"},
        {"a", "b"},        {"", ""},           {"", "a"},         {"Zip", "ZIP"},         {"\x8A", "\x9A"},
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
