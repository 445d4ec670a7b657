#include "runner/Uninstaller.h"

#include "catalogue/FileSystem.h"
#include "common/Locale.h"
#include "runner/UninstallJob.h"

namespace quillet {

int64_t Uninstaller::MeasureFreeSpace() const
{
    const char drive = CommandDrive(RunningCommand);
    return drive ? files_.FreeSpace(drive) : -1;
}

void Uninstaller::uninstallClick()
{
    const EntryRow* row = catalogue_.FocusedRow();
    if (!row || Running) return;
    const EntryKey entry = row->Key();
    // Started as us, another user's uninstaller would work on our profile.
    if (entry.OtherUsers()) {
        views_.boxes.ShowErrorBox("\"" + row->caption + "\" belongs to " + row->user +
                                  ". Its uninstaller can only be started by that user, signed in.");
        return;
    }
    if (row->details.noRemove) {
        const std::string caption = row->caption;
        if (!views_.boxes.Confirm("\"" + caption + "\" says it should not be removed. Start its uninstaller anyway?"))
            return;
        // The list may have changed while the box was open.
        row = catalogue_.FocusedRow();
        if (!row || row->Key() != entry || Running) return;
    }
    RunningName = row->caption;
    RunningView = entry.view;
    RunningHive = entry.hive;
    RunningSid = entry.sid;
    // The command as it stands in the registry now, not the row's copy.
    const bool open = catalogue_.OpenEntryKey(entry);  // gone: no command
    RunningCommand = open ? registry_.ReadString("UninstallString") : std::string();
    views_.strip.SetStatusText("Adding or removing \"" + RunningName + "\"");
    views_.tray.SetHint("Adding or removing \"" + RunningName + "\"");
    views_.tray.SetAnimated(true);
    views_.tray.EnableUninstall(false);
    views_.strip.SetLed(true);
    Running = true;
    const bool started = runner_.Execute(catalogue_.ProgramFile(RunningCommand), RunningCommand);
    FreeBefore = MeasureFreeSpace();
    if (!started) {
        catalogue_.MarkBad(catalogue_.IndexOf(entry));
        log_.AddLog("Uninstall program for \"" + RunningName + "\" application not found!", "", kLogError);
        RunnerTerminated();
    }
    catalogue_.UpdateButtons();
}

void Uninstaller::RunnerTerminated()
{
    views_.strip.SetStatusText(kReady);
    views_.tray.SetHint(IdleHint);
    views_.tray.SetAnimated(false);
    views_.tray.EnableUninstall(true);
    views_.strip.SetLed(false);
    const auto endJob = [this] {
        RunningName.clear();
        RunningCommand.clear();
        RunningView = RegistryView::Native;
        RunningHive = EntryHive::Machine;
        RunningSid.clear();
        Running = false;
    };
    try {
        catalogue_.LoadPrograms();
        bool gone = true;
        for (const EntryRow& row : catalogue_.Rows())
            if (IsRunning(row)) gone = false;
        if (gone) {
            const int64_t freeAfter = MeasureFreeSpace();
            log_.AddLog("Application \"" + RunningName + "\" successfuly uninstalled.",
                        FreeSpaceComment(FreeBefore, freeAfter, locale_.DecimalSeparator()), kLogInformation);
        }
    } catch (...) {
        // A reload that fails still ends the job, or it would never end.
        endJob();
        catalogue_.UpdateButtons();
        throw;
    }
    endJob();
    catalogue_.UpdateButtons();
}

bool Uninstaller::FormCloseQuery()
{
    return !Running || views_.boxes.Confirm("Uninstallation in progress! Exit anyway?");
}

}  // namespace quillet
