#include "app/Settings.h"

#include <algorithm>
#include <cstdint>

#include "common/Error.h"

namespace quillet {

namespace {

constexpr const char* kMain = "Main";
constexpr const char* kView = "View";
constexpr const char* kLog = "Log";

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool ParseHex(const std::string& digits, int& out)
{
    if (digits.empty()) return false;
    // Leading zeros add nothing: only the digits after them must fit 32 bits.
    const size_t first = std::min(digits.find_first_not_of('0'), digits.size());
    if (digits.size() - first > 8) return false;
    uint32_t value = 0;
    for (char c : digits) {
        const int d = HexDigit(c);
        if (d < 0) return false;
        value = value * 16 + static_cast<uint32_t>(d);
    }
    out = static_cast<int32_t>(value);  // $FFFFFFFF is -1, as the stored forms mean it
    return true;
}

bool ParseDecimal(const std::string& text, int& out)
{
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i == text.size()) return false;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
        if (value > int64_t{INT32_MAX} + 1) return false;
    }
    if (negative) value = -value;
    if (value > INT32_MAX || value < INT32_MIN) return false;
    out = static_cast<int>(value);
    return true;
}

}  // namespace

int ReadIntegerText(const std::string& text, int fallback)
{
    int value = 0;
    bool ok;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) ok = ParseHex(text.substr(2), value);
    else if (!text.empty() && text[0] == '$') ok = ParseHex(text.substr(1), value);
    else ok = ParseDecimal(text, value);
    return ok ? value : fallback;
}

std::array<int, 4> ReadFourIntegers(const std::string& text, const std::array<int, 4>& fallback)
{
    std::array<int, 4> result = fallback;
    size_t word = 0, i = 0;
    while (word < result.size()) {
        while (i < text.size() && (text[i] == ',' || text[i] == ' ')) ++i;
        if (i == text.size()) break;
        const size_t start = i;
        while (i < text.size() && text[i] != ',' && text[i] != ' ') ++i;
        result[word] = ReadIntegerText(text.substr(start, i - start), fallback[word]);
        ++word;
    }
    return result;
}

std::string FourIntegersText(const std::array<int, 4>& v)
{
    return std::to_string(v[0]) + "," + std::to_string(v[1]) + "," + std::to_string(v[2]) + "," +
           std::to_string(v[3]);
}

// ---- SettingsFile

std::string SettingsFile::ReadString(const std::string& section, const std::string& key,
                                     const std::string& fallback) const
{
    return profile_.ReadString(fileName_, section, key, fallback);
}

int SettingsFile::ReadInteger(const std::string& section, const std::string& key, int fallback) const
{
    return ReadIntegerText(ReadString(section, key, ""), fallback);
}

bool SettingsFile::ReadBool(const std::string& section, const std::string& key, bool fallback) const
{
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void SettingsFile::Refused() const { throw QuilletError(FormatText("Unable to write to %s", fileName_)); }

void SettingsFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    if (!profile_.WriteString(fileName_, section, key, value)) Refused();
}

void SettingsFile::WriteInteger(const std::string& section, const std::string& key, int value)
{
    WriteString(section, key, std::to_string(value));
}

