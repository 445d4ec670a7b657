// Text is UTF-8 inside the program; the system's wide calls take UTF-16.
// Both directions keep every unit, unpaired surrogates included (WTF-8),
// so nothing becomes "?" or U+FFFD on the way.
#pragma once
#include <cwchar>
#include <string>

namespace quillet::win32 {

std::wstring Wide(const std::string& utf8);
// Into a buffer the caller keeps: one conversion, no allocation once it is large enough.
void WideInto(const std::string& utf8, std::wstring& out);
std::string Utf8(const wchar_t* text, size_t length);
inline std::string Utf8(const std::wstring& text) { return Utf8(text.data(), text.size()); }
inline std::string Utf8(const wchar_t* text) { return text ? Utf8(text, wcslen(text)) : std::string(); }

// Into a control's buffer of `capacity` characters, NUL included; cut short
// when it does not fit, as the control would cut our own text, but never
// between the two halves of a surrogate pair.
void CopyWide(const std::string& utf8, wchar_t* buffer, int capacity);

}  // namespace quillet::win32
