#include "editing/RegistryScript.h"

#include "common/Locale.h"
#include "common/Unicode.h"

namespace quillet {

namespace {

constexpr std::string_view kAnsiHeading = "REGEDIT4";
constexpr std::string_view kUnicodeHeading = "Windows Registry Editor Version 5.00";

bool Blank(char c) { return c == ' ' || c == '\t'; }

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Lines as the editor splits them: at CR, LF or CR LF.
std::vector<std::string_view> Lines(std::string_view text)
{
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    return lines;
}

// Nothing but blanks or a comment may follow the data.
bool RestIsEmpty(std::string_view rest)
{
    size_t i = 0;
    while (i < rest.size() && Blank(rest[i])) ++i;
    return i == rest.size() || rest[i] == ';';
}

// A quoted text from after its opening quote: the editor's escapes \\, \",
// \n and \r; any other escaped character stands for itself.
bool Unquote(std::string_view line, size_t& at, std::string& out)
{
    out.clear();
    for (; at < line.size(); ++at) {
        char c = line[at];
        if (c == '"') {
            ++at;
            return true;
        }
        if (c == '\\') {
            if (++at == line.size()) return false;
            c = line[at];
            if (c == 'n') c = '\n';
            else if (c == 'r') c = '\r';
            else if (c == '0') return false;
        }
        out += c;
    }
    return false;
}

class Parser {
public:
    Parser(const std::vector<std::string_view>& lines, const Locale& ansi, RegistryScript& script)
        : lines_(lines), ansi_(ansi), script_(script)
    {
    }

    void Run()
    {
        while (++next_ < lines_.size()) {
            std::string_view line = lines_[next_];
            size_t at = 0;
            while (at < line.size() && Blank(line[at])) ++at;
            line.remove_prefix(at);
            if (line.empty()) continue;
            if (line[0] == ';' || line[0] == '#') {
                script_.comments.push_back({std::string(line.substr(1)), script_.keys.size(), next_ + 1});
            } else if (line[0] == '[') {
                KeyLine(line);
            } else if (line[0] == '@' || line[0] == '"') {
                if (!ValueLine(line)) Reject(lineOfValue_);
            } else {
                Reject(next_);
            }
        }
    }

private:
    void Reject(size_t index) { script_.rejected.push_back(index + 1); }

    void KeyLine(std::string_view line)
    {
        // The name ends at the line's last ']'; a blank first is no key.
        const size_t end = line.rfind(']');
        open_ = false;
        if (line.size() < 2 || Blank(line[1]) || end == std::string_view::npos) {
            Reject(next_);
            return;
        }
        ScriptKey key;
        key.line = next_ + 1;
        key.remove = line[1] == '-';
        const size_t from = key.remove ? 2 : 1;
        key.path = std::string(line.substr(from, end > from ? end - from : 0));
        if (key.path.empty()) {
            Reject(next_);
            return;
        }
        open_ = !key.remove;
        script_.keys.push_back(std::move(key));
    }

    bool ValueLine(std::string_view line)
    {
        lineOfValue_ = next_;
        ScriptValue value;
        size_t at = 1;
        if (line[0] == '"') {
            if (!Unquote(line, at, value.name)) return false;
        }
        while (at < line.size() && Blank(line[at])) ++at;
        if (at >= line.size() || line[at] != '=') return false;
        ++at;
        while (at < line.size() && Blank(line[at])) ++at;
        if (!Data(line.substr(at), value)) return false;
        // A value outside a section that is open sets nothing.
        if (!open_) return false;
        script_.keys.back().values.push_back(std::move(value));
        return true;
    }

