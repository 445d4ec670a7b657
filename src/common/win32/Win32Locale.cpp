#include "common/win32/Win32Locale.h"

#include <windows.h>

namespace quillet::win32 {

namespace {

SYSTEMTIME ToSystemTime(const LocalTime& t)
{
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(t.year);
    st.wMonth = static_cast<WORD>(t.month);
    st.wDay = static_cast<WORD>(t.day);
    st.wDayOfWeek = static_cast<WORD>(t.dayOfWeek);
    st.wHour = static_cast<WORD>(t.hour);
    st.wMinute = static_cast<WORD>(t.minute);
    st.wSecond = static_cast<WORD>(t.second);
    return st;
}

}  // namespace

bool Win32Locale::IsLeadByte(unsigned char byte) const { return IsDBCSLeadByte(byte) != FALSE; }

int Win32Locale::Compare(const std::string& a, const std::string& b) const { return lstrcmpA(a.c_str(), b.c_str()); }

std::string Win32Locale::ShortDate(const LocalTime& time) const
{
    const SYSTEMTIME st = ToSystemTime(time);
    char text[128];
    const int length = GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, text, sizeof text);
    return length > 0 ? std::string(text, length - 1) : std::string();
}

std::string Win32Locale::LongTime(const LocalTime& time) const
{
    const SYSTEMTIME st = ToSystemTime(time);
    char text[128];
    const int length = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, text, sizeof text);
    return length > 0 ? std::string(text, length - 1) : std::string();
}

std::string Win32Locale::DecimalSeparator() const
{
    char text[8];
    const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, sizeof text);
    return length > 1 ? std::string(text, length - 1) : std::string(".");
}

std::string Win32Locale::LowerCase(const std::string& text) const
{
    std::string out = text;
    if (!out.empty()) CharLowerBuffA(out.data(), static_cast<DWORD>(out.size()));
    return out;
}

bool Win32Locale::SameTextIgnoreCase(const std::string& a, const std::string& b) const
{
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

std::string Win32Locale::CaseBlindKey(const std::string& text) const
{
    const int length = static_cast<int>(text.size());
    const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    std::string key(LCMapStringA(LOCALE_USER_DEFAULT, flags, text.data(), length, nullptr, 0), '\0');
    if (key.empty()) return key;
    key.resize(LCMapStringA(LOCALE_USER_DEFAULT, flags, text.data(), length, key.data(), static_cast<int>(key.size())));
    return key;
}

LocalTime Win32Clock::Now()
{
    SYSTEMTIME st;
    GetLocalTime(&st);
    return LocalTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wDayOfWeek};
}

}  // namespace quillet::win32
