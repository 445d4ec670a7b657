#include "common/Text.h"

#include "common/Locale.h"

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