    bool Data(std::string_view data, ScriptValue& value)
    {
        if (data.substr(0, 1) == "-") {
            value.remove = true;
            return RestIsEmpty(data.substr(1));
        }
        if (data.substr(0, 1) == "\"") {
            size_t at = 1;
            std::string text;
            if (!Unquote(data, at, text) || !RestIsEmpty(data.substr(at))) return false;
            value.type = 1;
            value.data = Utf16LeFromUtf8(text) + std::string(2, '\0');
            return true;
        }
        if (data.substr(0, 6) == "dword:") {
            size_t at = 6;
            std::uint32_t number = 0;
            for (; at < data.size() && HexDigit(data[at]) >= 0; ++at) {
                if (at >= 14) return false;
                number = number << 4 | static_cast<std::uint32_t>(HexDigit(data[at]));
            }
            if (at == 6 || !RestIsEmpty(data.substr(at))) return false;
            value.type = 4;
            for (int i = 0; i < 4; ++i) value.data += static_cast<char>(number >> (8 * i) & 0xFF);
            return true;
        }
        if (data.substr(0, 3) != "hex") return false;
        size_t at = 3;
        value.type = 3;
        if (data.substr(at, 1) == "(") {
            value.type = 0;
            size_t digits = 0;
            for (++at; at < data.size() && HexDigit(data[at]) >= 0; ++at, ++digits)
                value.type = value.type << 4 | static_cast<std::uint32_t>(HexDigit(data[at]));
            if (digits == 0 || digits > 8 || data.substr(at, 1) != ")") return false;
            ++at;
        }
        if (data.substr(at, 1) != ":") return false;
        if (!HexBytes(data.substr(at + 1), value.data)) return false;
        if (!script_.unicode && (value.type == 1 || value.type == 2 || value.type == 7) && !value.data.empty()) {
            // REGEDIT4 string bytes are in the code page; the editor ends them with a NUL.
            if (value.data.back() != '\0') value.data += '\0';
            value.data = Utf16LeFromUtf8(ansi_.FromAnsi(value.data));
        }
        return true;
    }

    // "12,ab,\" continued on the next line; a trailing comma is allowed.
    bool HexBytes(std::string_view text, std::string& bytes)
    {
        for (;;) {
            size_t at = 0;
            for (;;) {
                while (at < text.size() && Blank(text[at])) ++at;
                if (at == text.size() || text[at] == '\\' || text[at] == ';') break;
                int high = HexDigit(text[at]);
                if (high < 0) return false;
                int byte = high;
                if (++at < text.size() && HexDigit(text[at]) >= 0) byte = high << 4 | HexDigit(text[at++]);
                bytes += static_cast<char>(byte);
                while (at < text.size() && Blank(text[at])) ++at;
                if (at < text.size() && text[at] == ',') ++at;
                else if (at < text.size() && text[at] != '\\' && text[at] != ';') return false;
            }
            if (at == text.size() || text[at] != '\\') return true;
            if (!RestIsEmpty(text.substr(at + 1))) return false;
            if (++next_ >= lines_.size()) return true;
            text = lines_[next_];
        }
    }

    const std::vector<std::string_view>& lines_;
    const Locale& ansi_;
    RegistryScript& script_;
    size_t next_ = 0;  // the heading is line 0
    size_t lineOfValue_ = 0;
    bool open_ = false;
};

}  // namespace

bool ParseRegistryScript(std::string_view text, const Locale& ansi, RegistryScript& script, std::string& error)
{
    script = RegistryScript();
    const std::vector<std::string_view> lines = Lines(text);
    std::string_view heading = lines.front();
    while (!heading.empty() && Blank(heading.back())) heading.remove_suffix(1);
    if (heading == kUnicodeHeading) {
        script.unicode = true;
    } else if (heading != kAnsiHeading) {
        error = "The first line is neither \"REGEDIT4\" nor \"Windows Registry Editor Version 5.00\"";
        return false;
    }
    Parser(lines, ansi, script).Run();
    return true;
}

bool ReadRegistryScript(std::string_view file, const Locale& ansi, RegistryScript& script, std::string& error)
{
    if (file.size() >= 2 && file.substr(0, 2) == "\xFF\xFE") {
        std::string text;
        Utf8FromUtf16Le(file.substr(2), text);
        if (text.rfind(kUnicodeHeading, 0) != 0) {
            error = "A Unicode file must start with \"Windows Registry Editor Version 5.00\"";
            return false;
        }
        return ParseRegistryScript(text, ansi, script, error);
    }
    if (file.substr(0, kAnsiHeading.size()) != kAnsiHeading) {
        error = "The first line is neither \"REGEDIT4\" nor \"Windows Registry Editor Version 5.00\"";
        return false;
    }
    return ParseRegistryScript(ansi.FromAnsi(std::string(file)), ansi, script, error);
}

}  // namespace quillet
