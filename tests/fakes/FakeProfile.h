#pragma once
#include <string>
#include <vector>

#include "app/Settings.h"
#include "app/Tray.h"
#include "common/Text.h"

namespace quillet::fakes {

// An INI file held as its lines, with the platform's rules: names match
// without regard to case, a key is replaced in place, a new key goes to the
// end of its section, a new section to the end of the file.
class FakeProfile : public ProfileFile {
public:
    std::vector<std::string> lines;
    bool refuse = false;  // every write fails
    std::vector<std::string> files;  // the file name of every call

    std::string Text() const
    {
        std::string text;
        for (const std::string& line : lines) text += line + "\r\n";
        return text;
    }

    std::string ReadString(const std::string& file, const std::string& section, const std::string& key,
                           const std::string& fallback) override
    {
        files.push_back(file);
        const size_t at = FindKey(section, key);
        if (at == npos) return fallback;
        return Trim(lines[at].substr(lines[at].find('=') + 1));
    }
    bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override
    {
        files.push_back(file);
        if (refuse) return false;
        const size_t existing = FindKey(section, key);
        if (existing != npos) {
            // The name keeps the spelling it has in the file.
            lines[existing] = lines[existing].substr(0, lines[existing].find('=')) + "=" + value;
            return true;
        }
        const size_t header = FindSection(section);
        if (header == npos) {
            lines.push_back("[" + section + "]");
            lines.push_back(key + "=" + value);
            return true;
        }
        lines.insert(lines.begin() + static_cast<long>(SectionEnd(header)), key + "=" + value);
        return true;
    }
    bool EraseSection(const std::string& file, const std::string& section) override
    {
        files.push_back(file);
        if (refuse) return false;
        const size_t header = FindSection(section);
        if (header != npos)
            lines.erase(lines.begin() + static_cast<long>(header), lines.begin() + static_cast<long>(SectionEnd(header)));
        return true;
    }
    // As the platform reads a section: blank lines, comments (';') and lines
    // of no name ('=' first) are left out, and references are decoded
    // (CR, LF and NUL too: the lines are log records).
    std::vector<std::string> ReadSection(const std::string& file, const std::string& section) override
    {
        files.push_back(file);
        const size_t header = FindSection(section);
        if (header == npos) return {};
        std::vector<std::string> read;
        for (size_t i = header + 1; i < SectionEnd(header); ++i) {
            const std::string line = Trim(lines[i]);
            if (line.empty() || line[0] == ';' || line[0] == '=') continue;
            read.push_back(UnescapeReferences(lines[i], true));
        }
        return read;
    }
    // As the platform writes one: a literal "&#" kept apart, as for the code
    // page, and the line escaped as the platform does (a NUL would end it in
    // the block handed over; in the file a CR, an LF or both end it).
    bool WriteSection(const std::string& file, const std::string& section,
                      const std::vector<std::string>& sectionLines) override
    {
        files.push_back(file);
        if (refuse) return false;
        EraseSection(file, section);
        lines.push_back("[" + section + "]");
        for (std::string line : sectionLines) {
            ReplaceAll(line, "&#", "&#38;#");
            line = EscapeSectionLine(line);
            size_t start = 0;
            for (size_t at; (at = line.find_first_of(std::string("\r\n\0", 3), start)) != npos;) {
                lines.push_back(line.substr(start, at - start));
                start = at + (line.compare(at, 2, "\r\n") == 0 ? 2 : 1);
            }
            lines.push_back(line.substr(start));
        }
        return true;
    }

private:
    static constexpr size_t npos = std::string::npos;
    static std::string Lower(std::string s)
    {
        for (char& c : s)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return s;
    }
    static std::string Trim(const std::string& s)
    {
        const size_t first = s.find_first_not_of(' ');
        return first == npos ? std::string() : s.substr(first, s.find_last_not_of(' ') - first + 1);
    }
    size_t FindSection(const std::string& section) const
    {
        for (size_t i = 0; i < lines.size(); ++i)
            if (Lower(Trim(lines[i])) == "[" + Lower(section) + "]") return i;
        return npos;
    }
    // A line whose first character past blanks is '[', with a ']' after it, starts a section.
    size_t SectionEnd(size_t header) const
    {
        size_t i = header + 1;
        for (; i < lines.size(); ++i) {
            const std::string line = Trim(lines[i]);
            if (!line.empty() && line[0] == '[' && line.find(']') != npos) break;
        }
        return i;
    }
    size_t FindKey(const std::string& section, const std::string& key) const
    {
        const size_t header = FindSection(section);
        if (header == npos) return npos;
        for (size_t i = header + 1; i < SectionEnd(header); ++i) {
            const size_t eq = lines[i].find('=');
            if (eq != npos && Lower(Trim(lines[i].substr(0, eq))) == Lower(key)) return i;
        }
        return npos;
    }
};

class FakeTray : public TrayIcon {
public:
    std::string hint;
    bool animated = false;
    bool uninstallEnabled = true;
    std::vector<std::string> calls;  // in order: "hint:TEXT", "animated:1", "uninstall:0"
    void SetHint(const std::string& text) override
    {
        hint = text;
        calls.push_back("hint:" + text);
    }
    void SetAnimated(bool on) override
    {
        animated = on;
        calls.push_back(std::string("animated:") + (on ? "1" : "0"));
    }
    void EnableUninstall(bool on) override
    {
        uninstallEnabled = on;
        calls.push_back(std::string("uninstall:") + (on ? "1" : "0"));
    }
};

}  // namespace quillet::fakes
