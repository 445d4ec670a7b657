#include "log/ActionsLog.h"

#include "common/Locale.h"

namespace quillet {

std::string LogTimeText(const LocalTime& time, const Locale& locale)
{
    std::string text = locale.ShortDate(time);
    if (time.hour != 0 || time.minute != 0 || time.second != 0) text += " " + locale.LongTime(time);
    return text;
}

bool ActionsLog::AddOnTop(LogRecord record)
{
    const bool dropped = records_.size() == kCap;
    if (dropped) records_.pop_back();
    record.id = ++lastId_;
    records_.insert(records_.begin(), std::move(record));
    return dropped;
}

int ActionsLog::IndexOf(uint64_t id) const
{
    for (size_t i = 0; i < records_.size(); ++i)
        if (records_[i].id == id) return static_cast<int>(i);
    return -1;
}

}  // namespace quillet
