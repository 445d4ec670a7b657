#include "common/win32/Win32Locale.h"

#include <windows.h>

#include <algorithm>

#include "common/win32/Wide.h"

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

// Text is UTF-8: every byte of a multi-byte character is 0x80 or above, so
// none of them can be mistaken for a backslash or a letter.
bool Win32Locale::IsLeadByte(unsigned char) const { return false; }

bool Win32Locale::ToAnsi(const std::string& utf8, std::string& ansi) const
{
    ansi.clear();
    if (utf8.empty()) return true;
    const std::wstring wide = Wide(utf8);
    // Bytes that are no UTF-8 come out of Wide as some character: not exact.
    if (wide.empty() || Utf8(wide.data(), wide.size()) != utf8) return false;
    const int size = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    const int length =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0, nullptr, &usedDefault);
    if (length <= 0 || usedDefault) return false;
    ansi.resize(length);
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, ansi.data(), length, nullptr, &usedDefault);
    if (usedDefault) ansi.clear();
    return !usedDefault;
}

std::string Win32Locale::FromAnsi(const std::string& ansi) const
{
    if (ansi.empty()) return std::string();
    const int size = static_cast<int>(ansi.size());
    std::wstring wide(MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, wide.data(), static_cast<int>(wide.size()));
    return Utf8(wide);
}

int Win32Locale::Compare(const std::string& a, const std::string& b) const
{
    // lstrcmpW's own comparison, with the lengths given (NULs compare too).
    // A sort asks this many times: the buffers stay between calls.
    thread_local std::wstring x, y;
    WideInto(a, x);
    WideInto(b, y);
    const int r = CompareStringW(LOCALE_USER_DEFAULT, 0, x.data(), static_cast<int>(x.size()), y.data(),
                                 static_cast<int>(y.size()));
    return r - CSTR_EQUAL;
}

std::string Win32Locale::SortKey(const std::string& text) const
{
    // The same conversion and flags as Compare, so that the key orders the
    // very texts Compare compares. An empty text is mapped as "" with its
    // NUL (a length of 0 is refused), giving the key of no characters.
    thread_local std::wstring wide;
    WideInto(text, wide);
    const wchar_t* chars = wide.empty() ? L"" : wide.data();
    const int length = wide.empty() ? -1 : static_cast<int>(wide.size());
    // A sort key is bytes, whatever the call's character width. One call
    // mostly: the size is asked only when the buffer is too small.
    thread_local std::string key;
    key.resize(std::max<size_t>(key.size(), 256));
    const auto map = [&] {
        return LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, chars, length, reinterpret_cast<wchar_t*>(key.data()),
                            static_cast<int>(key.size()));
    };
    int size = map();
    if (size == 0 && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        key.resize(static_cast<size_t>(std::max(LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, chars, length,
                                                             nullptr, 0), 0)));
        size = key.empty() ? 0 : map();
    }
    return key.substr(0, static_cast<size_t>(std::max(size, 0)));
}

std::string Win32Locale::ShortDate(const LocalTime& time) const
{
    const SYSTEMTIME st = ToSystemTime(time);
    wchar_t text[128];
    const int length = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, text, 128);
    return length > 0 ? Utf8(text, length - 1) : std::string();
}

std::string Win32Locale::LongTime(const LocalTime& time) const
{
    const SYSTEMTIME st = ToSystemTime(time);
    wchar_t text[128];
    const int length = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, text, 128);
    return length > 0 ? Utf8(text, length - 1) : std::string();
}

std::string Win32Locale::DecimalSeparator() const
{
    wchar_t text[8];
    const int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, 8);
    return length > 1 ? Utf8(text, length - 1) : std::string(".");
}

std::string Win32Locale::LowerCase(const std::string& text) const
{
    std::wstring wide = Wide(text);
    if (wide.empty()) return text;
    CharLowerBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    return Utf8(wide);
}

bool Win32Locale::SameTextIgnoreCase(const std::string& a, const std::string& b) const
{
    const std::wstring x = Wide(a), y = Wide(b);
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, x.data(), static_cast<int>(x.size()), y.data(),
                          static_cast<int>(y.size())) == CSTR_EQUAL;
}

std::string Win32Locale::CaseBlindKey(const std::string& text) const
{
    const std::wstring wide = Wide(text);
    const int length = static_cast<int>(wide.size());
    const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    // A sort key is bytes, whatever the call's character width.
    std::string key(LCMapStringW(LOCALE_USER_DEFAULT, flags, wide.data(), length, nullptr, 0), '\0');
    if (key.empty()) return key;
    key.resize(LCMapStringW(LOCALE_USER_DEFAULT, flags, wide.data(), length, reinterpret_cast<wchar_t*>(key.data()),
                            static_cast<int>(key.size())));
    return key;
}

LocalTime Win32Clock::Now()
{
    SYSTEMTIME st;
    GetLocalTime(&st);
    return LocalTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wDayOfWeek};
}

}  // namespace quillet::win32
