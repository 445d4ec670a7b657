// The main window's commands that write and delete uninstall entries.
#include <string>
#include <vector>

#include "app/MainFrm.h"
#include "catalogue/EntryKeys.h"
#include "common/Text.h"

namespace quillet {

namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string NotDeleted(const std::string& caption)
{
    return "Uninstall shortcut for " + Quoted(caption) + " application could not be deleted";
}

bool SameSubkey(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

}  // namespace

void TMain::ResortPrograms()
{
    // The opposite direction makes the click re-sort as it stands.
    Programs.SortByColumn(Programs.SortColumnIndex(), !Programs.Ascending(), view_.FocusedProgram());
}

int TMain::FindRowBySubkey(const std::string& subkey) const
{
    for (size_t i = 0; i < rows_.size(); ++i)
        if (SameSubkey(rows_[i].subkey, subkey)) return static_cast<int>(i);
    return -1;
}

std::string TMain::NewSubkeyName(const std::string& displayName)
{
    std::string base = displayName;
    ReplaceAll(base, " ", "_");
    // A backslash would make a nested key that the list never reads back.
    ReplaceAll(base, "\\", "_");
    std::string candidate = base;
    for (int counter = 0; ports_.registry.KeyExists(candidate); ++counter)
        candidate = base + "_" + std::to_string(counter);
    return candidate;
}

void TMain::NewClick()
{
    TPropertiesForm& form = PropertiesForm;
    form.Display.clear();
    form.Uninstall.Text.clear();
    form.Caption = "New shortcut";
    const bool ok = ports_.dialogs.ShowProperties(form);
    const std::string name = form.Display;
    const std::string command = form.Uninstall.Text;

    if (ok && !name.empty() && !command.empty()) {
        const std::string uninstallKey = kUninstallKey;
        // Without the Uninstall key open, no name could be tested free and an
        // existing entry might be overwritten.
        if (!OpenRegKey(RootKey::LocalMachine, uninstallKey, true))
            throw QuilletError(FormatText(kFailedToSetData, "UninstallString"));
        EntryRow row;
        row.caption = name;
        row.command = command;
        row.subkey = NewSubkeyName(name);
        CheckProgram(row);
        rows_.push_back(row);
        const int index = static_cast<int>(rows_.size()) - 1;
        view_.ProgramAdded(rows_.size());

        Registry& registry = ports_.registry;
        OpenRegKey(RootKey::LocalMachine, uninstallKey + row.subkey, true);
        registry.WriteString("UninstallString", command);
        registry.WriteString("DisplayName", name);
        AddLog("Shortcut for " + Quoted(name) + " application added.", "", kLogInformation);
        view_.FocusProgram(index);
    }
    UpdateButtons();
    ResortPrograms();
}

void TMain::EditClick()
{
    TPropertiesForm& form = PropertiesForm;
    const EntryRow* focused = FocusedRow();
    if (!focused) return;
    // The entry is its subkey: the row may move or go while the dialog is open.
    const std::string subkey = focused->subkey;
    const std::string path = kUninstallKey + subkey;
    const auto cannotOpen = [&, caption = focused->caption] { return EntryKeyError(ports_.registry, path, caption); };

    Registry& registry = ports_.registry;
    if (!OpenRegKey(RootKey::LocalMachine, path)) throw cannotOpen();
    const std::string command = registry.ReadString("UninstallString");
    const std::string name = registry.ReadString("DisplayName");
    form.Display = name;
    form.Uninstall.Text = command;
    form.Caption = Quoted(name) + " properties";

    if (ports_.dialogs.ShowProperties(form)) {
        // A reload while the dialog was open leaves another key open.
        if (!OpenRegKey(RootKey::LocalMachine, path)) throw cannotOpen();
        registry.WriteString("DisplayName", form.Display);
        registry.WriteString("UninstallString", form.Uninstall.Text);
        const int index = FindRowBySubkey(subkey);
        if (index >= 0) {
            EntryRow& row = rows_[index];
            row.caption = form.Display;
            row.command = form.Uninstall.Text;
            CheckProgram(row);
            view_.ProgramChanged(index);
        }
    }
    UpdateStatusBar();
    ResortPrograms();
}

void TMain::DeleteProgram(int index)
{
    const EntryRow& row = rows_.at(static_cast<size_t>(index));
    bool deleted = false;
    // Never below another key: a failed open leaves no key open.
    if (!row.subkey.empty() && OpenRegKey(RootKey::LocalMachine, kUninstallKey)) {
        Registry& registry = ports_.registry;
        // A subkey that had vanished already is as good as deleted.
        deleted = registry.DeleteKey(row.subkey) || !registry.KeyExists(row.subkey);
    }
    if (!deleted) throw QuilletError(NotDeleted(row.caption));
    AddLog("Uninstall shortcut for " + Quoted(row.caption) + " application deleted!", "", kLogInformation);
    rows_.erase(rows_.begin() + index);
    view_.ProgramRemoved(index, rows_.size());
}

void TMain::DeleteClick()
{
    const EntryRow* row = FocusedRow();
    if (!row) return;
    if (!ports_.dialogs.Confirm("Are you really want to delete shortcut to uninstall " + Quoted(row->caption) +
                                " application?"))
        return;
    DeleteProgram(view_.FocusedProgram());
    UpdateButtons();
}

void TMain::DeleteBadBtnClick()
{
    std::vector<std::string> failed;
    if (ports_.dialogs.Confirm("Are you sure want to delete " + std::to_string(BadCount) + " bad shortcut(s)?")) {
        // Thousands of rows may go: the lists show the outcome once.
        struct Bulk {
            MainView& view;
            explicit Bulk(MainView& v) : view(v) { view.BeginBulkChange(); }
            ~Bulk() { view.EndBulkChange(); }
        } bulk(view_);
        size_t index = 0;
        while (index != rows_.size()) {
            if (rows_[index].image == kImageBad) {
                try {
                    DeleteProgram(static_cast<int>(index));
                    continue;  // the next row moved into its place
                } catch (const QuilletError&) {
                    // Reported together below; the others still go.
                    failed.push_back(rows_[index].caption);
                }
            }
            ++index;
        }
    }
    UpdateButtons();
    if (failed.size() == 1) throw QuilletError(NotDeleted(failed.front()));
    if (!failed.empty()) {
        std::string message = "Uninstall shortcuts for these applications could not be deleted:";
        for (const std::string& caption : failed) message += "\n" + Quoted(caption);
        throw QuilletError(message);
    }
}

}  // namespace quillet
