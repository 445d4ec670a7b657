#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/Dialogs.h"
#include "app/MainView.h"
#include "app/Settings.h"
#include "app/Tray.h"
#include "catalogue/EntryRow.h"
#include "catalogue/Find.h"
#include "catalogue/Registry.h"
#include "catalogue/STFileExists.h"
#include "catalogue/STListView.h"
#include "common/Error.h"
#include "editing/PropFrm.h"
#include "editing/Backup.h"
#include "log/ActionsLog.h"
#include "runner/AppRunner.h"

namespace quillet {

class Clock;
class FileSystem;
class FileWriter;
class Locale;

inline constexpr const char* kApplicationTitle = "Quillet";
inline constexpr const char* kMainCaption = "Quillet 2.0";
inline constexpr const char* kVersionText = "2.0";
inline constexpr const char* kInstanceName = "quillet2.0";
inline constexpr const char* kUninstallKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
inline constexpr const char* kReady = "Ready...";

// Settings file beside the executable: same name, ".ini", ASCII lower case.
std::string SettingsFileName(const std::string& exePath, const Locale& locale);

// Everything outside the program that its behaviour reaches.
struct Ports {
    Registry& registry;
    FileSystem& files;
    const Locale& locale;
    Clock& clock;
    Dialogs& dialogs;
    AppRunner& runner;
    // The backup file; needed by Backup only.
    FileWriter* backupFile = nullptr;
    // The settings file and the notification-area icon; none: nothing stored, no icon.
    ProfileFile* profile = nullptr;
    TrayIcon* tray = nullptr;
    // A registry accessor of the registration record's own; none: not written.
    Registry* registration = nullptr;
};

// The main window's behaviour: its fields, the program list, the actions log
// and the commands that act on them. The window on screen is reached only
// through MainView.
class TMain {
public:
    TMain(MainView& view, const Ports& ports);

    // The start-up sequence's portable steps; errors are shown, not raised.
    void FormCreate(const std::string& exePath);

    // Settings file
    void LoadLog();
    void ReadSettings();
    // Writes the settings and the log; raises "Unable to write to FILE".
    void FormClose();

    // Notification-area icon
    void AppEventsMinimize();
    void AppEventsRestore();
    void TrayDblClick() { view_.BringToFront(); }
    // Fills TrayItems for the "Uninstall" submenu.
    void TrayMenuPopup();
    void TrayUninstallClick(const TrayItem& item);
    std::vector<TrayItem> TrayItems;
    // The program list's style: details at design, until a view handler sets one.
    ViewStyle ProgramsStyle = ViewStyle::Report;

    // Entry list
    void LoadPrograms();
    // Opens without creating, except where asked (only New creates a key).
    bool OpenRegKey(RootKey root, const std::string& path, bool create = false);
    void CheckProgram(EntryRow& row) const;
    void UpdateButtons();
    void UpdateStatusBar();
    void ProgramsClick();
    void ProgramsChange() { ProgramsClick(); }
    void RefreshClick() { LoadPrograms(); }

    // Sorting
    // The sort state before the first load: the column sorted ascending, then
    // the direction (as stored, or column 0 ascending).
    void ApplySortState(int column, bool ascending)
    {
        Programs.SortByColumn(column, true);
        Programs.SetAscending(ascending);
    }
    void ProgramsHeaderClick(int column) { Programs.HeaderClick(column, view_.FocusedProgram()); }
    void SubkeyMMClick(int tag) { Programs.SortByColumn(tag, Programs.Ascending(), view_.FocusedProgram()); }
    void ReversedorderMMClick()
    {
        Programs.SortByColumn(Programs.SortColumnIndex(), Programs.Ascending(), view_.FocusedProgram());
    }
    void ProgramsColumnClick();

    // Uninstall job
    void uninstallClick();
    void RunnerTerminated();
    // The close query: false keeps the window open.
    bool FormCloseQuery();

    // Actions log
    void AddLog(const std::string& message, const std::string& comment, int image);
    void ClearLogPMClick();
    void EditlogPMClick();
    void LogDblClick();
    void LogMenuPopup();
    // Opening of the list's popup menu and of the Edit menu.
    void BaseMenuPopup();

    // Editing entries
    void NewClick();
    void EditClick();
    // Deletes the row's subkey, records it and removes the row; a subkey that
    // stays raises the failure and keeps row and log as they were.
    void DeleteProgram(int index);
    void DeleteClick();
    void DeleteBadBtnClick();
    // Subkey name of a new entry: blanks and backslashes to underscores, then
    // "_0", "_1", ... while a subkey of that name exists under the open key.
    std::string NewSubkeyName(const std::string& displayName);

    // Views, menus and hints (Views.cpp). The check marks live in the menus:
    // read them with MenuItemChecked.
    void ToolBarMMClick();
    void LogMMClick();
    void StatusMMClick();
    void TextLabelsMMClick();
    void LargeIconsPMClick();
    void SmallIconsPMClick();
    void ListPMClick();
    void ReportPMClick();
    void ViewsBtnClick();
    void FileMMClick();
    bool MenuItemChecked(MenuItem item) const { return view_.MenuItemChecked(item); }
    // A shortcut of a File or Edit menu item runs that menu's opening handler,
    // then acts only when this says the item is enabled.
    bool ShortcutEnabled(MenuItem item);
    // The application's hint changed: its long part goes to panel 0.
    void AppEventsHint(const std::string& hint);
    void RegisterApp(const std::string& title, const std::string& version, const std::string& path);

    // Runs a handler at the message boundary: a failure ends the handler and
    // goes to the general error display.
    template <class Handler>
    void Guard(Handler&& handler)
    {
        try {
            handler();
        } catch (const std::exception& e) {
            ports_.dialogs.ShowFailure(ErrorBoxText(e.what()));
        }
    }

    // Backup
    void BackupMMClick();
    std::string BackupDateText();

    // Find
    void FindMMClick();
    void SelectByCaption(SearchIn list, const std::string& caption);

    const std::vector<EntryRow>& Rows() const { return rows_; }
    const EntryRow* FocusedRow() const;
    const ActionsLog& Log() const { return log_; }
    const std::string& SettingsFile() const { return settingsFile_; }

    // Fields of the main window, in their declared order.
    int32_t BadCount = 0;
    std::string RunningName;
    std::string RunningCommand;
    bool Running = false;
    std::string BackupDir;
    bool Hidden = false;
    int64_t FreeBefore = 0;

private:
    ProfileFile& Profile();
    TrayIcon& Tray();
    std::unique_ptr<quillet::SettingsFile> settings_;

    void ReadEntries();
    int64_t MeasureFreeSpace() const;

    MainView& view_;
    Ports ports_;
    CommandChecker checker_;
    std::vector<EntryRow> rows_;
    ActionsLog log_;
    std::string settingsFile_;

public:
    TSTListView Programs;  // the program list's sort state, over rows_
    // The properties dialog, filled by New and Properties before each use.
    TPropertiesForm PropertiesForm{ports_.files};
    SaveDialog SaveRegDlg = MakeSaveRegDlg();
    TFindForm FindForm;
    TFormStorage FormStorage{view_, Profile()};
    TSearchResultForm SearchResultForm;

private:
    void ResortPrograms();
    void TogglePane(MenuItem item, Pane pane);
    void SetViewStyle(ViewStyle style);
    int FindRowBySubkey(const std::string& subkey) const;
    std::string exeDir_;  // with its trailing backslash
};

}  // namespace quillet
