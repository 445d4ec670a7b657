#include "editing/ChangesFile.h"

#include <cstdio>

#include "common/Error.h"
#include "common/Locale.h"
#include "common/Text.h"
#include "common/Unicode.h"
#include "editing/Backup.h"
#include "editing/FileWriter.h"

namespace quillet {

namespace {

constexpr const char* kEol = "\r\n";
// Bytes per line of a hex value, as the registry editor writes them.
constexpr size_t kBytesPerLine = 25;
constexpr const char* kUnicodeHeading = "Windows Registry Editor Version 5.00";

// A name within quotes; a line break cannot stand in a line of the file.
std::string QuotedName(const std::string& name)
{
    if (name.empty()) return "@";
    std::string text;
    for (char c : name) {
        if (c == '\\' || c == '"') text += '\\';
        if (c == '\n') text += "\\n";
        else if (c == '\r') text += "\\r";
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
bool PlainString(const std::string& text)
{
    return !text.empty() && text.find('\0') == text.size() - 1 && text.find_first_of("\r\n") == std::string::npos;
}

std::string OneLine(std::string text)
{
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text;
}

bool IsText(std::uint32_t type) { return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz; }

// The editor ends string data given in hex with a NUL unit when its last
// unit is none, and reads outside the data for a single byte.
bool EditorKeepsBytes(const RegistryValue& value)
{
    const std::string& d = value.data;
    return !IsText(value.type) || d.empty() || (d.size() >= 2 && d[d.size() / 2 * 2 - 2] == 0 && d[d.size() / 2 * 2 - 1] == 0);
}

// A key heading is one line ending at its last ']': only a line break in a
// name can end it early or start another line. No escape exists for it.
void CheckKeyName(const std::string& path)
{
    if (path.find_first_of("\r\n") == std::string::npos) return;
    throw QuilletError("The key \"" + OneLine(path) +
                       "\" has a line break in its name, which a registry script cannot hold: nothing was changed, "
                       "as the changes file could not give it back");
}

// Lines in one of the two formats. For REGEDIT4 every name and string goes
// through the ANSI code page and the section is given up (false) at the
// first that does not fit; the Unicode format keeps the UTF-8 text and the
// stored UTF-16LE bytes.
class Section {
public:
    explicit Section(const Locale* ansi) : ansi_(ansi) {}

    bool Text(const std::string& utf8, std::string& out) const
    {
        if (!ansi_ || IsAscii(utf8)) {
            out = utf8;
            return true;
        }
        return ansi_->ToAnsi(utf8, out);
    }

    bool ValueLine(const RegistryValue& value, std::string& line) const
    {
        std::string name;
        if (!Text(value.name, name)) return false;
        const std::string head = QuotedName(name) + "=";
        std::string data = value.data;
        if (IsText(value.type)) {
            std::string utf8;
            const bool exact = Utf8FromUtf16Le(value.data, utf8);
            // The editor turns REGEDIT4 strings into UTF-16 on import, a NUL
            // at their end: only an exact conversion gives the same bytes back.
            const bool closed = value.data.empty() || utf8.back() == '\0';
            if (ansi_ && (!exact || !closed || !Text(utf8, data))) return false;
            if (value.type == kRegSz && exact && PlainString(utf8)) {
                std::string text;
                if (!Text(utf8.substr(0, utf8.size() - 1), text)) return false;
                EscapeRegString(text);
                line = head + "\"" + text + "\"";
                return true;
            }
        }
        if (value.type == kRegDword && value.data.size() == 4) {
            unsigned long number = 0;
            for (int i = 3; i >= 0; --i) number = number << 8 | static_cast<unsigned char>(value.data[i]);
            char text[16];
            std::snprintf(text, sizeof text, "dword:%08lx", number);
            line = head + text;
            return true;
        }
        if (value.type == kRegBinary) {
            line = HexValue(head + "hex:", data);
            return true;
        }
        char type[24];
        std::snprintf(type, sizeof type, "hex(%lx):", static_cast<unsigned long>(value.type));
        if (!EditorKeepsBytes(value)) {
            // No syntax of a registry script gives such data back: the editor
            // ends string data given in hex with a NUL. The change is still
            // allowed (Ctrl+Z restores the bytes), and the file says so.
            line = "; " + QuotedName(name) + " holds " + std::to_string(data.size()) +
                   " bytes without a closing NUL, which no registry script gives back exactly: importing this "
                   "file adds one (Undo in Quillet, during its run, restores them exactly)" + kEol;
            if (data.size() == 1) data += '\0';
            line += HexValue(head + type, data);
            return true;
        }
        line = HexValue(head + type, data);
        return true;
    }

    bool KeyLines(std::string& out, const std::string& path, const KeySnapshot& key) const
    {
        CheckKeyName(path);
        out += kEol;
        out += "[" + path + "]" + kEol;
        std::string line;
        for (const RegistryValue& value : key.values) {
            if (!ValueLine(value, line)) return false;
            out += line + kEol;
        }
        for (const KeySnapshot& child : key.keys) {
            std::string name;
            if (!Text(child.name, name) || !KeyLines(out, path + "\\" + name, child)) return false;
        }
        return true;
    }

    // "[KEY]" and only these values: as `key` holds them, or removed.
    bool ValueLines(std::string& out, const std::string& path, const KeySnapshot& key,
                    const std::vector<std::string>& only) const
    {
        out += kEol;
        out += "[" + path + "]" + kEol;
        std::string line;
        for (const std::string& name : only) {
            const RegistryValue* held = nullptr;
            for (const RegistryValue& value : key.values)
                if (SameName(value.name, name)) held = &value;
            if (held ? !ValueLine(*held, line) : !Text(name, line)) return false;
            out += (held ? line : QuotedName(line) + "=-") + kEol;
        }
        return true;
    }

private:
    const Locale* ansi_;
};

bool Render(const Section& format, const LocalTime& when, const std::string& command,
            const std::vector<ChangedKey>& keys, std::string& out)
{
    char time[40];
    std::snprintf(time, sizeof time, "%d-%02d-%02d %02d:%02d:%02d", when.year, when.month, when.day, when.hour,
                  when.minute, when.second);
    std::string text;
    if (!format.Text(OneLine(command), text)) return false;
    out = kEol;
    out += "; " + std::string(time) + " " + text + kEol;
    for (const ChangedKey& key : keys) {
        std::string path;
        CheckKeyName(key.path);
        if (!format.Text(key.path, path)) return false;
        if (key.only) {
            if (key.before.exists && !format.ValueLines(out, path, key.before, *key.only)) return false;
            continue;
        }
        if (key.keyStays) out += std::string(kEol) + "[-" + path + "]" + kEol;
        if (key.before.exists && !format.KeyLines(out, path, key.before)) return false;
    }
    return true;
}

}  // namespace

std::string ChangesFileName(const LocalTime& today, bool unicode)
{
    return "Changes " + BackupDateText(today) + (unicode ? " Unicode.reg" : ".reg");
}

ChangesText ChangesSection(const LocalTime& when, const std::string& command, const std::vector<ChangedKey>& keys,
                           const Locale& locale)
{
    ChangesText section;
    if (Render(Section(&locale), when, command, keys, section.text)) return section;
    section.unicode = true;
    Render(Section(nullptr), when, command, keys, section.text);
    return section;
}

void AppendChanges(FileWriter& file, const std::string& path, const ChangesText& section)
{
    unsigned long long size = 0;
    const auto fail = [&](const char* what) {
        const std::string reason = file.LastError();
        file.Close();
        return QuilletError(std::string(what) + " changes file \"" + path + "\": " + reason +
                            ". Nothing was changed: a change is made only with its way back");
    };
    if (!file.Append(path, size)) throw fail("Cannot open");
    std::string bytes;
    if (!section.unicode) {
        if (size == 0) bytes = std::string("REGEDIT4") + kEol;
        bytes += section.text;
    } else {
        if (size == 0) bytes = "\xFF\xFE" + Utf16LeFromUtf8(std::string(kUnicodeHeading) + kEol);
        bytes += Utf16LeFromUtf8(section.text);
    }
    if (!file.Write(bytes)) throw fail("Cannot write");
    if (!file.Close()) throw fail("Cannot write");
}

}  // namespace quillet
