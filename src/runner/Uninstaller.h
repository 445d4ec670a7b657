#pragma once
#include <cstdint>
#include <string>

#include "catalogue/Catalogue.h"
#include "common/MessageBoxes.h"
#include "common/TrayIcon.h"
#include "log/LogCommands.h"
#include "runner/AppRunner.h"
#include "runner/JobView.h"

namespace quillet {

// The uninstall job: one entry's uninstaller at a time, its progress on
// screen and in the tray, and its outcome in the log.
class Uninstaller : public RunningEntry {
public:
    struct Views {
        JobView& strip;
        TrayIcon& tray;
        MessageBoxes& boxes;
    };
    Uninstaller(EntryCatalogue& catalogue, LogCommands& log, Registry& registry, AppRunner& runner,
                FileSystem& files, const Locale& locale, const Views& views)
        : catalogue_(catalogue), log_(log), registry_(registry), runner_(runner), files_(files), locale_(locale),
          views_(views)
    {
    }

    // Runs the focused entry's uninstaller.
    void uninstallClick();
    // The uninstaller ended (or never started): reload and log what went.
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
    std::string RunningCommand;
    // The view the entry was read in: its twin in the other view is another entry.
    RegistryView RunningView = RegistryView::Native;
    EntryHive RunningHive = EntryHive::Machine;
    std::string RunningSid;
    bool Running = false;
    int64_t FreeBefore = 0;
    // The tray's tip while no job runs.
    std::string IdleHint;

private:
    int64_t MeasureFreeSpace() const;

    EntryCatalogue& catalogue_;
    LogCommands& log_;
    Registry& registry_;
    AppRunner& runner_;
    FileSystem& files_;
    const Locale& locale_;
    Views views_;
};

}  // namespace quillet
