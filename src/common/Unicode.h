// Text is UTF-8 inside the program; the registry keeps its strings as
// UTF-16LE and the files it reads back are in either form. Conversions
// between the two, usable without the platform.
#pragma once
#include <string>
#include <string_view>

namespace quillet {

// The next character of UTF-8 text at `at`, which moves past it. A byte
// that starts no valid sequence is taken as the character of that number
// (Latin-1), so hostile bytes still come out as something; `valid` then
// becomes false.
char32_t NextCodePoint(std::string_view utf8, size_t& at, bool& valid);

// Appends one character in UTF-8.
void AppendUtf8(std::string& out, char32_t codePoint);

// True when every byte is below 0x80: such text is the same in UTF-8 and in
// every ANSI code page.
bool IsAscii(std::string_view text);

// The text as UTF-16LE bytes, surrogate pairs for characters beyond U+FFFF.
std::string Utf16LeFromUtf8(std::string_view utf8);

// UTF-16LE bytes as UTF-8, NULs kept. False when the bytes are no exact
// UTF-16 (odd length, a surrogate without its partner); `utf8` then holds
// the best reading, with U+FFFD for what could not be read.
bool Utf8FromUtf16Le(std::string_view bytes, std::string& utf8);

}  // namespace quillet
