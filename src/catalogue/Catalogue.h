#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "catalogue/EntryKey.h"
#include "catalogue/EntryRow.h"
#include "catalogue/EntrySource.h"
#include "catalogue/ProgramsView.h"
#include "catalogue/Registry.h"
#include "catalogue/STFileExists.h"
#include "catalogue/STListView.h"
#include "common/Controls.h"

namespace quillet {

class FileSystem;
class Locale;

inline constexpr const char* kUninstallKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// What the list's enabling needs to know of a running uninstall job.
class RunningEntry {
public:
    virtual ~RunningEntry() = default;
    virtual bool Busy() const = 0;
    // The row is the entry whose uninstaller runs.
    virtual bool IsRunning(const EntryRow& row) const = 0;
};

// The program list: the uninstall entries as read from the registry, their
// validity, their sort order, and the buttons that depend on the focused row.
class EntryCatalogue {
public:
    struct Views {
        ProgramsView& programs;
        CommandView& commands;
        StatusPanels& status;
    };
    // On 64-bit Windows the list holds the entries of both registry views.
    EntryCatalogue(Registry& registry, FileSystem& files, const Locale& locale, const Views& views,
                   const RunningEntry& job, bool windows64 = false);

    void LoadPrograms();
    // Loads read each entry's caption and command only; its details are read
    // from this accessor (the list's own: reading them may come while another
    // command holds the main one's key open) when a row is drawn or asked for,
    // while the program is idle, or all at once for a sort, Find or export.
    // Without it every load reads the details with the entries.
    void ReadDetailsLater(Registry& registry) { detailsRegistry_ = &registry; }
    // Reads the details of up to `count` rows that lack them; false once none lacks them.
    bool ReadSomeDetails(size_t count);
    // Every row's details read.
    void NeedAllDetails() const;
    // That row with its details read; nullptr when there is no such row.
    const EntryRow* DetailedRow(int index) const;
    // A reload for changes made outside: the focus stays with its entry (or,
    // when it is gone, on its row as after LoadPrograms), the scroll position
    // stays, and the active control is left as it is.
    void FollowRegistry() { Load(FocusedKey(), false); }
    // Told at the start of every load.
    std::function<void()> BeforeLoad;
    // Told when a load has read every source (Sources() is what it read).
    std::function<void()> AfterLoad;
    // Opens without creating, except where asked (only New creates a key).
    bool OpenRegKey(RootKey root, const std::string& path, bool create = false,
                    RegistryView view = RegistryView::Native);
    // The entry's own key, in its own hive and view.
    bool OpenEntryKey(const EntryKey& entry, bool create = false);
    // The Uninstall key the entry is below, in its own hive and view.
    bool OpenUninstallKey(const EntryKey& entry);
    // The entry's key below the root OpenEntryKey sets.
    static std::string EntryPath(const EntryKey& entry) { return SourceUninstallKey(entry.hive, entry.sid) + entry.subkey; }
    bool Windows64() const { return windows64_; }
    // The machine's views read, in the list's order before sorting.
    std::vector<RegistryView> ListedViews() const;
    // Every source as it stands now, in the list's order before sorting: the
    // machine's views, the current user, the other users whose hives are loaded.
    std::vector<EntrySource> ReadSources();
    // The sources the last load read.
    const std::vector<EntrySource>& Sources() const { return sources_; }
    // View > "Show system components and updates": off, such entries are not listed.
    bool ShowSystemEntries() const { return showSystem_; }
    void SetShowSystemEntries(bool shown);
    void SystemEntriesMMClick();
    // Names the other users' hives; none: only the machine and HKCU are read.
    UserAccounts* Accounts = nullptr;
    // Where New puts an entry: the view a program of the system's own width uses.
    RegistryView NativeView() const { return windows64_ ? RegistryView::Bits64 : RegistryView::Native; }
    void CheckProgram(EntryRow& row) const;
    // The file a command starts, found by the same rules as its verdict.
    std::string ProgramFile(const std::string& command) const { return checker_.ProgramFile(command); }
    void UpdateButtons();
    void UpdateStatusBar();
    void ProgramsClick();
    // The focus or the selection moved; a row newly focused shows its reason.
    void ProgramsChange();
    // The reason of that row, in words; empty when there is no such row.
    std::string RowReason(int index) const;
    // What a user decides by, as the list shows it, in two lines (publisher
    // and version; installed, size and source), each without the facts the
    // entry lacks; none when it lacks them all.
    std::vector<std::string> DetailLines(int index) const;
    // The pointer rests on that row: its reason goes to the status bar.
    void PointedAt(int index) { SayStatus(RowReason(index)); }
    void RefreshClick() { LoadPrograms(); }

    // The sort state before the first load: the column sorted ascending, then
    // the direction (as stored, or column 0 ascending).
    void ApplySortState(int column, bool ascending)
    {
        Programs.SortByColumn(column, true);
        Programs.SetAscending(ascending);
    }
    void ProgramsHeaderClick(int column) { Programs.HeaderClick(column, views_.programs.FocusedProgram()); }
    void SubkeyMMClick(int tag) { Programs.SortByColumn(tag, Programs.Ascending(), views_.programs.FocusedProgram()); }
    void ReversedorderMMClick()
    {
        Programs.SortByColumn(Programs.SortColumnIndex(), Programs.Ascending(), views_.programs.FocusedProgram());
    }
    void ProgramsColumnClick();
    // Sorts again as the sort state stands, keeping the focused row focused.
    void ResortPrograms();

    const std::vector<EntryRow>& Rows() const { return rows_; }
    const EntryRow* FocusedRow() const;
    // The focused row's entry; empty when no row has the focus.
    EntryKey FocusedKey() const;
    // The row of that entry now, or -1.
    int IndexOf(const EntryKey& key) const;
    // That row's entry is the one being uninstalled.
    bool RowRunning(int index) const { return job_.IsRunning(rows_.at(static_cast<size_t>(index))); }
    // An uninstall job runs.
    bool JobBusy() const { return job_.Busy(); }
    // The selected rows that exist, from the top down.
    std::vector<int> SelectedRows() const;
    // The entries of the rows marked bad, from the top of the list down.
    std::vector<EntryKey> BadKeys() const;
    // A word to the user in the status bar's text panel.
    void SayStatus(const std::string& text) { views_.status.SetStatusPanel(0, text); }
    // The entry of that row; raises std::out_of_range when there is none.
    EntryKey KeyAt(int index) const { return rows_.at(static_cast<size_t>(index)).Key(); }

    // The editing commands' changes to the rows; each tells the view.
    int AppendRow(EntryRow row);
    void RemoveRow(int index);
    void ChangeRow(int index, const std::string& caption, const std::string& command);
    void MarkBad(int index);

private:
    void ReadEntries();
    void ReadDetails(EntryRow& row) const;
    void Load(const EntryKey& keep, bool activate);

    Registry& registry_;
    bool windows64_;
    Views views_;
    const RunningEntry& job_;
    CommandChecker checker_;
    // Mutable: a row's details are filled in when first asked for.
    mutable std::vector<EntryRow> rows_;
    Registry* detailsRegistry_ = nullptr;
    size_t detailsCursor_ = 0;  // the rows above it have their details
    std::vector<EntrySource> sources_;
    RememberedAccounts accountNames_;  // Accounts, each name asked once
    bool showSystem_ = true;
    EntryKey reasonShown_;  // the focused entry whose reason the status bar got last

public:
    int32_t BadCount = 0;
    TSTListView Programs;  // the program list's sort state, over rows_
};

}  // namespace quillet