void SettingsFile::WriteBool(const std::string& section, const std::string& key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

void SettingsFile::EraseSection(const std::string& section)
{
    if (!profile_.EraseSection(fileName_, section)) Refused();
}

std::vector<std::string> SettingsFile::ReadSection(const std::string& section) const
{
    return profile_.ReadSection(fileName_, section);
}

void SettingsFile::WriteSection(const std::string& section, const std::vector<std::string>& lines)
{
    if (!profile_.WriteSection(fileName_, section, lines)) Refused();
}

// ---- The key table

namespace {

enum class Form { Integer, Boolean, Text };

struct Key {
    const char* section;
    const char* name;
    Form form;
    int StoredSettings::*integer;
    bool StoredSettings::*boolean;
    std::string StoredSettings::*text;
};

constexpr Key Int(const char* section, const char* name, int StoredSettings::*field)
{
    return {section, name, Form::Integer, field, nullptr, nullptr};
}
constexpr Key Bool(const char* section, const char* name, bool StoredSettings::*field)
{
    return {section, name, Form::Boolean, nullptr, field, nullptr};
}
constexpr Key Text(const char* section, const char* name, std::string StoredSettings::*field)
{
    return {section, name, Form::Text, nullptr, nullptr, field};
}

// The order of a close's writes: ViewType first, then the sizes, then the switches.
const Key kKeys[] = {
    Int(kView, "ViewType", &StoredSettings::ViewType),
    Int(kMain, "LogHeight", &StoredSettings::LogHeight),
    Int(kMain, "TimeWidth", &StoredSettings::TimeWidth),
    Int(kMain, "CommentWidth", &StoredSettings::CommentWidth),
    Int(kMain, "NameWidth", &StoredSettings::NameWidth),
    Int(kMain, "CmdLiNeWidth", &StoredSettings::CmdLiNeWidth),
    Int(kMain, "SubKeyWidth", &StoredSettings::SubKeyWidth),
    Int(kMain, "PlatformWidth", &StoredSettings::PlatformWidth),
    Int(kMain, "PublisherWidth", &StoredSettings::PublisherWidth),
    Int(kMain, "VersionWidth", &StoredSettings::VersionWidth),
    Int(kMain, "InstalledWidth", &StoredSettings::InstalledWidth),
    Int(kMain, "SizeWidth", &StoredSettings::SizeWidth),
    Text(kMain, "BackupDir", &StoredSettings::BackupDir),
    Bool(kView, "ToolBar", &StoredSettings::ToolBar),
    Bool(kView, "Log", &StoredSettings::Log),
    Bool(kView, "StatusBar", &StoredSettings::StatusBar),
    Bool(kView, "TextLabels", &StoredSettings::TextLabels),
    Bool(kView, "SystemEntries", &StoredSettings::SystemEntries),
    Int(kView, "SortOn", &StoredSettings::SortOn),
    Bool(kView, "Ascending", &StoredSettings::Ascending),
};

}  // namespace

// A list without the Platform column neither reads nor writes its width.
static bool Kept(const Key& k, const StoredSettings& s)
{
    return s.PlatformColumn || k.integer != &StoredSettings::PlatformWidth;
}

void ReadStoredSettings(const SettingsFile& file, StoredSettings& s)
{
    for (const Key& k : kKeys) {
        if (!Kept(k, s)) continue;
        switch (k.form) {
        case Form::Integer: s.*k.integer = file.ReadInteger(k.section, k.name, s.*k.integer); break;
        case Form::Boolean: s.*k.boolean = file.ReadBool(k.section, k.name, s.*k.boolean); break;
        case Form::Text: s.*k.text = file.ReadString(k.section, k.name, s.*k.text); break;
        }
    }
}

void WriteStoredSettings(SettingsFile& file, const StoredSettings& s)
{
    for (const Key& k : kKeys) {
        if (!Kept(k, s)) continue;
        switch (k.form) {
        case Form::Integer: file.WriteInteger(k.section, k.name, s.*k.integer); break;
        case Form::Boolean: file.WriteBool(k.section, k.name, s.*k.boolean); break;
        case Form::Text: file.WriteString(k.section, k.name, s.*k.text); break;
        }
    }
}

// ---- [Log]

namespace {

// A line break inside a text would end the record's line in the file, and
// what follows would be read as other records or another section; a NUL
// would end it in the block the platform writes. Records keep them as blanks.
std::string OneLine(std::string text)
{
    for (char& c : text)
        if (c == '\r' || c == '\n' || c == '\0') c = ' ';
    return text;
}

}  // namespace

std::string LogLineValue(const LogRecord& r)
{
    // No escaping: ';' and the mark may stand inside the texts.
    return std::to_string(r.image) + ";" + OneLine(r.message) + kCommentMark + OneLine(r.comment);
}

std::string LogLine(const LogRecord& r) { return OneLine(r.time) + "=" + LogLineValue(r); }

LogRecord ParseLogLine(const std::string& stored)
{
    // Decoded references may have brought them back: blanks, as when written.
    const std::string line = OneLine(stored);
    const auto trim = [](const std::string& s) {
        const size_t first = s.find_first_not_of(' ');
        if (first == std::string::npos) return std::string();
        return s.substr(first, s.find_last_not_of(' ') - first + 1);
    };
    const size_t equals = line.find('=');
    LogRecord record;
    record.time = trim(line.substr(0, equals));
    const std::string value = equals == std::string::npos ? std::string() : trim(line.substr(equals + 1));

    std::string rest;
    if (!value.empty() && value[0] >= '0' && value[0] <= '9') {
        record.image = value[0] - '0';
        rest = value.size() > 2 ? value.substr(2) : std::string();
    } else {
        // Hand-edited: no image index to take, so nothing to skip either.
        record.image = kLogInformation;
        rest = value;
    }
    const size_t mark = rest.find(kCommentMark);
    record.message = rest.substr(0, mark);
    if (mark != std::string::npos) record.comment = rest.substr(mark + kCommentMarkSize);
    return record;
}

std::vector<LogRecord> ReadLogSection(const SettingsFile& file)
{
    std::vector<LogRecord> records;
    for (const std::string& line : file.ReadSection(kLog)) records.push_back(ParseLogLine(line));
    return records;
}

void WriteLogSection(SettingsFile& file, const std::vector<LogRecord>& records)
{
    file.EraseSection(kLog);
    if (records.empty()) return;
    // One line per record even when time texts repeat: the key functions
    // would fold those into one.
    std::vector<std::string> lines;
    lines.reserve(records.size());
    for (const LogRecord& r : records) lines.push_back(LogLine(r));
    file.WriteSection(kLog, lines);
}

}  // namespace quillet
