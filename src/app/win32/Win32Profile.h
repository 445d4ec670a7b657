#pragma once
#include "app/Settings.h"

namespace quillet::win32 {

// The profile port over kernel32's private profile functions.
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
};

}  // namespace quillet::win32
