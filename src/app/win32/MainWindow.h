// The main window: the frame that owns the panes, routes their messages into TMain and carries out its view updates.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "app/MainFrm.h"
#include "app/MainView.h"
#include "app/win32/AboutForm.h"
#include "app/win32/ApplicationWindow.h"
#include "app/win32/LogList.h"
#include "app/win32/MainLayout.h"
#include "app/win32/MainMenus.h"
#include "app/win32/ProgramList.h"
#include "app/win32/ToolBar.h"
#include "app/win32/TrayIcon.h"
#include "app/win32/TrayMenu.h"
#include "app/win32/Win32Dialogs.h"
#include "app/win32/Win32Profile.h"
#include "common/win32/Window.h"
#include "catalogue/win32/RegistryWatcher.h"
#include "catalogue/win32/Win32FileSystem.h"
#include "catalogue/win32/Win32Registry.h"
#include "catalogue/win32/Win32UserAccounts.h"
#include "common/win32/Handles.h"
#include "common/win32/Win32Locale.h"
#include "runner/win32/AHMLed.h"
#include "runner/win32/AppRunner.h"
#include "editing/win32/Win32FileWriter.h"

namespace quillet::win32 {

// The main window on screen: creates the panes, routes their messages into
// TMain and carries out TMain's view updates through them.
class MainWindow : public Window<MainWindow>, private MainView {
public:
    static constexpr const char* kClassName = "TMain";

    MainWindow();
    ~MainWindow() override;

    // Creates the window and runs the start-up sequence; shows it afterwards.
    bool Create(int showCommand);
    HACCEL Accelerators() const { return accelerators_; }
    // The message queue became empty: the hint follows the control under the pointer.
    void OnIdle();
    // Idle work that comes in steps; true while some is left.
    bool IdleStep() { return core_.ReadDetailsWhileIdle(); }

private:
    friend class Window<MainWindow>;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void OnCreate();
    void CreateChildren();
    void ConnectPanes();
    void OnCommand(int id);
    // An editing command: only a change it made itself is no news to the list.
    template <typename Command>
    void EditingCommand(Command&& command)
    {
        const size_t writes = core_.Editing().History.Writes();
        core_.Guard(command);
        if (core_.Editing().History.Writes() != writes) core_.Live().OwnChangesMade();
    }
    LRESULT OnNotify(NMHDR* header);
    void OnInitMenuPopup(HMENU menu);
    void OnMenuSelect(UINT item, UINT flags, HMENU menu);
    // WM_ACTIVATE: the keyboard back to the pane that had it; true when handled.
    bool OnActivate(WPARAM state);
    // A shortcut of a File or Edit menu item acts only while the item is enabled.
    bool ShortcutAllowed(int id);
    void AboutMMClick();
    void OnContextMenu(HWND control, LPARAM position);
    void OnActivationMessage();
    // After a job: the foreground back to this window when no window has it.
    void TakeKeyboardBack();
    // A command-line run's log records (MainWindowRecords.cpp).
    LRESULT OnCopyData(const COPYDATASTRUCT* data);
    // The list follows the Uninstall key: its watcher and the settle timer.
    void StartFollowingRegistry();
    // Watches these keys unless they are watched already; after a load, a
    // new watch has one more load read what changed before it began.
    void FollowKeys(std::vector<WatchedKey> keys, bool afterLoad);

    // MainView
    void ProgramsReplaced(size_t count) override;
    int FocusedProgram() const override;
    std::vector<int> SelectedPrograms() const override { return programs_.Selected(); }
    void FocusProgram(int index) override;
    void ProgramAdded(size_t count) override;
    void ProgramRemoved(int index, size_t count) override;
    void ProgramChanged(int index) override;
    void ActivatePrograms() override;
    int ScrollPosition() const override { return programs_.ScrollPosition(); }
    void RestoreScroll(int position) override { programs_.RestoreScroll(position); }
    void UpdateHeaderImages(int sortColumn, bool ascending) override;
    void RowsReordered(int focused) override;
    void LogInserted(bool dropped) override;
    void BeginBulkChange() override;
    void EndBulkChange() override;
    void LogCleared() override;
    void LogRowChanged(size_t row) override;
    int FocusedLogRow() const override;
    void EnableButton(Button button, bool enabled) override;
    bool ButtonEnabled(Button button) const override;
    void EnableMenuItem(MenuItem item, bool enabled) override;
    bool MenuItemEnabled(MenuItem item) const override;
    void CheckMenuItem(MenuItem item, bool checked) override;
    bool MenuItemChecked(MenuItem item) const override;
    void SetMenuItemText(MenuItem item, const std::string& text) override;
    void ShowPane(Pane pane, bool visible) override;
    void SetTextLabels(bool on) override;
    void SetViewStyle(ViewStyle style) override;
    void SetStatusPanel(int panel, const std::string& text) override;
    void SetStatusText(const std::string& text) override;
    void SetLed(bool on) override;
    bool LogActive() const override;
    void FocusLogRow(int index) override;
    bool ActivateLog() override;
    int GetSize(Size size) const override;
    void SetSize(Size size, int pixels) override;
    void ShowApplication(bool shown) override;
    void BringToFront() override;
    WindowPlacement GetPlacement() const override;
    void SetPlacement(const WindowPlacement& placement) override;
    bool WindowVisible() const override;
    bool AppMinimised() const override;
    ScreenInfo Screen() const override;

    // The notification-area icon and its menu.
    void CreateTray();
    HMENU BuildTrayMenu();
    void OnTrayCommand(int id);
    void OnTrayMenuSelect(UINT item, UINT flags, HMENU menu);
    void OnClose();
    // The settings and the log to the file, as a close writes them; false
    // when a write was refused (shown unless `quiet`).
    bool WriteSettings(bool quiet);

    Win32Registry registry_;
    Win32UserAccounts accounts_;
    Win32FileSystem files_;
    Win32Locale locale_;
    Win32Clock clock_;
    Win32Dialogs dialogs_;
    TAppRunner runner_;
    Win32FileWriter backupFile_;
    Win32Profile profile_;
    TRxTrayIcon tray_;
    Win32Registry registration_;  // the registration record's own accessor
    Win32Registry listRegistry_;  // the list's own, for the details read after a load
    TMain core_;
    RegistryWatcher watcher_;
    std::vector<WatchedKey> watched_;

    UINT activationMessage_ = 0;
    UINT taskbarCreated_ = 0;  // the shell's broadcast after Explorer (re)starts
    HACCEL accelerators_ = nullptr;
    GdiObject font_;
    MainMenus menus_;
    ToolBar toolBar_;
    ProgramList programs_;
    LogList log_;
    MainLayout layout_;
    TrayMenu trayMenu_;
    std::unique_ptr<TAboutForm> about_;
    // What gave the hint under the pointer last: a window and a button command.
    HWND hintWindow_ = nullptr;
    int hintCommand_ = -1;
    bool hintStarted_ = false;  // the first idle has seen where the pointer rests
    HWND statusText_ = nullptr;
    HWND statusBar_ = nullptr;
    HWND activeControl_ = nullptr;
    int keyboardChecks_ = 0;  // left after a job's end, while another program has the keyboard
    TAHMLed led_;
    ApplicationWindow application_;  // owns this window; carries the taskbar button
};

}  // namespace quillet::win32
