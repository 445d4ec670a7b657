#include "editing/ChangesFile.h"

#include <cstdio>

#include "common/Error.h"
#include "common/Locale.h"
#include "editing/Backup.h"
#include "editing/FileWriter.h"

namespace quillet {

namespace {

constexpr const char* kEol = "\r\n";
// Bytes per line of a hex value, as the registry editor writes them.
constexpr size_t kBytesPerLine = 25;

// A name within quotes; a line break cannot stand in a line of the file.
std::string QuotedName(const std::string& name)
{
    if (name.empty()) return "@";
    std::string text;
    for (char c : name) {
        if (c == '\\' || c == '"') text += '\\';
        if (c == '\n') text += "\\n";
        else if (c == '\r') text += ' ';
        else text += c;
    }
    return "\"" + text + "\"";
}

std::string HexValue(const std::string& prefix, const std::string& data)
{
    static const char digits[] = "0123456789abcdef";
    std::string line = prefix;
    line.reserve(prefix.size() + data.size() * 3 + data.size() / kBytesPerLine * 5);
    for (size_t i = 0; i < data.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(data[i]);
        line += digits[c >> 4];
        line += digits[c & 15];
        if (i + 1 < data.size()) {
            line += ',';
            if ((i + 1) % kBytesPerLine == 0) line += std::string("\\") + kEol + "  ";
        }
    }
    return line;
}

// A string that reads back the same from a quoted text: one closing NUL,
// none inside, no line break.
bool PlainString(const std::string& data)
{
    return !data.empty() && data.find('\0') == data.size() - 1 && data.find_first_of("\r\n") == std::string::npos;
}

std::string ValueLine(const RegistryValue& value)
{
    const std::string head = QuotedName(value.name) + "=";
    switch (value.type) {
    case kRegSz:
        if (PlainString(value.data)) {
            std::string text = value.data.substr(0, value.data.size() - 1);
            EscapeRegString(text);
            return head + "\"" + text + "\"";
        }
        break;
    case kRegDword:
        if (value.data.size() == 4) {
            unsigned long number = 0;
            for (int i = 3; i >= 0; --i) number = number << 8 | static_cast<unsigned char>(value.data[i]);
            char text[16];
            std::snprintf(text, sizeof text, "dword:%08lx", number);
            return head + text;
        }
        break;
    case kRegBinary: return HexValue(head + "hex:", value.data);
    default: break;
    }
    char type[24];
    std::snprintf(type, sizeof type, "hex(%lx):", static_cast<unsigned long>(value.type));
    return HexValue(head + type, value.data);
}

void KeyLines(std::string& out, const std::string& path, const KeySnapshot& key)
{
    out += kEol;
    out += "[" + path + "]" + kEol;
    for (const RegistryValue& value : key.values) out += ValueLine(value) + kEol;
    for (const KeySnapshot& child : key.keys) KeyLines(out, path + "\\" + child.name, child);
}

std::string OneLine(std::string text)
{
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text;
}

}  // namespace

std::string ChangesFileName(const LocalTime& today) { return "Changes " + BackupDateText(today) + ".reg"; }

std::string ChangesSection(const LocalTime& when, const std::string& command, const std::vector<ChangedKey>& keys)
{
    char time[40];
    std::snprintf(time, sizeof time, "%d-%02d-%02d %02d:%02d:%02d", when.year, when.month, when.day, when.hour,
                  when.minute, when.second);
    std::string out = kEol;
    out += "; " + std::string(time) + " " + OneLine(command) + kEol;
    for (const ChangedKey& key : keys) {
        if (key.keyStays) out += std::string(kEol) + "[-" + key.path + "]" + kEol;
        if (key.before.exists) KeyLines(out, key.path, key.before);
    }
    return out;
}

void AppendChanges(FileWriter& file, const std::string& path, const std::string& section)
{
    unsigned long long size = 0;
    const auto fail = [&](const char* what) {
        const std::string reason = file.LastError();
        file.Close();
        return QuilletError(std::string(what) + " changes file \"" + path + "\": " + reason +
                            ". Nothing was changed: a change is made only with its way back");
    };
    if (!file.Append(path, size)) throw fail("Cannot open");
    if (size == 0 && !file.Write(std::string("REGEDIT4") + kEol)) throw fail("Cannot write");
    if (!file.Write(section)) throw fail("Cannot write");
    if (!file.Close()) throw fail("Cannot write");
}

}  // namespace quillet
