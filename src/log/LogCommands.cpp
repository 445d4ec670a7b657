#include "log/LogCommands.h"

#include "common/Locale.h"

namespace quillet {

void LogCommands::AddLog(const std::string& message, const std::string& comment, int image)
{
    if (BeforeAdd) BeforeAdd();
    LogRecord record{LogTimeText(clock_.Now(), locale_), message, comment, image};
    const bool dropped = log_.AddOnTop(std::move(record));
    view_.LogInserted(dropped);
    boxes_.Beep();
    if (!InTray || !InTray()) return;
    // Hidden in the notification area: the user learns the outcome from a box.
    if (image == kLogInformation) boxes_.ShowInformation(message);
    else if (image == kLogError) boxes_.ShowErrorBox(message);
}

void LogCommands::AddRecord(LogRecord record) { view_.LogInserted(log_.AddOnTop(std::move(record))); }

void LogCommands::ClearLogPMClick()
{
    if (!boxes_.Confirm("Are you really want to clear actions log?")) return;
    log_.Clear();
    view_.LogCleared();
}

void LogCommands::EditlogPMClick()
{
    const int focused = view_.FocusedLogRow();
    if (focused < 0 || focused >= static_cast<int>(log_.Size())) return;
    // A copy: records may be added, dropped or cleared while the dialog is open.
    const LogRecord record = log_.Records()[focused];
    std::string comment = record.comment;
    if (!dialogs_.EditLog(record, comment)) return;
    const int row = log_.IndexOf(record.id);
    if (row < 0) {
        status_.SetStatusPanel(0, "The log record of " + record.time + " is gone; its comment was not changed.");
        return;
    }
    log_.SetComment(static_cast<size_t>(row), std::move(comment));
    view_.LogRowChanged(static_cast<size_t>(row));
}

void LogCommands::LogDblClick()
{
    if (view_.FocusedLogRow() >= 0) EditlogPMClick();
}

void LogCommands::LogMenuPopup()
{
    commands_.EnableMenuItem(MenuItem::ClearLogPM, log_.Size() > 0);
    commands_.EnableMenuItem(MenuItem::EditlogPM, view_.FocusedLogRow() >= 0);
}

void LogCommands::Restore(std::vector<LogRecord> records)
{
    for (LogRecord& record : records) log_.Append(std::move(record));
    view_.LogCleared();
    for (size_t i = 0; i < log_.Size(); ++i) view_.LogInserted(false);
}

}  // namespace quillet
