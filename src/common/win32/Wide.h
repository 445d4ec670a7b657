// Text is UTF-8 inside the program; the system's wide calls take UTF-16.
// Both directions keep every character, so nothing becomes "?" on the way.
#pragma once
#include <string>

namespace quillet::win32 {

std::wstring Wide(const std::string& utf8);
std::string Utf8(const wchar_t* text, size_t length);
inline std::string Utf8(const std::wstring& text) { return Utf8(text.data(), text.size()); }

}  // namespace quillet::win32
