#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace quillet {

class Locale;
struct LocalTime;

enum LogImage : int { kLogInformation = 0, kLogError = 1 };

// One record of the actions log: a row of the log list.
struct LogRecord {
    std::string time;  // formatted once, when the record is added
    std::string message;
    std::string comment;
    int image = kLogInformation;
    // Given by the log; finds the record again after rows moved. Not stored.
    uint64_t id = 0;

    // The record's content; the id is left out.
    bool operator==(const LogRecord& other) const
    {
        return time == other.time && message == other.message && comment == other.comment && image == other.image;
    }
};

// The locale's short date, a blank and its long time; the date alone at
// exactly midnight.
std::string LogTimeText(const LocalTime& time, const Locale& locale);

// The records, newest first.
class ActionsLog {
public:
    static constexpr size_t kCap = 999;

    // Drops the oldest record when the log holds exactly kCap (a longer log,
    // possible only from a hand-edited settings file, keeps all of them).
    // Returns true when a record was dropped.
    bool AddOnTop(LogRecord record);
    void Clear() { records_.clear(); }
    void SetComment(size_t row, std::string comment) { records_.at(row).comment = std::move(comment); }
    // The row of the record with that id now, or -1.
    int IndexOf(uint64_t id) const;

    const std::vector<LogRecord>& Records() const { return records_; }
    size_t Size() const { return records_.size(); }
    // Restoring from the settings file appends in file order.
    void Append(LogRecord record)
    {
        record.id = ++lastId_;
        records_.push_back(std::move(record));
    }

private:
    std::vector<LogRecord> records_;
    uint64_t lastId_ = 0;
};

}  // namespace quillet
