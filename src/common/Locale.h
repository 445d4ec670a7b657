#pragma once
#include <string>

namespace quillet {

struct LocalTime {
    int year = 0, month = 0, day = 0;  // month 1..12, day 1..31
    int hour = 0, minute = 0, second = 0;
    int dayOfWeek = 0;                 // 0 = Sunday
};

// The user's ANSI code page and locale rules, as the platform answers them.
// Text is UTF-8.
class Locale {
public:
    virtual ~Locale() = default;
    // True when the byte starts a character whose later bytes may look like
    // ASCII (a double-byte code page's lead byte).
    virtual bool IsLeadByte(unsigned char byte) const = 0;
    // The text in the ANSI code page; false when a character has no exact
    // form there (nothing is replaced by a look-alike).
    virtual bool ToAnsi(const std::string& utf8, std::string& ansi) const = 0;
    virtual std::string FromAnsi(const std::string& ansi) const = 0;
    // The user locale's word sort, case-sensitive (lstrcmp): <0, 0, >0.
    virtual int Compare(const std::string& a, const std::string& b) const = 0;
    // Bytes that order as Compare orders: two keys compared byte by byte (as
    // unsigned, a prefix first) give Compare's answer for their texts, equal
    // included (the comparison's sort key, LCMapString). A sort makes each
    // text's key once instead of comparing the texts again and again.
    virtual std::string SortKey(const std::string& text) const = 0;
    // The date in the locale's short date format, the time in its long time format.
    virtual std::string ShortDate(const LocalTime& time) const = 0;
    virtual std::string LongTime(const LocalTime& time) const = 0;
    virtual std::string DecimalSeparator() const = 0;
    // Every letter in lower case, not only A to Z (CharLowerBuff).
    virtual std::string LowerCase(const std::string& text) const = 0;
    // The user locale's comparison ignoring case finds the texts equal (CompareString).
    virtual bool SameTextIgnoreCase(const std::string& a, const std::string& b) const = 0;
    // Bytes that are equal exactly when SameTextIgnoreCase finds the texts
    // equal (the comparison's sort key, LCMapString).
    virtual std::string CaseBlindKey(const std::string& text) const = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime Now() = 0;
};

}  // namespace quillet
