#pragma once
#include <functional>
#include <string>
#include <vector>

#include "common/Controls.h"
#include "common/MessageBoxes.h"
#include "log/ActionsLog.h"
#include "log/LogView.h"

namespace quillet {

class Clock;
class Locale;

// The actions log: its records, the log pane's commands and the outcome boxes
// shown while the window is in the notification area.
class LogCommands {
public:
    LogCommands(Clock& clock, const Locale& locale, MessageBoxes& boxes, LogDialogs& dialogs, LogView& view,
                CommandView& commands, StatusPanels& status)
        : clock_(clock), locale_(locale), boxes_(boxes), dialogs_(dialogs), view_(view), commands_(commands),
          status_(status)
    {
    }

    void AddLog(const std::string& message, const std::string& comment, int image);
    // A record made elsewhere (a command-line run), on top as it stands.
    void AddRecord(LogRecord record);
    void ClearLogPMClick();
    void EditlogPMClick();
    void LogDblClick();
    void LogMenuPopup();
    // The records as the settings file kept them, oldest last.
    void Restore(std::vector<LogRecord> records);

    const ActionsLog& Log() const { return log_; }
    // Whether the window is hidden in the notification area; none: never.
    std::function<bool()> InTray;
    // Called before a record of the window's own goes on top (records made
    // elsewhere may have to go below it first); none: nothing.
    std::function<void()> BeforeAdd;

private:
    Clock& clock_;
    const Locale& locale_;
    MessageBoxes& boxes_;
    LogDialogs& dialogs_;
    LogView& view_;
    CommandView& commands_;
    StatusPanels& status_;
    ActionsLog log_;
};

}  // namespace quillet
