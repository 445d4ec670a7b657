#include "catalogue/Catalogue.h"

#include <algorithm>

#include "catalogue/EntryBatch.h"
#include "catalogue/EntryReader.h"

namespace quillet {

EntryCatalogue::EntryCatalogue(Registry& registry, FileSystem& files, const Locale& locale, const Views& views,
                               const RunningEntry& job, bool windows64)
    : registry_(registry), windows64_(windows64), views_(views), job_(job), checker_(files, locale), Programs(rows_, locale, views.programs)
{
    Programs.OnColumnClick = [this] {
        detailsCursor_ = 0;  // the rows moved
        ProgramsColumnClick();
    };
    Programs.NeedDetails = [this] { NeedAllDetails(); };
}

bool EntryCatalogue::OpenRegKey(RootKey root, const std::string& path, bool create, RegistryView view)
{
    registry_.SetRootKey(root);
    if (view != RegistryView::Native) registry_.SetView(view);
    return registry_.OpenKey(path, create);
}

bool EntryCatalogue::OpenEntryKey(const EntryKey& entry, bool create)
{
    return OpenRegKey(SourceRoot(entry.hive), EntryPath(entry), create, entry.view);
}

bool EntryCatalogue::OpenUninstallKey(const EntryKey& entry)
{
    return OpenRegKey(SourceRoot(entry.hive), SourceUninstallKey(entry.hive, entry.sid), false, entry.view);
}

std::vector<RegistryView> EntryCatalogue::ListedViews() const
{
    if (!windows64_) return {RegistryView::Native};
    return {RegistryView::Bits64, RegistryView::Bits32};
}

void EntryCatalogue::CheckProgram(EntryRow& row) const
{
    Verdict verdict = checker_.Judge(row.command);
    row.image = verdict.valid ? kImageGood : kImageBad;
    row.reason = std::move(verdict.reason);
}

std::vector<EntrySource> EntryCatalogue::ReadSources()
{
    std::vector<EntrySource> sources;
    for (const RegistryView view : ListedViews()) sources.push_back({EntryHive::Machine, view, {}, {}});
    sources.push_back({EntryHive::CurrentUser, RegistryView::Native, {}, {}});
    if (Accounts) {
        accountNames_.Ask(*Accounts);
        for (EntrySource& user : OtherUserSources(registry_, accountNames_)) sources.push_back(std::move(user));
    }
    return sources;
}

void EntryCatalogue::ReadEntries()
{
    // Every source's names first: the entries of all are then read at once.
    std::vector<EntryKeys> keys;
    size_t count = 0;
    for (const EntrySource& source : sources_) {
        EntryKeys& each = keys.emplace_back();
        each.root = SourceRoot(source.hive);
        each.view = source.view;
        each.uninstallKey = SourceUninstallKey(source.hive, source.sid);
        // A user without uninstall entries has no such key: nothing to list.
        if (OpenRegKey(each.root, each.uninstallKey, false, source.view)) each.names = registry_.GetKeyNames();
        count += each.names.size();
    }
    rows_.reserve(count);
    // Hidden system entries are known by their details only.
    const bool detailsToo = !detailsRegistry_ || !showSystem_;
    std::vector<EntryRead> reads = ReadEntryKeys(registry_, keys, detailsToo);
    size_t at = 0;
    for (size_t s = 0; s < keys.size(); ++s)
        for (const std::string& name : keys[s].names) {
            EntryRead& read = reads[at++];
            // The rows before a failure stay read, as if it had stopped the reading.
            if (read.failure) std::rethrow_exception(read.failure);
            if (!read.listed || (!showSystem_ && read.row.details.SystemOrUpdate())) continue;
            read.row.subkey = name;
            read.row.SetSource(sources_[s]);
            CheckProgram(read.row);
            rows_.push_back(std::move(read.row));
        }
}

void EntryCatalogue::LoadPrograms() { Load(EntryKey{}, true); }

void EntryCatalogue::SetShowSystemEntries(bool shown)
{
    showSystem_ = shown;
    views_.commands.CheckMenuItem(MenuItem::SystemEntriesMM, shown);
}

void EntryCatalogue::SystemEntriesMMClick()
{
    SetShowSystemEntries(!showSystem_);
    FollowRegistry();
}

void EntryCatalogue::Load(const EntryKey& keep, bool activate)
{
    if (BeforeLoad) BeforeLoad();
    ProgramsView& view = views_.programs;
    int position = 0;
    if (!rows_.empty()) position = std::max(view.FocusedProgram(), 0);
    const int scroll = view.ScrollPosition();

    rows_.clear();
    detailsCursor_ = 0;
    sources_ = ReadSources();
    Programs.ForgetKeys();
    checker_.BeginBatch();
    try {
        ReadEntries();
    } catch (...) {
        checker_.EndBatch();
        registry_.SetRootKey(RootKey::LocalMachine);
        // The rows read before the failure stay listed.
        view.ProgramsReplaced(rows_.size());
        throw;
    }
    checker_.EndBatch();
    // The last source read may be a user's hive: whoever uses the accessor
    // next without naming a root finds the machine's, as before any load.
    registry_.SetRootKey(RootKey::LocalMachine);
    view.ProgramsReplaced(rows_.size());

    // The opposite direction makes the click re-sort as it stands.
    Programs.SortByColumn(Programs.SortColumnIndex(), !Programs.Ascending());

    if (!rows_.empty()) {
        int index = keep.Empty() ? -1 : IndexOf(keep);
        if (index < 0) index = std::min(position, static_cast<int>(rows_.size()) - 1);
        if (!activate) view.RestoreScroll(scroll);
        view.FocusProgram(index);
    }
    if (activate) view.ActivatePrograms();
    UpdateButtons();
    if (AfterLoad) AfterLoad();
}

void EntryCatalogue::ReadDetails(EntryRow& row) const
{
    row.detailsRead = true;
    Registry& registry = *detailsRegistry_;
    registry.SetRootKey(SourceRoot(row.hive));
    if (row.view != RegistryView::Native) registry.SetView(row.view);
    // An entry gone since the load has no details to show.
    if (registry.OpenKey(EntryPath(row.Key()), false)) ReadEntryDetails(registry, row);
    // No key held open: one below HKEY_USERS would keep that user's hive loaded.
    registry.SetRootKey(RootKey::LocalMachine);
}

bool EntryCatalogue::ReadSomeDetails(size_t count)
{
    for (; detailsCursor_ < rows_.size() && count > 0; ++detailsCursor_) {
        EntryRow& row = rows_[detailsCursor_];
        if (row.detailsRead) continue;
        ReadDetails(row);
        --count;
    }
    return detailsCursor_ < rows_.size();
}

void EntryCatalogue::NeedAllDetails() const
{
    for (EntryRow& row : rows_)
        if (!row.detailsRead) ReadDetails(row);
}

const EntryRow* EntryCatalogue::DetailedRow(int index) const
{
    if (index < 0 || index >= static_cast<int>(rows_.size())) return nullptr;
    EntryRow& row = rows_[static_cast<size_t>(index)];
    if (!row.detailsRead) ReadDetails(row);
    return &row;
}

const EntryRow* EntryCatalogue::FocusedRow() const { return DetailedRow(views_.programs.FocusedProgram()); }

EntryKey EntryCatalogue::FocusedKey() const
{
    const EntryRow* row = FocusedRow();
    return row ? row->Key() : EntryKey{};
}

int EntryCatalogue::IndexOf(const EntryKey& key) const
{
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].Key() == key) return static_cast<int>(i);
    return -1;
}

