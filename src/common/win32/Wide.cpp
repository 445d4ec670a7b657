#include "common/win32/Wide.h"

#include <windows.h>

#include <algorithm>

namespace quillet::win32 {

std::wstring Wide(const std::string& utf8)
{
    if (utf8.empty()) return std::wstring();
    const int size = static_cast<int>(utf8.size());
    std::wstring out(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, out.data(), static_cast<int>(out.size()));
    return out;
}

void WideInto(const std::string& utf8, std::wstring& out)
{
    // A UTF-8 text never needs more UTF-16 units than it has bytes.
    out.resize(utf8.size());
    if (utf8.empty()) return;
    out.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                                       out.data(), static_cast<int>(out.size()))));
}

std::string Utf8(const wchar_t* text, size_t length)
{
    if (length == 0) return std::string();
    const int size = static_cast<int>(length);
    std::string out(WideCharToMultiByte(CP_UTF8, 0, text, size, nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, size, out.data(), static_cast<int>(out.size()), nullptr, nullptr);
    return out;
}

void CopyWide(const std::string& utf8, wchar_t* buffer, int capacity)
{
    if (!buffer || capacity <= 0) return;
    const int size = static_cast<int>(utf8.size());
    int length = size ? MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, buffer, capacity - 1) : 0;
    if (length == 0 && size > 0) {  // too long for the buffer
        const std::wstring wide = Wide(utf8);
        length = static_cast<int>(std::min<size_t>(wide.size(), static_cast<size_t>(capacity - 1)));
        wide.copy(buffer, static_cast<size_t>(length));
    }
    buffer[length] = L'\0';
}

}  // namespace quillet::win32
