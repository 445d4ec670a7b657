#pragma once
#include "app/Settings.h"
#include "common/win32/Win32Locale.h"

namespace quillet::win32 {

// The profile port over kernel32's private profile functions. The file stays
// in the ANSI code page; texts are UTF-8, and a character the code page
// lacks is kept as a "&#N;" reference.
class Win32Profile : public ProfileFile {
public:
    std::string ReadString(const std::string& file, const std::string& section, const std::string& key,
                           const std::string& fallback) override;
    bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override;
    bool EraseSection(const std::string& file, const std::string& section) override;
    std::vector<std::string> ReadSection(const std::string& file, const std::string& section) override;
    bool WriteSection(const std::string& file, const std::string& section,
                      const std::vector<std::string>& lines) override;

private:
    std::wstring Stored(const std::string& text) const;

    Win32Locale locale_;
};

}  // namespace quillet::win32
