#pragma once
#include <exception>
#include <string>
#include <vector>

#include "app/Dialogs.h"
#include "app/LiveList.h"
#include "app/MainView.h"
#include "app/ModalDialogs.h"
#include "app/Settings.h"
#include "app/SettingsStore.h"
#include "app/Tray.h"
#include "app/TrayCommands.h"
#include "app/ViewMenus.h"
#include "catalogue/Catalogue.h"
#include "catalogue/FindCommand.h"
#include "common/Error.h"
#include "editing/BackupCommand.h"
#include "editing/EntryEditor.h"
#include "editing/ExportCommand.h"
#include "log/LogCommands.h"
#include "runner/AppRunner.h"
#include "runner/Uninstaller.h"

namespace quillet {

class Clock;
class FileSystem;
class FileWriter;
class Locale;

inline constexpr const char* kApplicationTitle = "Quillet";
inline constexpr const char* kMainCaption = "Quillet 2.0";
inline constexpr const char* kVersionText = "2.0";
inline constexpr const char* kInstanceName = "quillet2.0";

// Everything outside the program that its behaviour reaches.
struct Ports {
    Registry& registry;
    FileSystem& files;
    const Locale& locale;
    Clock& clock;
    Dialogs& dialogs;
    AppRunner& runner;
    // The backup file and the changes file; none: Backup cannot run and
    // changes go unrecorded (only tests and benchmarks leave it out).
    FileWriter* backupFile = nullptr;
    // The settings file and the notification-area icon; none: nothing stored, no icon.
    ProfileFile* profile = nullptr;
    TrayIcon* tray = nullptr;
    // A registry accessor of the registration record's own; none: not written.
    Registry* registration = nullptr;
    // 64-bit Windows: the uninstall entries live in two registry views.
    bool windows64 = false;
    // The names of the users whose hives are loaded; none: their entries are not listed.
    UserAccounts* accounts = nullptr;
    // A registry accessor of the list's own, for the entries' details read
    // after a load; none: each load reads them with the entries.
    Registry* listRegistry = nullptr;
};

// The main window's coordinator: owns the parts that hold the program's
// commands, wires them to each other and to the window, runs the start-up
// sequence and keeps failures at the message boundary.
class TMain {
public:
    TMain(MainView& view, const Ports& ports);
    TMain(const TMain&) = delete;
    TMain& operator=(const TMain&) = delete;

    // The start-up sequence's portable steps; errors are shown, not raised.
    void FormCreate(const std::string& exePath);
    void RegisterApp(const std::string& title, const std::string& version, const std::string& path);

    // Runs a handler at the message boundary: a failure ends the handler and
    // goes to the general error display.
    template <class Handler>
    void Guard(Handler&& handler)
    {
        logRead_ = false;
        try {
            handler();
        } catch (const std::exception& e) {
            modal_.ShowFailure(ErrorBoxText(e.what()));
        }
    }

    // The parts, each with its own commands.
    EntryCatalogue& Catalogue() { return catalogue_; }
    FindCommand& Find() { return find_; }
    Uninstaller& Job() { return job_; }
    EntryEditor& Editing() { return editing_; }
    BackupCommand& Backup() { return backup_; }
    ExportCommand& Export() { return export_; }
    LogCommands& Logging() { return logging_; }
    ViewMenus& Views() { return views_; }
    SettingsStore& Settings() { return settings_; }
    TrayCommands& Tray() { return tray_; }
    LiveList& Live() { return live_; }

    // A command-line run's log records (settings-file log lines, oldest
    // first, one a line): kept as this window's own, and the list reloaded.
    void RecordsArrived(const std::string& lines);

    // A box or dialog is open: the window still serves messages meanwhile.
    bool BoxOpen() const { return modal_.Open(); }

    // What the lists show.
    const std::vector<EntryRow>& Rows() const { return catalogue_.Rows(); }
    // Nothing else to do: some more rows get their details. False once all have them.
    bool ReadDetailsWhileIdle();
    const ActionsLog& Log() const { return logging_.Log(); }

private:
    ProfileFile& ProfilePort();
    TrayIcon& TrayPort();
    // The settings file's new log records, before this message's first record.
    void TakeFileRecords();

    Ports ports_;
    // The dialogs port as the parts see it: it knows when a box is open.
    ModalDialogs modal_;
    LogCommands logging_;
    // The job before the list: the list keeps the job as its RunningEntry.
    Uninstaller job_;
    EntryCatalogue catalogue_;
    EntryEditor editing_;
    BackupCommand backup_;
    ExportCommand export_;
    FindCommand find_;
    ViewMenus views_;
    SettingsStore settings_;
    TrayCommands tray_;
    LiveList live_;
    // The settings file's log was read for records of a command-line run
    // since this message began: once per message, not per record.
    bool logRead_ = false;
};

}  // namespace quillet
