#pragma once
#include "common/Locale.h"

namespace quillet::win32 {

// The user's locale through kernel32 and user32's wide calls, UTF-8 in and
// out; the ANSI code page only for ToAnsi and FromAnsi.
class Win32Locale : public Locale {
public:
    bool IsLeadByte(unsigned char byte) const override;
    bool ToAnsi(const std::string& utf8, std::string& ansi) const override;
    std::string FromAnsi(const std::string& ansi) const override;
    int Compare(const std::string& a, const std::string& b) const override;
    std::string SortKey(const std::string& text) const override;
    std::string ShortDate(const LocalTime& time) const override;
    std::string LongTime(const LocalTime& time) const override;
    std::string DecimalSeparator() const override;
    std::string LowerCase(const std::string& text) const override;
    bool SameTextIgnoreCase(const std::string& a, const std::string& b) const override;
    std::string CaseBlindKey(const std::string& text) const override;
};

class Win32Clock : public Clock {
public:
    LocalTime Now() override;
};

}  // namespace quillet::win32
