#include "common/Unicode.h"

namespace quillet {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool Continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

void AppendUnit(std::string& out, unsigned unit)
{
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
}

}  // namespace

char32_t NextCodePoint(std::string_view utf8, size_t& at, bool& valid)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(utf8[i]); };
    const unsigned char lead = byte(at);
    size_t length = 0;
    char32_t cp = 0, lowest = 0;
    if (lead < 0x80) {
        ++at;
        return lead;
    }
    if (lead >= 0xC2 && lead <= 0xDF) length = 2, cp = lead & 0x1F, lowest = 0x80;
    else if (lead >= 0xE0 && lead <= 0xEF) length = 3, cp = lead & 0x0F, lowest = 0x800;
    else if (lead >= 0xF0 && lead <= 0xF4) length = 4, cp = lead & 0x07, lowest = 0x10000;
    bool ok = length != 0 && at + length <= utf8.size();
    for (size_t i = 1; ok && i < length; ++i) {
        ok = Continuation(byte(at + i));
        cp = cp << 6 | (byte(at + i) & 0x3F);
    }
    // Overlong forms, surrogates and numbers beyond Unicode are no characters.
    if (ok && (cp < lowest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) ok = false;
    if (!ok) {
        valid = false;
        ++at;
        return lead;
    }
    at += length;
    return cp;
}

char32_t NextWtf8(std::string_view wtf8, size_t& at, bool& valid)
{
    // ED A0..BF 80..BF: U+D800..U+DFFF, which strict UTF-8 refuses.
    if (at + 2 < wtf8.size() && static_cast<unsigned char>(wtf8[at]) == 0xED) {
        const unsigned char b1 = static_cast<unsigned char>(wtf8[at + 1]);
        const unsigned char b2 = static_cast<unsigned char>(wtf8[at + 2]);
        if (b1 >= 0xA0 && b1 <= 0xBF && Continuation(b2)) {
            at += 3;
            return 0xD000 | (b1 & 0x3F) << 6 | (b2 & 0x3F);
        }
    }
    return NextCodePoint(wtf8, at, valid);
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | cp >> 6);
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | cp >> 12);
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | cp >> 18);
        out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool IsAscii(std::string_view text)
{
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

size_t Utf16Length(std::string_view wtf8)
{
    size_t units = 0;
    bool valid = true;
    for (size_t at = 0; at < wtf8.size();) units += NextWtf8(wtf8, at, valid) > 0xFFFF ? 2 : 1;
    return units;
}

std::string_view CutToUtf16(std::string_view wtf8, size_t units)
{
    size_t used = 0;
    bool valid = true;
    for (size_t at = 0; at < wtf8.size();) {
        const size_t start = at;
        used += NextWtf8(wtf8, at, valid) > 0xFFFF ? 2 : 1;
        if (used > units) return wtf8.substr(0, start);
    }
    return wtf8;
}

std::string Utf16LeFromUtf8(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size() * 2);
    bool valid = true;
    for (size_t at = 0; at < utf8.size();) {
        const char32_t cp = NextWtf8(utf8, at, valid);
        if (cp < 0x10000) {
            AppendUnit(out, static_cast<unsigned>(cp));
        } else {
            AppendUnit(out, 0xD800 + ((cp - 0x10000) >> 10));
            AppendUnit(out, 0xDC00 + ((cp - 0x10000) & 0x3FF));
        }
    }
    return out;
}

bool Utf8FromUtf16Le(std::string_view bytes, std::string& utf8)
{
    const size_t count = bytes.size() / 2;
    const auto unit = [&](size_t i) {
        return char32_t{static_cast<unsigned char>(bytes[2 * i])} |
               char32_t{static_cast<unsigned char>(bytes[2 * i + 1])} << 8;
    };
    // The ASCII beginning (mostly the whole text) a byte per unit at once.
    size_t ascii = 0;
    while (ascii < count && unit(ascii) < 0x80) ++ascii;
    utf8.resize(ascii);
    for (size_t i = 0; i < ascii; ++i) utf8[i] = bytes[2 * i];
    utf8.reserve(count + (bytes.size() % 2) * 3);
    bool exact = AppendWtf8Units(utf8, count - ascii, [&](size_t i) { return unit(ascii + i); });
    if (bytes.size() % 2) {
        AppendUtf8(utf8, kReplacement);
        exact = false;
    }
    return exact;
}

}  // namespace quillet
