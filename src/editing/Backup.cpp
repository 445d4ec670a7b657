#include "editing/Backup.h"

#include <cstdio>
#include <vector>

#include "catalogue/Registry.h"
#include "common/Error.h"
#include "common/Locale.h"
#include "editing/FileWriter.h"

namespace quillet {

namespace {

constexpr const char* kUninstallPath = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
// Where the 32-bit view's entries really are on 64-bit Windows.
constexpr const char* kUninstallPath32 = "\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
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
    void Finish()
    {
        Flush();
        open_ = false;
        if (!file_.Close()) Fail();
    }

private:
    void Flush()
    {
        if (!buffer_.empty() && !file_.Write(buffer_)) Fail();
        buffer_.clear();
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
};

// "NAME"="VALUE", escaped. A value holding a line break cannot be a quoted
// string (one line per item), so it goes as hex(1), a string value spelt as
// its bytes and the closing NUL, which the registry editor reads back as is.
std::string ValueLine(const char* name, const std::string& value)
{
    if (value.find_first_of("\r\n") == std::string::npos) {
        std::string escaped = value;
        EscapeRegString(escaped);
        return std::string("\"") + name + "\"=\"" + escaped + "\"";
    }
    static const char digits[] = "0123456789abcdef";
    std::string line = std::string("\"") + name + "\"=hex(1):";
    for (unsigned char c : value) {
        line += digits[c >> 4];
        line += digits[c & 15];
        line += ',';
    }
    return line + "00";
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

// One view's entries: the Uninstall key's section, then one section per entry.
void WriteView(Registry& registry, BackupFile& out, RegistryView view, const char* realPath)
{
    const std::string section = std::string("[HKEY_LOCAL_MACHINE") + realPath;
    out.Line(section + "]");

    const auto open = [&](const std::string& key) {
        registry.SetRootKey(RootKey::LocalMachine);
        if (view != RegistryView::Native) registry.SetView(view);
        return registry.OpenKey(key, false);
    };
    open(kUninstallPath);
    const std::vector<std::string> names = registry.GetKeyNames();
    for (const std::string& name : names) {
        // Skipped as the list skips it (a key that vanished or is locked).
        if (!open(std::string(kUninstallPath) + "\\" + name)) continue;
        const std::string displayName = registry.ReadString("DisplayName");
        const std::string command = registry.ReadString("UninstallString");
        if (displayName.empty() || command.empty()) continue;
        out.Line("");
        out.Line(section + "\\" + name + "]");  // as enumerated: names are never escaped
        out.Line(ValueLine("DisplayName", displayName));
        out.Line(ValueLine("UninstallString", command));
    }
}

}  // namespace

void WriteRegBackup(Registry& registry, FileWriter& file, const std::string& path, bool windows64)
{
    BackupFile out(file, path);
    out.Line("REGEDIT4");
    out.Line("");
    if (!windows64) {
        WriteView(registry, out, RegistryView::Native, kUninstallPath);
    } else {
        WriteView(registry, out, RegistryView::Bits64, kUninstallPath);
        out.Line("");
        WriteView(registry, out, RegistryView::Bits32, kUninstallPath32);
    }
    out.Finish();
}

}  // namespace quillet
