#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "common/MessageBoxes.h"
#include "common/TrayIcon.h"
#include "log/LogCommands.h"
#include "runner/AppRunner.h"
#include "runner/EntryCommands.h"
#include "runner/JobView.h"
#include "runner/QueueDialogs.h"
#include "runner/UninstallQueue.h"

namespace quillet {

// The uninstall job: one entry's uninstaller at a time (a queue of them for
// several rows), its progress on screen and in the tray, its outcome in the log.
class Uninstaller : public RunningEntry {
public:
    struct Views {
        JobView& strip;
        TrayIcon& tray;
        MessageBoxes& boxes;
        QueueDialogs& queueBoxes;
    };
    Uninstaller(EntryCatalogue& catalogue, LogCommands& log, Registry& registry, AppRunner& runner,
                FileSystem& files, const Locale& locale, const Views& views)
        : catalogue_(catalogue), log_(log), registry_(registry), runner_(runner), files_(files), locale_(locale),
          views_(views)
    {
    }

    // Add/Remove: the focused entry's uninstaller; for a selection of several
    // rows, after a question, each selected entry's in turn.
    void uninstallClick();
    // The focused entry's alone, whatever else is selected (the tray's items).
    void UninstallFocused();
    // Edit > Remove quietly: the same with the quiet commands, after a question.
    void RemoveQuietlyClick();
    // Edit > Modify, Repair: the focused entry's own command for it.
    void ModifyClick() { RunOther(Kind::Modify); }
    void RepairClick() { RunOther(Kind::Repair); }
    bool CanModify() { return !Running && !OtherCommand(Kind::Modify).empty(); }
    bool CanRepair() { return !Running && !OtherCommand(Kind::Repair).empty(); }
    // Edit > Stop after this one, Esc on the strip: the rest are not started.
    void StopClick();
    bool CanStop() const { return Running && queue_.Size() > 1 && !queue_.Stopping(); }
    // The uninstaller ended: reload, log what went, start the next.
    void RunnerTerminated();
    // The close query: false keeps the window open.
    bool FormCloseQuery();

    bool Busy() const override { return Running; }
    bool IsRunning(const EntryRow& row) const override
    {
        return Running && row.caption == RunningName && row.command == RunningCommand && row.view == RunningView &&
               row.hive == RunningHive && row.sid == RunningSid;
    }

    std::string RunningName;
    // The entry's UninstallString when it started (what tells it is still there).
    std::string RunningCommand;
    // What was started: that, its quiet form, or Modify's or Repair's command.
    std::string StartedCommand;
    // The view the entry was read in: its twin in the other view is another entry.
    RegistryView RunningView = RegistryView::Native;
    EntryHive RunningHive = EntryHive::Machine;
    std::string RunningSid;
    bool Running = false;
    int64_t FreeBefore = 0;
    // The tray's tip while no job runs.
    std::string IdleHint;
    const UninstallQueue& Queue() const { return queue_; }

private:
    enum class Kind { Remove, Modify, Repair };
    void Enqueue(std::vector<QueuedEntry> entries, bool quietly, Kind kind);
    std::vector<QueuedEntry> Selection() const;
    CommandValues ReadCommands(const EntryKey& entry);
    std::string OtherCommand(Kind kind);
    // Another user's entry: an error box, and true.
    bool RefusedAsOtherUsers(const EntryRow& row);
    // The NoRemove question: true when the user still wants it and the
    // focused row is still the entry (the list may reload meanwhile).
    bool ConfirmedDespiteNoRemove(const QueuedEntry& entry);
    void RunOther(Kind kind);
    void StartNext();
    bool StartJob(const QueuedEntry& entry);
    void Judge();
    void ShowIdle();
    void EndJob();

    EntryCatalogue& catalogue_;
    LogCommands& log_;
    Registry& registry_;
    AppRunner& runner_;
    FileSystem& files_;
    const Locale& locale_;
    Views views_;
    UninstallQueue queue_;
    Kind kind_ = Kind::Remove;
    char drive_ = 0;
    std::string location_;  // InstallLocation, read before the start
};

}  // namespace quillet
