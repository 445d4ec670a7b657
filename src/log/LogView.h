#pragma once
#include <cstddef>
#include <string>

namespace quillet {

struct LogRecord;

// The log pane on screen: it shows the records of the log's model.
class LogView {
public:
    virtual ~LogView() = default;
    // The log got a record on top (and lost its oldest one when `dropped`);
    // the focus stays on the record it was on.
    virtual void LogInserted(bool dropped) = 0;
    virtual void LogCleared() = 0;
    virtual void LogRowChanged(size_t row) = 0;
    virtual int FocusedLogRow() const = 0;
    // The log list holds the keyboard focus (is the window's active control).
    virtual bool LogActive() const = 0;
    // Focus and select that log row and scroll it into view.
    virtual void FocusLogRow(int index) = 0;
    // Make the log list the active control; false when it cannot take the
    // focus (hidden or disabled).
    virtual bool ActivateLog() = 0;
};

// The Edit log dialog.
class LogDialogs {
public:
    virtual ~LogDialogs() = default;
    // Filled from the record; true on OK with the comment as typed.
    virtual bool EditLog(const LogRecord& record, std::string& comment) = 0;
};

}  // namespace quillet
