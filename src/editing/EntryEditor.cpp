#include "editing/EntryEditor.h"

#include <utility>
#include <vector>

#include "catalogue/EntryKeys.h"
#include "common/Error.h"
#include "common/Text.h"

namespace quillet {

namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string NotDeleted(const std::string& caption)
{
    return "Uninstall shortcut for " + Quoted(caption) + " application could not be deleted";
}

// Said when the entry a box named went, or began uninstalling, while it was open.
std::string NotDone(const std::string& caption, bool gone, const char* what)
{
    return Quoted(caption) + (gone ? " is no longer in the list" : " is being uninstalled") + "; nothing was " +
           what + ".";
}

// The keys a failed delete left, the entry's own first; a few are enough.
void StillThere(const KeySnapshot& key, const std::string& path, std::vector<std::string>& out)
{
    if (!key.exists || out.size() >= 10) return;
    out.push_back(path.empty() ? key.name : path);
    for (const KeySnapshot& child : key.keys)
        StillThere(child, (path.empty() ? key.name : path) + "\\" + child.name, out);
}

// What a failed delete left of its entry, once settled, as one line or
// one key a line; empty when none of it went.
std::string PartlyDeleted(const UndoStep::Item& item, bool oneLine)
{
    if (item.afterKnown && item.after == item.before) return std::string();
    std::vector<std::string> left;
    StillThere(item.after, std::string(), left);
    std::string text = std::string(oneLine ? "p" : "P") + "art of it was deleted; Undo puts that back.";
    if (!left.empty()) text += " Still there:";
    for (size_t i = 0; i < left.size(); ++i) text += (oneLine ? (i ? ", " : " ") : "\n") + Quoted(left[i]);
    return text;
}

std::string BadLabel(size_t count)
{
    return "delete of " + std::to_string(count) + (count == 1 ? " bad entry" : " bad entries");
}

}  // namespace

std::string EntryEditor::NewSubkeyName(const std::string& displayName)
{
    std::string base = displayName;
    ReplaceAll(base, " ", "_");
    // A backslash would make a nested key that the list never reads back.
    ReplaceAll(base, "\\", "_");
    std::string candidate = base;
    for (int counter = 0; registry_.KeyExists(candidate); ++counter)
        candidate = base + "_" + std::to_string(counter);
    return candidate;
}

void EntryEditor::NewClick()
{
    TPropertiesForm& form = PropertiesForm;
    form.Display.clear();
    form.Uninstall.Text.clear();
    form.Reason.clear();
    form.Details.clear();
    form.Caption = "New shortcut";
    const bool ok = dialogs_.ShowProperties(form);
    const std::string name = form.Display;
    const std::string command = form.Uninstall.Text;

    if (ok && !name.empty() && !command.empty()) {
        const std::string uninstallKey = kUninstallKey;
        // Without the Uninstall key open, no name could be tested free and an
        // existing entry might be overwritten.
        const RegistryView view = catalogue_.NativeView();
        if (!catalogue_.OpenRegKey(RootKey::LocalMachine, uninstallKey, true, view))
            throw QuilletError(FormatText(kFailedToSetData, "UninstallString"));
        const EntryKey entry{NewSubkeyName(name), view};
        UndoStep step = History.Prepare("new entry " + Quoted(name), {entry}, true);
        Apply(std::move(step), [&] {
            if (!catalogue_.OpenEntryKey(entry, true)) throw QuilletError(FormatText(kFailedToSetData, "UninstallString"));
            registry_.WriteString("UninstallString", command);
            registry_.WriteString("DisplayName", name);
        });
        // The row once the key holds it: a failed write leaves no row without a key.
        EntryRow row{name, command, entry.subkey};
        row.view = view;
        const int index = catalogue_.AppendRow(std::move(row));
        log_.AddLog("Shortcut for " + Quoted(name) + " application added.", "", kLogInformation);
        programs_.FocusProgram(index);
    }
    catalogue_.UpdateButtons();
    catalogue_.ResortPrograms();
}

