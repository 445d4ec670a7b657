#include "editing/Backup.h"

#include <cstdio>
#include <vector>

#include "catalogue/Registry.h"
#include "common/Error.h"
#include "common/Locale.h"
#include "common/Unicode.h"
#include "editing/FileWriter.h"

namespace quillet {

namespace {

constexpr const char* kEol = "\r\n";
// Lines are gathered and written in pieces of about this size: one write per
// line costs a system call each, 40,000 of them for a large list.
constexpr size_t kChunk = 64 * 1024;

class BackupFile {
public:
    BackupFile(FileWriter& file, const std::string& path) : file_(file), path_(path)
    {
        if (!file_.Create(path_)) throw BackupFileError(Message("Cannot create", file_.LastError()));
        open_ = true;
    }
    ~BackupFile()
    {
        // Left open only by a failure: no truncated backup may stay behind.
        if (open_) {
            file_.Close();
            file_.Remove(path_);
        }
    }
    void Line(const std::string& text)
    {
        buffer_ += text;
        buffer_ += kEol;
        if (buffer_.size() >= kChunk) Flush();
    }
    void Text(const std::string& text)
    {
        buffer_ += text;
        if (buffer_.size() >= kChunk) Flush();
    }
    // From here on the UTF-8 text is written as UTF-16LE, after its byte order mark.
    void Unicode()
    {
        unicode_ = true;
        pending_ = "\xFF\xFE";
    }
    void Finish()
    {
        Flush();
        open_ = false;
        if (!file_.Close()) Fail();
    }

private:
    void Flush()
    {
        std::string bytes = unicode_ ? Utf16LeFromUtf8(buffer_) : std::move(buffer_);
        bytes.insert(0, pending_);
        pending_.clear();
        buffer_.clear();
        if (!bytes.empty() && !file_.Write(bytes)) Fail();
    }
    [[noreturn]] void Fail()
    {
        const std::string reason = file_.LastError();
        if (open_) file_.Close();
        open_ = false;
        file_.Remove(path_);
        throw BackupFileError(Message("Cannot write", reason));
    }
    std::string Message(const char* what, const std::string& reason) const
    {
        return std::string(what) + " backup file \"" + path_ + "\": " + reason + ".";
    }