std::vector<int> EntryCatalogue::SelectedRows() const
{
    std::vector<int> rows;
    for (const int index : views_.programs.SelectedPrograms())
        if (index >= 0 && index < static_cast<int>(rows_.size())) rows.push_back(index);
    return rows;
}

std::vector<EntryKey> EntryCatalogue::BadKeys() const
{
    std::vector<EntryKey> keys;
    for (const EntryRow& row : rows_)
        if (row.image == kImageBad) keys.push_back(row.Key());
    return keys;
}

int EntryCatalogue::AppendRow(EntryRow row)
{
    CheckProgram(row);
    TSTListView::RowChanged(row);
    rows_.push_back(std::move(row));
    views_.programs.ProgramAdded(rows_.size());
    return static_cast<int>(rows_.size()) - 1;
}

void EntryCatalogue::RemoveRow(int index)
{
    rows_.erase(rows_.begin() + index);
    if (static_cast<size_t>(index) < detailsCursor_) --detailsCursor_;
    views_.programs.ProgramRemoved(index, rows_.size());
}

void EntryCatalogue::ChangeRow(int index, const std::string& caption, const std::string& command)
{
    EntryRow& row = rows_.at(static_cast<size_t>(index));
    row.caption = caption;
    row.command = command;
    TSTListView::RowChanged(row);
    CheckProgram(row);
    views_.programs.ProgramChanged(index);
    if (index == views_.programs.FocusedProgram()) SayStatus(RowReason(index));
}

void EntryCatalogue::MarkBad(int index)
{
    EntryRow& row = rows_.at(static_cast<size_t>(index));
    row.image = kImageBad;
    row.reason = {Why::NotStarted, 0, {}};
    views_.programs.ProgramChanged(index);
}

