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
