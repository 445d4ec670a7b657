#pragma once
#include <array>
#include <string>
#include <vector>

#include "log/ActionsLog.h"

namespace quillet {

// The platform's profile (INI) file functions, as the settings format relies
// on them: names match without regard to case, values come back without
// surrounding blanks, an existing key is replaced in place, a new key goes to
// the end of its section and a new section to the end of the file.
class ProfileFile {
public:
    virtual ~ProfileFile() = default;
    // The value, or `fallback` when the key or the section is missing.
    virtual std::string ReadString(const std::string& file, const std::string& section, const std::string& key,
                                   const std::string& fallback) = 0;
    // False when the platform refuses the write.
    virtual bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                             const std::string& value) = 0;
    // Removes the section's header and all its lines.
    virtual bool EraseSection(const std::string& file, const std::string& section) = 0;
    // Every "key=value" line of the section in file order, repeated keys
    // included.
    virtual std::vector<std::string> ReadSection(const std::string& file, const std::string& section) = 0;
    // Replaces the section's lines by these (a new section goes to the end).
    virtual bool WriteSection(const std::string& file, const std::string& section,
                              const std::vector<std::string>& lines) = 0;
};

// Reading rules of the stored forms. Decimal, or hexadecimal after "0x"/"0X"
// (when longer than two characters) or "$"; what does not convert to a
// 32-bit integer gives the default.
int ReadIntegerText(const std::string& text, int fallback);
// Four integers split at commas and blanks; a missing or bad word keeps its default.
std::array<int, 4> ReadFourIntegers(const std::string& text, const std::array<int, 4>& fallback);
std::string FourIntegersText(const std::array<int, 4>& values);

// The settings file through the profile port: typed reads with defaults and
// writes that raise "Unable to write to FILE" when refused.
class SettingsFile {
public:
    SettingsFile(ProfileFile& profile, std::string fileName) : profile_(profile), fileName_(std::move(fileName)) {}

    const std::string& FileName() const { return fileName_; }
    std::string ReadString(const std::string& section, const std::string& key, const std::string& fallback) const;
    int ReadInteger(const std::string& section, const std::string& key, int fallback) const;
    bool ReadBool(const std::string& section, const std::string& key, bool fallback) const;
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    void WriteBool(const std::string& section, const std::string& key, bool value);
    void EraseSection(const std::string& section);
    std::vector<std::string> ReadSection(const std::string& section) const;
    void WriteSection(const std::string& section, const std::vector<std::string>& lines);

private:
    [[noreturn]] void Refused() const;
    ProfileFile& profile_;
    std::string fileName_;
};

// The program's own keys of [Main] and [View]. On reading, each field holds
// its default on entry (the sizes: the current ones).
struct StoredSettings {
    int LogHeight = 102;
    int TimeWidth = 150;
    int CommentWidth = 250;
    int NameWidth = 200;
    int CmdLiNeWidth = 200;
    int SubKeyWidth = 120;
    int PlatformWidth = 96;
    // The list has the Source column (once Platform, the settings key's name):
    // only then is its width kept.
    bool PlatformColumn = true;
    std::string BackupDir;
    int ViewType = 0;
    bool ToolBar = true;
    bool Log = true;
    bool StatusBar = true;
    bool TextLabels = true;
    bool SystemEntries = true;
    // The detail columns' widths; 0: hidden from the header's menu.
    int PublisherWidth = 120;
    int VersionWidth = 70;
    int InstalledWidth = 80;
    int SizeWidth = 70;
    int SortOn = 0;
    bool Ascending = true;
};

// Every key in the order a close writes them.
void ReadStoredSettings(const SettingsFile& file, StoredSettings& settings);
void WriteStoredSettings(SettingsFile& file, const StoredSettings& settings);

// [Log]: one "TIME=IMAGE;MESSAGE<0xFE>COMMENT" line per record, newest first;
// the mark is the letter thorn, byte 0xFE in the ANSI file.
inline constexpr const char* kCommentMark = "\xC3\xBE";
inline constexpr size_t kCommentMarkSize = 2;
std::string LogLineValue(const LogRecord& record);
// The whole line of a record: its time text, '=', the value; line breaks and NULs as blanks.
std::string LogLine(const LogRecord& record);
// A line of the section back into a record; a value that does not start with
// a digit is all text of an information record. Line breaks and NULs (which
// decoded references may give) become blanks, as when written.
LogRecord ParseLogLine(const std::string& line);
std::vector<LogRecord> ReadLogSection(const SettingsFile& file);
// Erases [Log] and writes it anew at the end of the file (nothing for an empty log).
void WriteLogSection(SettingsFile& file, const std::vector<LogRecord>& records);

}  // namespace quillet