    FileWriter& file_;
    std::string path_;
    std::string buffer_;
    bool open_ = false;
    bool unicode_ = false;
    std::string pending_;  // written before the next piece
};

// "NAME"="VALUE", escaped. A value holding a line break cannot be a quoted
// string (one line per item), so it goes as hex(1), a string value spelt as
// its bytes in the file's encoding and the closing NUL, which the registry
// editor reads back as is.
void ValueLine(std::string& out, const char* name, const std::string& value, bool unicode)
{
    out += '"';
    out += name;
    if (value.find_first_of("\r\n") == std::string::npos) {
        std::string escaped = value;
        EscapeRegString(escaped);
        out += "\"=\"" + escaped + "\"" + kEol;
        return;
    }
    static const char digits[] = "0123456789abcdef";
    out += "\"=hex(1):";
    for (unsigned char c : unicode ? Utf16LeFromUtf8(value) : value) {
        out += digits[c >> 4];
        out += digits[c & 15];
        out += ',';
    }
    out += unicode ? "00,00" : "00";
    out += kEol;
}

}  // namespace

SaveDialog MakeSaveRegDlg()
{
    SaveDialog dialog;
    dialog.Filter = "Registry files (*.reg)|*.reg";
    dialog.DefaultExt = "*.reg";
    dialog.OverwritePrompt = true;
    dialog.HideReadOnly = true;
    dialog.EnableSizing = true;
    return dialog;
}

void EscapeRegString(std::string& text)
{
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    text.swap(out);
}

std::string BackupDateText(const LocalTime& today)
{
    char text[32];
    std::snprintf(text, sizeof text, "%d-%02d-%02d", today.year, today.month, today.day);
    return text;
}

std::string BackupFileName(const std::string& dateText) { return "Uninstall Backup " + dateText + ".reg"; }

namespace {

struct Entry {
    std::string section;  // the key's full name in brackets
    std::string displayName, command;
};

// What the file holds, as text: UTF-8 while it is gathered, then either all
// of it in the ANSI code page or the Unicode format when one text does not
// fit that code page.
struct Content {
    std::vector<std::string> views;  // each view's Uninstall key, in brackets
    std::vector<std::vector<Entry>> entries;
};

// One source's entries: the Uninstall key's section, then one section per
// entry. A user's source without entries writes nothing.
void ReadSource(Registry& registry, Content& content, const EntrySource& source)
{
    const RootKey root = SourceRoot(source.hive);
    const std::string uninstallKey = SourceUninstallKey(source.hive, source.sid);
    const auto open = [&](const std::string& key) {
        registry.SetRootKey(root);
        if (source.view != RegistryView::Native) registry.SetView(source.view);
        return registry.OpenKey(key, false);
    };
    if (!open(uninstallKey) && source.hive != EntryHive::Machine) return;
    const std::string section = "[" + SourceEditorPath(source.hive, source.view, source.sid);
    content.views.push_back(section + "]");
    content.entries.emplace_back();
    std::vector<Entry>& entries = content.entries.back();
    const std::vector<std::string> names = registry.GetKeyNames();
    for (const std::string& name : names) {
        // Skipped as the list skips it (a key that vanished or is locked).
        if (!open(uninstallKey + name)) continue;
        Entry entry{section + "\\" + name + "]", registry.ReadString("DisplayName"),
                    registry.ReadString("UninstallString")};  // names are never escaped
        if (entry.displayName.empty() || entry.command.empty()) continue;
        entries.push_back(std::move(entry));
    }
    // A user without entries adds nothing: the file stays as it was before users were listed.
    if (entries.empty() && source.hive != EntryHive::Machine) {
        content.views.pop_back();
        content.entries.pop_back();
    }
}

// The whole content in the ANSI code page; false when a text does not fit.
bool ToAnsi(const Content& content, Content& ansi, const Locale& locale)
{
    ansi = content;
    std::string converted;
    const auto convert = [&](std::string& text) {
        if (IsAscii(text)) return true;
        if (!locale.ToAnsi(text, converted)) return false;
        text.swap(converted);
        return true;
    };
    for (auto& view : ansi.entries)
        for (Entry& entry : view)
            if (!convert(entry.section) || !convert(entry.displayName) || !convert(entry.command)) return false;
    return true;
}

void Write(const Content& content, BackupFile& out, bool unicode)
{
    out.Line(unicode ? "Windows Registry Editor Version 5.00" : "REGEDIT4");
    out.Line("");
    std::string lines;
    for (size_t v = 0; v < content.views.size(); ++v) {
        if (v > 0) out.Line("");
        out.Line(content.views[v]);
        for (const Entry& entry : content.entries[v]) {
            lines = kEol + entry.section + kEol;
            ValueLine(lines, "DisplayName", entry.displayName, unicode);
            ValueLine(lines, "UninstallString", entry.command, unicode);
            out.Text(lines);
        }
    }
}

}  // namespace

bool WriteRegBackup(Registry& registry, FileWriter& file, const std::string& path, const Locale& locale,
                    bool windows64)
{
    std::vector<EntrySource> sources;
    if (!windows64) sources.push_back({});
    else sources = {{EntryHive::Machine, RegistryView::Bits64, {}, {}}, {EntryHive::Machine, RegistryView::Bits32, {}, {}}};
    return WriteRegBackup(registry, file, path, locale, sources);
}

bool WriteRegBackup(Registry& registry, FileWriter& file, const std::string& path, const Locale& locale,
                    const std::vector<EntrySource>& sources)
{
    BackupFile out(file, path);
    Content content;
    for (const EntrySource& source : sources) ReadSource(registry, content, source);
    Content ansi;
    const bool unicode = !ToAnsi(content, ansi, locale);
    if (unicode) out.Unicode();
    Write(unicode ? content : ansi, out, unicode);
    out.Finish();
    return unicode;
}

}  // namespace quillet