void EntryEditor::EditClick()
{
    TPropertiesForm& form = PropertiesForm;
    // The entry, not its row: the row may move or go while the dialog is open.
    const EntryRow* focused = catalogue_.FocusedRow();
    if (!focused) return;
    const EntryKey entry = catalogue_.FocusedKey();
    const std::string path = EntryCatalogue::EntryPath(entry);
    const std::string caption = focused->caption;
    const auto cannotOpen = [&] { return EntryKeyError(registry_, path, caption); };

    if (!catalogue_.OpenEntryKey(entry)) throw cannotOpen();
    const std::string command = registry_.ReadString("UninstallString");
    const std::string name = registry_.ReadString("DisplayName");
    form.Display = name;
    form.Uninstall.Text = command;
    form.Caption = Quoted(name) + " properties";
    form.Reason = catalogue_.RowReason(catalogue_.IndexOf(entry));
    form.Details = catalogue_.DetailLines(catalogue_.IndexOf(entry));

    if (dialogs_.ShowProperties(form)) {
        // The list may have reloaded while the dialog was open.
        const int listed = catalogue_.IndexOf(entry);
        if (listed < 0 || catalogue_.RowRunning(listed)) {
            catalogue_.SayStatus(NotDone(caption, listed < 0, "changed"));
            return;
        }
        // Texts as they were: nothing to write, nothing to take back.
        if (form.Display == name && form.Uninstall.Text == command) {
            catalogue_.UpdateStatusBar();
            return;
        }
        // The two values it writes, not the key: that may hold megabytes.
        UndoStep step = History.Capture("properties of " + Quoted(name), {entry}, {"DisplayName", "UninstallString"});
        // Gone while the dialog was open: no change, so no way back to record.
        if (!step.items.front().before.exists) throw cannotOpen();
        History.Record(step, true);
        Apply(std::move(step), [&] {
            // A reload while the dialog was open leaves another key open.
            if (!catalogue_.OpenEntryKey(entry)) throw cannotOpen();
            registry_.WriteString("DisplayName", form.Display);
            registry_.WriteString("UninstallString", form.Uninstall.Text);
        });
        const int index = catalogue_.IndexOf(entry);
        if (index >= 0) catalogue_.ChangeRow(index, form.Display, form.Uninstall.Text);
    }
    catalogue_.UpdateStatusBar();
    catalogue_.ResortPrograms();
}

void EntryEditor::DeleteRow(int index)
{
    // Copies: the record's box (while hidden) lets the list reload under us.
    const EntryRow row = catalogue_.Rows().at(static_cast<size_t>(index));
    bool deleted = false;
    // Never below another key: a failed open leaves no key open.
    if (!row.subkey.empty() && catalogue_.OpenUninstallKey(row.Key())) {
        // A subkey that had vanished already is as good as deleted.
        deleted = registry_.DeleteKey(row.subkey) || !registry_.KeyExists(row.subkey);
    }
    if (!deleted) throw QuilletError(NotDeleted(row.caption));
    log_.AddLog("Uninstall shortcut for " + Quoted(row.caption) + " application deleted!", "", kLogInformation);
    const int now = catalogue_.IndexOf(row.Key());
    if (now >= 0) catalogue_.RemoveRow(now);
}

void EntryEditor::DeleteProgram(const EntryKey& entry)
{
    const int index = catalogue_.IndexOf(entry);
    const std::string caption = catalogue_.Rows().at(static_cast<size_t>(index)).caption;
    UndoStep step = History.Prepare("delete of " + Quoted(caption), {entry}, false);
    try {
        DeleteRow(index);
    } catch (const std::exception& e) {
        // Whatever stopped it, keys below it may be gone already: those come back with Undo.
        History.Settle(step);
        const std::string part = PartlyDeleted(step.items.front(), false);
        History.Push(std::move(step));
        if (part.empty()) throw;
        // Our own errors name the entry; any other only says what went wrong.
        const bool ours = dynamic_cast<const QuilletError*>(&e) != nullptr;
        throw QuilletError((ours ? std::string(e.what()) : NotDeleted(caption) + " (" + e.what() + ")") + ". " + part);
    }
    UndoHistory::KeepRemoved(step, {entry});
    History.Push(std::move(step));
}

void EntryEditor::DeleteClick()
{
    if (catalogue_.SelectedRows().size() > 1) return DeleteSelection();
    const EntryRow* row = catalogue_.FocusedRow();
    if (!row) return;
    // What the question names; the rows may move while it is open.
    const EntryKey entry = row->Key();
    const std::string caption = row->caption;
    if (!boxes_.Confirm("Are you really want to delete shortcut to uninstall " + Quoted(caption) + " application?"))
        return;
    const int index = catalogue_.IndexOf(entry);
    if (index < 0 || catalogue_.RowRunning(index)) {
        catalogue_.SayStatus(NotDone(caption, index < 0, "deleted"));
        return;
    }
    DeleteProgram(entry);
    catalogue_.UpdateButtons();
}

void EntryEditor::DeleteBadBtnClick()
{
    // The entries the question counts are the ones deleted; when the set
    // changed while the box was open, the question is asked again.
    std::vector<EntryKey> counted = catalogue_.BadKeys();
    bool agreed = false;
    while (!counted.empty()) {
        agreed = boxes_.Confirm("Are you sure want to delete " + std::to_string(counted.size()) + " bad shortcut(s)?");
        if (!agreed) break;
        std::vector<EntryKey> now = catalogue_.BadKeys();
        if (now == counted) break;
        counted = std::move(now);
        agreed = false;
    }
    if (agreed) return DeleteEntries(counted, BadLabel(counted.size()));
    if (counted.empty()) catalogue_.SayStatus("No bad shortcuts are left; nothing was deleted.");
    catalogue_.UpdateButtons();
}

