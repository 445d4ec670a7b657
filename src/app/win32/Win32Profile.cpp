#include "app/win32/Win32Profile.h"

#include <windows.h>

#include "common/Text.h"
#include "common/win32/Wide.h"

namespace quillet::win32 {

namespace {

// Windows refuses to write a file marked read-only; Wine running as root
// would write it anyway, so the mark is honoured here too.
bool ReadOnly(const std::wstring& file)
{
    const DWORD attributes = GetFileAttributesW(file.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
           !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

// The wide calls take any file name and still keep an ANSI file ANSI; what
// goes in is escaped first, so the code page holds every character of it.
std::wstring Win32Profile::Stored(const std::string& text) const { return Wide(EscapeForCodePage(text, locale_)); }

std::string Win32Profile::ReadString(const std::string& file, const std::string& section, const std::string& key,
                                     const std::string& fallback)
{
    // Grown until the value fits: a long one read cut would be written back cut.
    std::wstring buffer(2048, L'\0');
    DWORD length;
    for (;;) {
        length = GetPrivateProfileStringW(Stored(section).c_str(), Stored(key).c_str(), Wide(fallback).c_str(),
                                          buffer.data(), static_cast<DWORD>(buffer.size()), Wide(file).c_str());
        if (length + 1 < buffer.size()) break;
        buffer.resize(buffer.size() * 2);
    }
    return UnescapeReferences(Utf8(buffer.data(), length));
}

bool Win32Profile::WriteString(const std::string& file, const std::string& section, const std::string& key,
                               const std::string& value)
{
    const std::wstring name = Wide(file);
    if (ReadOnly(name)) return false;
    return WritePrivateProfileStringW(Stored(section).c_str(), Stored(key).c_str(), Stored(value).c_str(),
                                      name.c_str()) != FALSE;
}

bool Win32Profile::EraseSection(const std::string& file, const std::string& section)
{
    const std::wstring name = Wide(file);
    if (ReadOnly(name)) return false;
    return WritePrivateProfileStringW(Stored(section).c_str(), nullptr, nullptr, name.c_str()) != FALSE;
}

std::vector<std::string> Win32Profile::ReadSection(const std::string& file, const std::string& section)
{
    // The whole section at once, lines with repeated keys included; the
    // buffer grows until the section fits.
    const std::wstring name = Wide(file), sectionName = Stored(section);
    std::wstring buffer(64 * 1024, L'\0');
    DWORD length;
    for (;;) {
        length = GetPrivateProfileSectionW(sectionName.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                           name.c_str());
        if (length + 2 < buffer.size()) break;
        buffer.resize(buffer.size() * 2);
    }
    std::vector<std::string> lines;
    for (size_t at = 0; at < length;) {
        const size_t end = buffer.find(L'\0', at);
        if (end == at || end == std::wstring::npos) break;
        lines.push_back(UnescapeReferences(Utf8(buffer.data() + at, end - at), true));  // log records
        at = end + 1;
    }
    return lines;
}

bool Win32Profile::WriteSection(const std::string& file, const std::string& section,
                                const std::vector<std::string>& lines)
{
    const std::wstring name = Wide(file);
    if (ReadOnly(name)) return false;
    std::wstring block;
    for (const std::string& line : lines) {
        // One line each, read back as it was: no NUL to end it in the block,
        // nothing that would make it a section, a comment or another line.
        block += Wide(EscapeSectionLine(EscapeForCodePage(line, locale_)));
        block += L'\0';
    }
    block += L'\0';
    return WritePrivateProfileSectionW(Stored(section).c_str(), block.c_str(), name.c_str()) != FALSE;
}

}  // namespace quillet::win32
