#include "catalogue/Catalogue.h"

#include <algorithm>

namespace quillet {

EntryCatalogue::EntryCatalogue(Registry& registry, FileSystem& files, const Locale& locale, const Views& views,
                               const RunningEntry& job, bool windows64)
    : registry_(registry), windows64_(windows64), views_(views), job_(job), checker_(files, locale), Programs(rows_, locale, views.programs)
{
    Programs.OnColumnClick = [this] { ProgramsColumnClick(); };
    // Only where two views are listed do the rows need telling apart.
    Programs.SetPlatformColumn(windows64);
}

bool EntryCatalogue::OpenRegKey(RootKey root, const std::string& path, bool create, RegistryView view)
{
    registry_.SetRootKey(root);
    if (view != RegistryView::Native) registry_.SetView(view);
    return registry_.OpenKey(path, create);
}

bool EntryCatalogue::OpenEntryKey(const EntryKey& entry, bool create)
{
    return OpenRegKey(RootKey::LocalMachine, kUninstallKey + entry.subkey, create, entry.view);
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

void EntryCatalogue::ReadEntries(RegistryView view)
{
    const std::string uninstallKey = kUninstallKey;
    OpenRegKey(RootKey::LocalMachine, uninstallKey, false, view);
    const std::vector<std::string> names = registry_.GetKeyNames();
    rows_.reserve(rows_.size() + names.size());
    for (const std::string& name : names) {
        if (!OpenRegKey(RootKey::LocalMachine, uninstallKey + name, false, view)) continue;
        EntryRow row;
        row.caption = registry_.ReadString("DisplayName");
        row.command = registry_.ReadString("UninstallString");
        if (row.caption.empty() || row.command.empty()) continue;
        row.subkey = name;
        row.view = view;
        CheckProgram(row);
        rows_.push_back(std::move(row));
    }
}

void EntryCatalogue::LoadPrograms() { Load(EntryKey{}, true); }

void EntryCatalogue::Load(const EntryKey& keep, bool activate)
{
    if (BeforeLoad) BeforeLoad();
    ProgramsView& view = views_.programs;
    int position = 0;
    if (!rows_.empty()) position = std::max(view.FocusedProgram(), 0);
    const int scroll = view.ScrollPosition();

    rows_.clear();
    Programs.ForgetKeys();
    checker_.BeginBatch();
    try {
        for (const RegistryView listed : ListedViews()) ReadEntries(listed);
    } catch (...) {
        checker_.EndBatch();
        // The rows read before the failure stay listed.
        view.ProgramsReplaced(rows_.size());
        throw;
    }
    checker_.EndBatch();
    view.ProgramsReplaced(rows_.size());
    // Every column's keys now, so that no later sort compares texts.
    Programs.MakeKeys();

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
}

const EntryRow* EntryCatalogue::FocusedRow() const
{
    const int focused = views_.programs.FocusedProgram();
    if (focused < 0 || focused >= static_cast<int>(rows_.size())) return nullptr;
    return &rows_[focused];
}

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
    rows_.push_back(std::move(row));
    views_.programs.ProgramAdded(rows_.size());
    return static_cast<int>(rows_.size()) - 1;
}

void EntryCatalogue::RemoveRow(int index)
{
    rows_.erase(rows_.begin() + index);
    views_.programs.ProgramRemoved(index, rows_.size());
}

void EntryCatalogue::ChangeRow(int index, const std::string& caption, const std::string& command)
{
    EntryRow& row = rows_.at(static_cast<size_t>(index));
    row.caption = caption;
    row.command = command;
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

void EntryCatalogue::ProgramsColumnClick()
{
    static constexpr MenuItem kViewMenu[] = {MenuItem::NameMM, MenuItem::CommandLineMM, MenuItem::SubkeyMM};
    static constexpr MenuItem kPopupMenu[] = {MenuItem::NamePM, MenuItem::CommandLinePM, MenuItem::SubkeyPM};
    CommandView& commands = views_.commands;
    const int column = Programs.SortColumnIndex();
    // Sorted by Platform, which has no menu item, none is checked.
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
