#include "common/Text.h"

#include "common/Locale.h"
#include "common/Unicode.h"

namespace quillet {

std::string AsciiLowerPath(std::string_view text, const Locale& locale)
{
    std::string out(text);
    for (size_t i = 0; i < out.size(); ++i) {
        if (locale.IsLeadByte(static_cast<unsigned char>(out[i]))) {
            ++i;  // keep the trail byte
            continue;
        }
        out[i] = AsciiLower(out[i]);
    }
    return out;
}

std::string ChangeFileExt(std::string_view path, std::string_view extension, const Locale& locale)
{
    size_t dot = std::string_view::npos;
    for (size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (locale.IsLeadByte(static_cast<unsigned char>(c))) {
            ++i;
            continue;
        }
        if (c == '\\' || c == ':' || c == '/') dot = std::string_view::npos;
        else if (c == '.') dot = i;
    }
    std::string out(path.substr(0, dot == std::string_view::npos ? path.size() : dot));
    out += extension;
    return out;
}

std::string ExtractFilePath(std::string_view path, const Locale& locale)
{
    size_t end = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        if (locale.IsLeadByte(static_cast<unsigned char>(path[i]))) {
            ++i;  // a trail byte may look like a backslash
            continue;
        }
        if (path[i] == '\\' || path[i] == ':') end = i + 1;
    }
    return std::string(path.substr(0, end));
}

}  // namespace quillet

namespace quillet {

void ReplaceAll(std::string& text, const std::string& find, const std::string& replacement)
{
    if (find.empty()) return;
    std::string result;
    result.reserve(text.size());
    size_t position = 0;
    while (position < text.size()) {
        if (text.compare(position, find.size(), find) == 0) {
            result += replacement;
            position += find.size();
        } else {
            result += text[position++];
        }
    }
    text.swap(result);
}

}  // namespace quillet

namespace quillet {

std::string EscapeForCodePage(const std::string& utf8, const Locale& locale)
{
    std::string converted;
    if (utf8.find("&#") == std::string::npos && (IsAscii(utf8) || locale.ToAnsi(utf8, converted))) return utf8;
    std::string out;
    out.reserve(utf8.size() + 16);
    for (size_t at = 0; at < utf8.size();) {
        const size_t from = at;
        bool valid = true;
        const char32_t c = NextCodePoint(utf8, at, valid);
        if (c == '&' && at < utf8.size() && utf8[at] == '#') {
            out += "&#38;";
        } else if (valid && (c < 0x80 || locale.ToAnsi(utf8.substr(from, at - from), converted))) {
            out.append(utf8, from, at - from);
        } else {
            out += "&#" + std::to_string(static_cast<unsigned long>(c)) + ";";
        }
    }
    return out;
}

std::string EscapeSectionLine(const std::string& escaped)
{
    std::string out;
    out.reserve(escaped.size() + 8);
    // Its '=' must stay for the line to be kept at all: a blank goes before it.
    if (!escaped.empty() && escaped[0] == '=') out = "&#32;";
    for (size_t at = 0; at < escaped.size();) {
        const size_t from = at;
        bool valid = true;
        const char32_t c = NextCodePoint(escaped, at, valid);
        const bool safeFirst = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '&';
        if (valid && (c == 0 || c == '\r' || c == '\n' || (from == 0 && !safeFirst && c != '=')))
            out += "&#" + std::to_string(static_cast<unsigned long>(c)) + ";";
        else
            out.append(escaped, from, at - from);
    }
    return out;
}

std::string UnescapeReferences(const std::string& text, bool controls)
{
    if (text.find("&#") == std::string::npos) return text;
    std::string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        if (text.compare(at, 2, "&#") == 0) {
            size_t end = at + 2;
            unsigned long number = 0;
            // Seven digits reach past the last character; more cannot be one.
            while (end < text.size() && end - at - 2 < 8 && text[end] >= '0' && text[end] <= '9')
                number = number * 10 + static_cast<unsigned long>(text[end++] - '0');
            const size_t digits = end - at - 2;
            const bool control = number == 0 || number == '\r' || number == '\n';
            if (digits > 0 && digits < 8 && end < text.size() && text[end] == ';' && (controls || !control) &&
                number <= 0x10FFFF && (number < 0xD800 || number > 0xDFFF)) {
                AppendUtf8(out, static_cast<char32_t>(number));
                at = end + 1;
                continue;
            }
        }
        out += text[at++];
    }
    return out;
}

}  // namespace quillet
