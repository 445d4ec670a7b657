#include "app/MainFrm.h"

#include <algorithm>

#include "common/Error.h"
#include "common/Text.h"

namespace quillet {

std::string SettingsFileName(const std::string& exePath, const Locale& locale)
{
    return AsciiLowerPath(ChangeFileExt(exePath, ".ini", locale), locale);
}

TMain::TMain(MainView& view, Registry& registry, FileSystem& files, const Locale& locale)
    : view_(view), registry_(registry), locale_(locale), checker_(files, locale)
{
}

std::string TMain::ErrorText(const std::exception& e) { return ErrorBoxText(e.what()); }

void TMain::FormCreate(const std::string& exePath)
{
    Hidden = false;
    settingsFile_ = SettingsFileName(exePath, locale_);
    Guard([&] { LoadPrograms(); });
}

bool TMain::OpenRegKey(RootKey root, const std::string& path)
{
    registry_.SetRootKey(root);
    return registry_.OpenKey(path, true);
}

void TMain::CheckProgram(EntryRow& row) const
{
    row.image = checker_.IsValidCommand(row.command) ? kImageGood : kImageBad;
}

void TMain::ReadEntries()
{
    const std::string uninstallKey = kUninstallKey;
    OpenRegKey(RootKey::LocalMachine, uninstallKey);
    const std::vector<std::string> names = registry_.GetKeyNames();
    programs_.reserve(names.size());
    for (const std::string& name : names) {
        if (!OpenRegKey(RootKey::LocalMachine, uninstallKey + name)) continue;
        EntryRow row;
        row.caption = registry_.ReadString("DisplayName");
        row.command = registry_.ReadString("UninstallString");
        if (row.caption.empty() || row.command.empty()) continue;
        row.subkey = name;
        CheckProgram(row);
        programs_.push_back(std::move(row));
    }
}

void TMain::LoadPrograms()
{
    int position = 0;
    if (!programs_.empty()) position = std::max(view_.FocusedProgram(), 0);

    programs_.clear();
    checker_.BeginBatch();
    try {
        ReadEntries();
    } catch (...) {
        checker_.EndBatch();
        // The rows read before the failure stay listed.
        view_.ProgramsReplaced(programs_.size());
        throw;
    }
    checker_.EndBatch();
    view_.ProgramsReplaced(programs_.size());

    if (!programs_.empty()) {
        position = std::min(position, static_cast<int>(programs_.size()) - 1);
        view_.FocusProgram(position);
    }
    view_.ActivatePrograms();
    UpdateButtons();
}

const EntryRow* TMain::FocusedRow() const
{
    const int focused = view_.FocusedProgram();
    if (focused < 0 || focused >= static_cast<int>(programs_.size())) return nullptr;
    return &programs_[focused];
}

void TMain::UpdateButtons()
{
    const bool hasRow = FocusedRow() != nullptr;
    view_.EnableButton(Button::AddRemove, hasRow && !Running);
    view_.EnableButton(Button::Delete, hasRow);
    view_.EnableButton(Button::Properties, hasRow);
    UpdateStatusBar();
    ProgramsClick();
}

void TMain::UpdateStatusBar()
{
    BadCount = static_cast<int32_t>(
        std::count_if(programs_.begin(), programs_.end(), [](const EntryRow& r) { return r.image == kImageBad; }));
    view_.EnableButton(Button::DeleteBad, BadCount != 0);
    view_.EnableMenuItem(MenuItem::DeleteBadMM, view_.ButtonEnabled(Button::DeleteBad));
    view_.SetStatusPanel(1, "Shortcuts / Bad shortcuts: " + std::to_string(programs_.size()) + " / " +
                                std::to_string(BadCount));
}

void TMain::ProgramsClick()
{
    const EntryRow* row = FocusedRow();
    if (!row) return;
    const bool isRunningEntry = Running && row->caption == RunningName && row->command == RunningCommand;
    view_.EnableButton(Button::Delete, !isRunningEntry);
    view_.EnableButton(Button::Properties, !isRunningEntry);
}

}  // namespace quillet
