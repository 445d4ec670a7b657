// Text is UTF-8 inside the program; the registry keeps its strings as
// UTF-16LE and the files it reads back are in either form. Conversions
// between the two, usable without the platform. A name the registry holds
// may be no exact UTF-16 (an unpaired surrogate): such a unit is carried as
// its own 3-byte form (WTF-8), so it goes back to the registry unchanged.
#pragma once
#include <string>
#include <string_view>

namespace quillet {

// The next character of UTF-8 text at `at`, which moves past it. A byte
// that starts no valid sequence is taken as the character of that number
// (Latin-1), so hostile bytes still come out as something; `valid` then
// becomes false.
char32_t NextCodePoint(std::string_view utf8, size_t& at, bool& valid);

// As NextCodePoint, but the 3-byte form of a surrogate is taken as that
// unit (still `valid`): what the UTF-16 conversions below read.
char32_t NextWtf8(std::string_view wtf8, size_t& at, bool& valid);

// Appends one character in UTF-8 (a surrogate in its 3-byte form).
void AppendUtf8(std::string& out, char32_t codePoint);

// True when every byte is below 0x80: such text is the same in UTF-8 and in
// every ANSI code page.
bool IsAscii(std::string_view text);

// The text as UTF-16LE bytes, surrogate pairs for characters beyond U+FFFF;
// an unpaired surrogate's 3-byte form gives that unit back.
std::string Utf16LeFromUtf8(std::string_view utf8);

// UTF-16LE bytes as UTF-8, NULs kept. False when the bytes are no exact
// UTF-16: a surrogate without its partner (kept in its 3-byte form, so the
// bytes come back) or an odd last byte (U+FFFD, which cannot).
bool Utf8FromUtf16Le(std::string_view bytes, std::string& utf8);

// How many UTF-16 units the text takes (two for a character beyond U+FFFF).
size_t Utf16Length(std::string_view wtf8);
// The longest start of the text, in whole characters, that fits in `units`
// UTF-16 units.
std::string_view CutToUtf16(std::string_view wtf8, size_t units);

// `count` UTF-16 units, unit(i) giving each, as WTF-8, appended; false when
// a surrogate had no partner.
template <typename UnitAt>
bool AppendWtf8Units(std::string& out, size_t count, UnitAt unit)
{
    bool exact = true;
    for (size_t i = 0; i < count; ++i) {
        const char32_t u = unit(i);
        // Most text the list reads is ASCII: a byte each, no call.
        if (u < 0x80) {
            out += static_cast<char>(u);
            continue;
        }
        const char32_t next = i + 1 < count ? unit(i + 1) : 0;
        if (u >= 0xD800 && u <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (next - 0xDC00));
            ++i;
            continue;
        }
        if (u >= 0xD800 && u <= 0xDFFF) exact = false;
        AppendUtf8(out, u);
    }
    return exact;
}

// UTF-16 units (wchar_t on Windows) as WTF-8, appended; false when a
// surrogate had no partner.
template <typename Unit>
bool AppendWtf8(std::string& out, const Unit* units, size_t count)
{
    out.reserve(out.size() + count);
    return AppendWtf8Units(out, count, [&](size_t i) { return char32_t{static_cast<char16_t>(units[i])}; });
}

// WTF-8 (or UTF-8) as UTF-16 units, appended to a wide string.
template <typename WideString>
void AppendUtf16(WideString& out, std::string_view wtf8)
{
    using Unit = typename WideString::value_type;
    bool valid = true;
    for (size_t at = 0; at < wtf8.size();) {
        const char32_t cp = NextWtf8(wtf8, at, valid);
        if (cp < 0x10000) {
            out += static_cast<Unit>(cp);
        } else {
            out += static_cast<Unit>(0xD800 + ((cp - 0x10000) >> 10));
            out += static_cast<Unit>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        }
    }
}

}  // namespace quillet
