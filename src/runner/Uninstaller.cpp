#include "runner/Uninstaller.h"

#include "catalogue/FileSystem.h"
#include "common/Locale.h"
#include "runner/UninstallJob.h"

namespace quillet {

namespace {

std::string Quoted(const std::string& caption) { return "\"" + caption + "\""; }

}  // namespace

std::vector<QueuedEntry> Uninstaller::Selection() const
{
    std::vector<QueuedEntry> entries;
    for (const int index : catalogue_.SelectedRows()) {
        const EntryRow& row = catalogue_.Rows()[static_cast<size_t>(index)];
        entries.push_back({row.Key(), row.caption, row.command});
    }
    return entries;
}

CommandValues Uninstaller::ReadCommands(const EntryKey& entry)
{
    // Gone: no command. A key that cannot be read is as good as gone.
    if (!catalogue_.OpenEntryKey(entry)) return CommandValues{};
    try {
        return ReadCommandValues(registry_.ReadContents(), entry.subkey);
    } catch (const std::exception&) {
        return CommandValues{};
    }
}

void Uninstaller::uninstallClick()
{
    if (Running) return;
    std::vector<QueuedEntry> entries = Selection();
    if (entries.size() > 1) return Enqueue(std::move(entries), false, Kind::Remove);
    UninstallFocused();
}

bool Uninstaller::RefusedAsOtherUsers(const EntryRow& row)
{
    // Started as us, another user's uninstaller would work on our profile.
    if (!row.Key().OtherUsers()) return false;
    views_.boxes.ShowErrorBox("\"" + row.caption + "\" belongs to " + row.user +
                              ". Its uninstaller can only be started by that user, signed in.");
    return true;
}

bool Uninstaller::ConfirmedDespiteNoRemove(const QueuedEntry& entry)
{
    if (!views_.boxes.Confirm(Quoted(entry.caption) + " says it should not be removed. Start its uninstaller anyway?"))
        return false;
    // The list may have changed while the box was open.
    const EntryRow* row = catalogue_.FocusedRow();
    return row && row->Key() == entry.key && !Running;
}

void Uninstaller::UninstallFocused()
{
    const EntryRow* row = catalogue_.FocusedRow();
    if (!row || Running || RefusedAsOtherUsers(*row)) return;
    const QueuedEntry entry{row->Key(), row->caption, row->command};
    if (row->details.noRemove && !ConfirmedDespiteNoRemove(entry)) return;
    queue_.Start({entry}, false);
    kind_ = Kind::Remove;
    StartNext();
}

void Uninstaller::RemoveQuietlyClick()
{
    if (Running) return;
    std::vector<QueuedEntry> entries = Selection();
    if (entries.size() > 1) return Enqueue(std::move(entries), true, Kind::Remove);
    const EntryRow* row = catalogue_.FocusedRow();
    if (!row || RefusedAsOtherUsers(*row)) return;
    const QueuedEntry entry{row->Key(), row->caption, row->command};
    const bool noRemove = row->details.noRemove;
    const bool quiet = !QuietCommand(ReadCommands(entry.key)).empty();
    if (!views_.boxes.Confirm(quiet ? "Remove " + Quoted(entry.caption) + " quietly, without its uninstaller's questions?"
                                    : Quoted(entry.caption) + " has no quiet uninstaller. Run its ordinary one?"))
        return;
    if (Running) return;  // one started while the box was open
    // Asked as Add/Remove asks it.
    if (noRemove && !ConfirmedDespiteNoRemove(entry)) return;
    queue_.Start({entry}, true);
    kind_ = Kind::Remove;
    StartNext();
}

void Uninstaller::Enqueue(std::vector<QueuedEntry> chosen, bool quietly, Kind kind)
{
    // Other users' entries are refused as for one row: only they can run them.
    std::vector<QueuedEntry> entries;
    for (QueuedEntry& entry : chosen)
        if (!entry.key.OtherUsers()) entries.push_back(std::move(entry));
    const size_t refused = chosen.size() - entries.size();
    if (entries.empty()) {
        views_.boxes.ShowErrorBox("These entries belong to other users. Their uninstallers can only be started by "
                                  "those users, signed in.");
        return;
    }
    size_t loud = 0, kept = 0;
    for (const QueuedEntry& entry : entries) {
        if (QuietCommand(ReadCommands(entry.key)).empty()) ++loud;
        const int index = catalogue_.IndexOf(entry.key);
        const EntryRow* row = catalogue_.DetailedRow(index);
        if (row && row->details.noRemove) ++kept;
    }
    std::string text = "Uninstall " + std::to_string(entries.size()) + " programs, one after another?";
    if (loud) text += "\n\n" + std::to_string(loud) + " of them cannot be removed quietly and will ask as usual.";
    if (kept) text += "\n\n" + std::to_string(kept) + " of them say they should not be removed.";
    if (refused)
        text += "\n\n" + std::to_string(refused) + " belonging to other users are left out: only they can run them.";
    if (!views_.queueBoxes.ConfirmQueue(text, quietly) || Running) return;
    queue_.Start(std::move(entries), quietly);
    kind_ = kind;
    StartNext();
}

std::string Uninstaller::OtherCommand(Kind kind)
{
    const EntryRow* row = catalogue_.FocusedRow();
    // Only its user may change another user's program.
    if (!row || row->Key().OtherUsers()) return std::string();
    const CommandValues details = ReadCommands(row->Key());
    return kind == Kind::Modify ? ModifyCommand(details) : RepairCommand(details);
}

void Uninstaller::RunOther(Kind kind)
{
    if (Running) return;
    const EntryRow* row = catalogue_.FocusedRow();
    if (!row || RefusedAsOtherUsers(*row)) return;
    queue_.Start({{row->Key(), row->caption, row->command}}, false);
    kind_ = kind;
    StartNext();
}

void Uninstaller::StopClick()
{
    if (!CanStop()) return;
    queue_.Stop();
    catalogue_.SayStatus("The queue stops after " + Quoted(RunningName) + "; its uninstaller runs on.");
}

void Uninstaller::StartNext()
{
    while (const QueuedEntry* entry = queue_.Next()) {
        // Its turn: the entry must still be the one the user picked.
        const int index = catalogue_.IndexOf(entry->key);
        const EntryRow* row = index < 0 ? nullptr : &catalogue_.Rows()[static_cast<size_t>(index)];
        if (!row || row->caption != entry->caption || row->command != entry->command) {
            log_.AddLog("Application " + Quoted(entry->caption) + " was skipped: its entry is gone or changed.", "",
                        kLogError);
            continue;
        }
        if (StartJob(*entry)) return;
    }
    const std::string summary = queue_.Summary();
    queue_.Clear();
    if (!summary.empty()) log_.AddLog(summary, "", kLogInformation);
    catalogue_.UpdateButtons();
}

bool Uninstaller::StartJob(const QueuedEntry& entry)
{
    RunningName = entry.caption;
    RunningView = entry.key.view;
    RunningHive = entry.key.hive;
    RunningSid = entry.key.sid;
    // The commands as they stand in the registry now, not the row's copy.
    const CommandValues details = ReadCommands(entry.key);
    RunningCommand = details.uninstall;
    location_ = details.installLocation;
    StartedCommand = details.uninstall;
    if (kind_ == Kind::Modify) StartedCommand = ModifyCommand(details);
    if (kind_ == Kind::Repair) StartedCommand = RepairCommand(details);
    const std::string quiet = QuietCommand(details);
    if (kind_ == Kind::Remove && queue_.Quietly() && !quiet.empty()) StartedCommand = quiet;

    const auto status = [&](size_t units) {
        if (kind_ == Kind::Remove) return queue_.StatusText(RunningName, units);
        return FittedName(kind_ == Kind::Modify ? "Modifying \"" : "Repairing \"", RunningName, "\"", units);
    };
    views_.strip.SetStatusText(status(std::string::npos));
    // The tip holds little: the name gives way, the count stays.
    views_.tray.SetHint(status(TrayIcon::kTipUnits));
    views_.tray.SetAnimated(true);
    views_.tray.EnableUninstall(false);
    views_.strip.SetLed(true);
    Running = true;
    const std::string program = catalogue_.ProgramFile(StartedCommand);
    const bool started = runner_.Execute(program, StartedCommand);
    drive_ = JobDrive(location_, program);
    FreeBefore = drive_ ? files_.FreeSpace(drive_) : -1;
    if (started) {
        catalogue_.UpdateButtons();
        return true;
    }
    // Nothing ran, so nothing was removed: the failure is the whole record.
    if (kind_ == Kind::Remove) catalogue_.MarkBad(catalogue_.IndexOf(entry.key));
    const std::string what = kind_ == Kind::Remove ? "Uninstall" : kind_ == Kind::Modify ? "Modify" : "Repair";
    log_.AddLog(what + " program for " + Quoted(RunningName) + " application not found!", "", kLogError);
    ShowIdle();
    try {
        catalogue_.LoadPrograms();
    } catch (...) {
        EndJob();
        queue_.Clear();
        catalogue_.UpdateButtons();
        throw;
    }
    EndJob();
    return false;
}

void Uninstaller::ShowIdle()
{
    views_.strip.SetStatusText(kReady);
    views_.tray.SetHint(IdleHint);
    views_.tray.SetAnimated(false);
    views_.tray.EnableUninstall(true);
    views_.strip.SetLed(false);
}

void Uninstaller::EndJob()
{
    RunningName.clear();
    RunningCommand.clear();
    StartedCommand.clear();
    RunningView = RegistryView::Native;
    RunningHive = EntryHive::Machine;
    RunningSid.clear();
    Running = false;
}

void Uninstaller::Judge()
{
    const std::string exitCode = "Exit code: " + std::to_string(runner_.ExitCode());
    if (kind_ != Kind::Remove) {
        log_.AddLog((kind_ == Kind::Modify ? "Modify of " : "Repair of ") + Quoted(RunningName) +
                        " ran: " + StartedCommand,
                    exitCode, kLogInformation);
        return;
    }
    bool gone = true;
    for (const EntryRow& row : catalogue_.Rows())
        if (IsRunning(row)) gone = false;
    if (!gone) {
        log_.AddLog("Application " + Quoted(RunningName) + " was not uninstalled.", exitCode, kLogError);
        return;
    }
    queue_.Removed();
    const int64_t freeAfter = drive_ ? files_.FreeSpace(drive_) : -1;
    std::string comment = FreeSpaceComment(FreeBefore, freeAfter, locale_.DecimalSeparator());
    const std::string left = LeftoverComment(location_, files_, locale_.DecimalSeparator());
    if (!left.empty()) comment += "; " + left;
    log_.AddLog("Application " + Quoted(RunningName) + " successfuly uninstalled.", comment, kLogInformation);
}

void Uninstaller::RunnerTerminated()
{
    ShowIdle();
    try {
        catalogue_.LoadPrograms();
        Judge();
    } catch (...) {
        // A reload that fails still ends the job, or it would never end; the rest of a queue waits for the user.
        EndJob();
        queue_.Clear();
        catalogue_.UpdateButtons();
        throw;
    }
    EndJob();
    StartNext();
}

bool Uninstaller::FormCloseQuery()
{
    return !Running || views_.boxes.Confirm("Uninstallation in progress! Exit anyway?");
}

}  // namespace quillet