void EntryEditor::DeleteSelection()
{
    std::vector<EntryKey> chosen;
    for (const int index : catalogue_.SelectedRows()) chosen.push_back(catalogue_.KeyAt(index));
    if (!boxes_.Confirm("Are you sure want to delete " + std::to_string(chosen.size()) + " shortcut(s)?")) return;
    // Those still listed, and not the one an uninstaller is removing.
    std::vector<EntryKey> entries;
    for (const EntryKey& entry : chosen) {
        const int index = catalogue_.IndexOf(entry);
        if (index >= 0 && !catalogue_.RowRunning(index)) entries.push_back(entry);
    }
    if (entries.empty()) {
        catalogue_.SayStatus("None of those shortcuts can be deleted now; nothing was deleted.");
        return;
    }
    DeleteEntries(entries, "delete of " + std::to_string(entries.size()) + " entries");
}

void EntryEditor::DeleteEntries(const std::vector<EntryKey>& counted, const std::string& label)
{
    std::vector<std::pair<EntryKey, std::string>> failed;  // with its caption
    std::vector<EntryKey> removed;
    UndoStep step = History.Prepare(label, counted, false);
    {
        removed.reserve(counted.size());
        // Thousands of rows may go: the lists show the outcome once.
        struct Bulk {
            ProgramsView& view;
            explicit Bulk(ProgramsView& v) : view(v) { view.BeginBulkChange(); }
            ~Bulk() { view.EndBulkChange(); }
        } bulk(programs_);
        for (const EntryKey& entry : counted) {
            // Found again each time: a box shown by a record may let the list reload.
            const int index = catalogue_.IndexOf(entry);
            if (index < 0) continue;
            const std::string caption = catalogue_.Rows()[static_cast<size_t>(index)].caption;
            try {
                DeleteRow(index);
                removed.push_back(entry);
            } catch (const std::exception&) {
                // Whatever stopped it, reported together below; the others still go.
                failed.push_back({entry, caption});
            }
        }
    }
    UndoHistory::KeepRemoved(step, removed);
    // Those that failed may have lost keys below them: read as they are now.
    History.Settle(step);
    std::vector<std::string> parts;
    for (const auto& [entry, caption] : failed)
        for (const UndoStep::Item& item : step.items)
            if (item.entry == entry) parts.push_back(PartlyDeleted(item, failed.size() > 1));
    History.Push(std::move(step));
    catalogue_.UpdateButtons();
    if (failed.size() == 1) {
        const std::string& part = parts.front();
        throw QuilletError(NotDeleted(failed.front().second) + (part.empty() ? "" : ". " + part));
    }
    if (!failed.empty()) {
        std::string message = "Uninstall shortcuts for these applications could not be deleted:";
        for (size_t i = 0; i < failed.size(); ++i)
            message += "\n" + Quoted(failed[i].second) + (parts[i].empty() ? "" : " (" + parts[i] + ")");
        throw QuilletError(message);
    }
}

std::string EntryEditor::UndoText() const
{
    if (History.Empty() || catalogue_.JobBusy()) return std::string();
    return "Undo " + History.NextLabel();
}

void EntryEditor::UndoClick()
{
    if (History.Empty()) return;
    // An uninstaller may be changing the same keys: wait for its end.
    if (catalogue_.JobBusy()) {
        catalogue_.SayStatus("Undo waits until the uninstaller ends; nothing was changed.");
        return;
    }
    Restored(History.UndoLast());
}

void EntryEditor::Restored(const UndoHistory::Outcome& outcome)
{
    const auto nameOf = [](const UndoStep::Item& item) {
        const std::string shown = item.caption.empty() ? item.after.DisplayName() : item.caption;
        return Quoted(shown.empty() ? item.entry.subkey : shown);
    };
    for (const UndoStep::Item& item : outcome.done)
        log_.AddLog("Shortcut for " + nameOf(item) + " application " + (item.before.exists ? "restored." : "removed."),
                    "", kLogInformation);
    catalogue_.LoadPrograms();
    for (const UndoStep::Item& item : outcome.done) {
        const int index = item.before.exists ? catalogue_.IndexOf(item.entry) : -1;
        if (index >= 0) {
            programs_.FocusProgram(index);
            break;
        }
    }
    catalogue_.UpdateButtons();
    if (outcome.conflicts.empty() && outcome.failed.empty()) return;
    std::string message;
    if (!outcome.conflicts.empty()) {
        message = "Changed since, so left as it is now (the earlier state stays in the changes file):";
        for (const UndoStep::Item& item : outcome.conflicts) message += "\n" + nameOf(item);
    }
    if (!outcome.failed.empty()) {
        message += std::string(message.empty() ? "" : "\n") + "Could not be put back; Undo can try them again:";
        for (size_t i = 0; i < outcome.failed.size(); ++i)
            message += "\n" + nameOf(outcome.failed[i]) + ": " + outcome.reasons[i];
    }
    throw QuilletError(message);
}

}  // namespace quillet