void EntryCatalogue::UpdateButtons()
{
    const bool hasRow = FocusedRow() != nullptr;
    CommandView& commands = views_.commands;
    commands.EnableButton(Button::AddRemove, hasRow && !job_.Busy());
    commands.EnableButton(Button::Delete, hasRow);
    commands.EnableButton(Button::Properties, hasRow);
    UpdateStatusBar();
    ProgramsClick();
}

void EntryCatalogue::UpdateStatusBar()
{
    BadCount = static_cast<int32_t>(
        std::count_if(rows_.begin(), rows_.end(), [](const EntryRow& r) { return r.image == kImageBad; }));
    CommandView& commands = views_.commands;
    commands.EnableButton(Button::DeleteBad, BadCount != 0);
    commands.EnableMenuItem(MenuItem::DeleteBadMM, commands.ButtonEnabled(Button::DeleteBad));
    views_.status.SetStatusPanel(1, "Shortcuts / Bad shortcuts: " + std::to_string(rows_.size()) + " / " +
                                        std::to_string(BadCount));
}

void EntryCatalogue::ProgramsClick()
{
    const EntryRow* row = FocusedRow();
    if (!row) return;
    // A deleted row takes the focus with it and UpdateButtons then turns
    // Add/Remove off; a row focused afterwards must turn it on again.
    CommandView& commands = views_.commands;
    commands.EnableButton(Button::AddRemove, !job_.Busy());
    const bool isRunningEntry = job_.IsRunning(*row);
    commands.EnableButton(Button::Delete, !isRunningEntry);
    commands.EnableButton(Button::Properties, !isRunningEntry);
}

void EntryCatalogue::ProgramsChange()
{
    ProgramsClick();
    // Said once per entry focused: a reload that keeps the focus on its entry
    // leaves whatever the panel says, a command's word included.
    const EntryKey focused = FocusedKey();
    if (focused.Empty() || focused == reasonShown_) return;
    SayStatus(RowReason(views_.programs.FocusedProgram()));
    reasonShown_ = focused;
}

std::string EntryCatalogue::RowReason(int index) const
{
    if (index < 0 || index >= static_cast<int>(rows_.size())) return std::string();
    return ReasonText(rows_[static_cast<size_t>(index)].reason);
}

std::vector<std::string> EntryCatalogue::DetailLines(int index) const
{
    const EntryRow* detailed = DetailedRow(index);
    if (!detailed) return {};
    const EntryRow& row = *detailed;
    const auto line = [&](std::initializer_list<std::pair<const char*, int>> facts) {
        std::string text;
        for (const auto& [label, column] : facts) {
            const std::string value = Programs.ColumnText(row, column);
            if (value.empty()) continue;
            if (!text.empty()) text += "    ";
            text += std::string(label) + ": " + value;
        }
        return text;
    };
    std::vector<std::string> lines{
        line({{"Publisher", TSTListView::kPublisherColumn}, {"Version", TSTListView::kVersionColumn}}),
        line({{"Installed", TSTListView::kInstalledColumn},
              {"Size", TSTListView::kSizeColumn},
              {"Source", TSTListView::kSourceColumn}})};
    if (lines[0].empty() && lines[1].empty()) lines.clear();  // nothing to show: no room taken
    return lines;
}

void EntryCatalogue::ProgramsColumnClick()
{
    static constexpr MenuItem kViewMenu[] = {MenuItem::NameMM, MenuItem::CommandLineMM, MenuItem::SubkeyMM};
    static constexpr MenuItem kPopupMenu[] = {MenuItem::NamePM, MenuItem::CommandLinePM, MenuItem::SubkeyPM};
    CommandView& commands = views_.commands;
    const int column = Programs.SortColumnIndex();
    // Sorted by a column without a menu item, none is checked.
    if (column >= 0 && column < Programs.ColumnCount()) {
        for (int i = 0; i < TSTListView::kColumnCount; ++i) {
            commands.CheckMenuItem(kViewMenu[i], i == column);
            commands.CheckMenuItem(kPopupMenu[i], i == column);
        }
    }
    commands.CheckMenuItem(MenuItem::ReversedorderMM, !Programs.Ascending());
    commands.CheckMenuItem(MenuItem::ReversedorderPM, !Programs.Ascending());
}

void EntryCatalogue::ResortPrograms()
{
    // The opposite direction makes the click re-sort as it stands.
    Programs.SortByColumn(Programs.SortColumnIndex(), !Programs.Ascending(), views_.programs.FocusedProgram());
}

}  // namespace quillet
