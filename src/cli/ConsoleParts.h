#pragma once
#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "common/MessageBoxes.h"
#include "editing/Backup.h"
#include "editing/EditDialogs.h"
#include "editing/PropFrm.h"
#include "log/LogView.h"

namespace quillet {

// The window's ports as a command-line run sees them: nothing is shown, no
// box waits for an answer. The boxes' texts are kept for standard error;
// Confirm answers what the command line said (/yes); the save dialog
// "chooses" the file the command line named.
class ConsoleParts : public ProgramsView,
                     public LogView,
                     public CommandView,
                     public StatusPanels,
                     public MessageBoxes,
                     public LogDialogs,
                     public EditDialogs,
                     public RunningEntry {
public:
    bool answer = false;
    std::string saveAs;
    std::vector<std::string> errors;
    std::vector<std::string> information;

    // The views: no list, no log, no buttons to enable.
    void UpdateHeaderImages(int, bool) override {}
    void RowsReordered(int) override {}
    void ProgramsReplaced(size_t) override {}
    int FocusedProgram() const override { return -1; }
    void FocusProgram(int) override {}
    void ProgramAdded(size_t) override {}
    void ProgramRemoved(int, size_t) override {}
    void ProgramChanged(int) override {}
    void ActivatePrograms() override {}
    void LogInserted(bool) override {}
    void LogCleared() override {}
    void LogRowChanged(size_t) override {}
    int FocusedLogRow() const override { return -1; }
    bool LogActive() const override { return false; }
    void FocusLogRow(int) override {}
    bool ActivateLog() override { return false; }
    void EnableButton(Button, bool) override {}
    bool ButtonEnabled(Button) const override { return true; }
    void EnableMenuItem(MenuItem, bool) override {}
    bool MenuItemEnabled(MenuItem) const override { return true; }
    void CheckMenuItem(MenuItem, bool) override {}
    bool MenuItemChecked(MenuItem) const override { return false; }
    void SetMenuItemText(MenuItem, const std::string&) override {}
    void SetStatusPanel(int, const std::string&) override {}

    // The boxes.
    void ShowFailure(const std::string& text) override { errors.push_back(text); }
    void ShowInformation(const std::string& text) override { information.push_back(text); }
    void ShowErrorBox(const std::string& text) override { errors.push_back(text); }
    bool Confirm(const std::string&) override { return answer; }
    void Beep() override {}
    bool EditLog(const LogRecord&, std::string&) override { return false; }
    bool ShowProperties(TPropertiesForm&) override { return false; }
    bool Execute(SaveDialog& dialog) override
    {
        dialog.FileName = saveAs;
        return !saveAs.empty();
    }

    // No uninstaller runs from the command line.
    bool Busy() const override { return false; }
    bool IsRunning(const EntryRow&) const override { return false; }
};

}  // namespace quillet
