#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "app/MainView.h"
#include "catalogue/EntryRow.h"
#include "catalogue/Registry.h"
#include "catalogue/STFileExists.h"

namespace quillet {

class FileSystem;
class Locale;

inline constexpr const char* kApplicationTitle = "Quillet";
inline constexpr const char* kMainCaption = "Quillet 2.0";
inline constexpr const char* kVersionText = "2.0";
inline constexpr const char* kInstanceName = "quillet2.0";
inline constexpr const char* kUninstallKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
inline constexpr const char* kReady = "Ready...";

// Settings file beside the executable: same name, ".ini", ASCII lower case.
std::string SettingsFileName(const std::string& exePath, const Locale& locale);

// The main window's behaviour: its fields, the program list and the commands
// that act on it. The window on screen is reached only through MainView.
class TMain {
public:
    TMain(MainView& view, Registry& registry, FileSystem& files, const Locale& locale);

    // The start-up sequence's portable steps; errors are shown, not raised.
    void FormCreate(const std::string& exePath);

    void LoadPrograms();
    bool OpenRegKey(RootKey root, const std::string& path);
    void CheckProgram(EntryRow& row) const;
    void UpdateButtons();
    void UpdateStatusBar();
    void ProgramsClick();
    void ProgramsChange() { ProgramsClick(); }
    void RefreshClick() { LoadPrograms(); }

    // Runs a handler at the message boundary: a failure ends the handler and
    // goes to the general error display.
    template <class Handler>
    void Guard(Handler&& handler)
    {
        try {
            handler();
        } catch (const std::exception& e) {
            view_.ShowError(ErrorText(e));
        }
    }

    const std::vector<EntryRow>& Programs() const { return programs_; }
    const EntryRow* FocusedRow() const;
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
    static std::string ErrorText(const std::exception& e);
    void ReadEntries();

    MainView& view_;
    Registry& registry_;
    const Locale& locale_;
    CommandChecker checker_;
    std::vector<EntryRow> programs_;
    std::string settingsFile_;
};

}  // namespace quillet
