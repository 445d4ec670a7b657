#pragma once
#include <string>

namespace quillet {

struct LocalTime {
    int year = 0, month = 0, day = 0;  // month 1..12, day 1..31
    int hour = 0, minute = 0, second = 0;
    int dayOfWeek = 0;                 // 0 = Sunday
};

// The user's ANSI code page and locale rules, as the platform answers them.
class Locale {
public:
    virtual ~Locale() = default;
    // True when the byte starts a two-byte character in the ANSI code page.
    virtual bool IsLeadByte(unsigned char byte) const = 0;
    // The user locale's word sort, case-sensitive (lstrcmpA): <0, 0, >0.
    virtual int Compare(const std::string& a, const std::string& b) const = 0;
    // The date in the locale's short date format, the time in its long time format.
    virtual std::string ShortDate(const LocalTime& time) const = 0;
    virtual std::string LongTime(const LocalTime& time) const = 0;
    virtual std::string DecimalSeparator() const = 0;
    // Every letter of the code page in lower case (CharLowerBuffA).
    virtual std::string LowerCase(const std::string& text) const = 0;
    // The user locale's comparison ignoring case finds the texts equal (CompareStringA).
    virtual bool SameTextIgnoreCase(const std::string& a, const std::string& b) const = 0;
    // Bytes that are equal exactly when SameTextIgnoreCase finds the texts
    // equal (the comparison's sort key, LCMapStringA).
    virtual std::string CaseBlindKey(const std::string& text) const = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime Now() = 0;
};

}  // namespace quillet
