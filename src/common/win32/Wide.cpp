#include "common/win32/Wide.h"

#include <algorithm>

#include "common/Unicode.h"

namespace quillet::win32 {

// By hand, not MultiByteToWideChar: a name with an unpaired surrogate (which
// the registry allows) must reach the wide calls as it was read, not as
// U+FFFD, which names another key.
std::wstring Wide(const std::string& utf8)
{
    std::wstring out;
    WideInto(utf8, out);
    return out;
}

void WideInto(const std::string& utf8, std::wstring& out)
{
    out.clear();
    // A UTF-8 text never needs more UTF-16 units than it has bytes.
    out.reserve(utf8.size());
    AppendUtf16(out, utf8);
}

std::string Utf8(const wchar_t* text, size_t length)
{
    std::string out;
    out.reserve(length);
    AppendWtf8(out, text, length);
    return out;
}

void CopyWide(const std::string& utf8, wchar_t* buffer, int capacity)
{
    if (!buffer || capacity <= 0) return;
    const std::wstring wide = Wide(utf8);
    size_t length = std::min<size_t>(wide.size(), static_cast<size_t>(capacity - 1));
    // Never half of a pair: a lone high surrogate would show as a broken character.
    if (length > 0 && length < wide.size() && wide[length - 1] >= 0xD800 && wide[length - 1] <= 0xDBFF &&
        wide[length] >= 0xDC00 && wide[length] <= 0xDFFF)
        --length;
    wide.copy(buffer, length);
    buffer[length] = L'\0';
}

}  // namespace quillet::win32
