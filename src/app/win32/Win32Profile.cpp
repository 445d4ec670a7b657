#include "app/win32/Win32Profile.h"

#include <windows.h>

namespace quillet::win32 {

namespace {

// Windows refuses to write a file marked read-only; Wine running as root
// would write it anyway, so the mark is honoured here too.
bool ReadOnly(const std::string& file)
{
    const DWORD attributes = GetFileAttributesA(file.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
           !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::string Win32Profile::ReadString(const std::string& file, const std::string& section, const std::string& key,
                                     const std::string& fallback)
{
    char buffer[2048];
    const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer,
                                                  sizeof buffer, file.c_str());
    return std::string(buffer, length);
}

bool Win32Profile::WriteString(const std::string& file, const std::string& section, const std::string& key,
                               const std::string& value)
{
    if (ReadOnly(file)) return false;
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != FALSE;
}

bool Win32Profile::EraseSection(const std::string& file, const std::string& section)
{
    if (ReadOnly(file)) return false;
    return WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, file.c_str()) != FALSE;
}

std::vector<std::string> Win32Profile::ReadSection(const std::string& file, const std::string& section)
{
    // The whole section at once, lines with repeated keys included; the
    // buffer grows until the section fits.
    std::string buffer(64 * 1024, '\0');
    DWORD length;
    for (;;) {
        length = GetPrivateProfileSectionA(section.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                           file.c_str());
        if (length + 2 < buffer.size()) break;
        buffer.resize(buffer.size() * 2);
    }
    std::vector<std::string> lines;
    for (size_t at = 0; at < length;) {
        const size_t end = buffer.find('\0', at);
        if (end == at || end == std::string::npos) break;
        lines.push_back(buffer.substr(at, end - at));
        at = end + 1;
    }
    return lines;
}

bool Win32Profile::WriteSection(const std::string& file, const std::string& section,
                                const std::vector<std::string>& lines)
{
    if (ReadOnly(file)) return false;
    std::string block;
    for (const std::string& line : lines) block += line + '\0';
    block += '\0';
    return WritePrivateProfileSectionA(section.c_str(), block.c_str(), file.c_str()) != FALSE;
}

}  // namespace quillet::win32
