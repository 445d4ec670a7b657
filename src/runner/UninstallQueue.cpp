#include "runner/UninstallQueue.h"

#include "common/Unicode.h"

namespace quillet {

void UninstallQueue::Start(std::vector<QueuedEntry> entries, bool quietly)
{
    Clear();
    entries_ = std::move(entries);
    quietly_ = quietly;
}

const QueuedEntry* UninstallQueue::Next()
{
    if (stopping_ || next_ >= entries_.size()) return nullptr;
    return &entries_[next_++];
}

std::string FittedName(const std::string& head, const std::string& name, const std::string& tail, size_t units)
{
    const size_t fixed = Utf16Length(head) + Utf16Length(tail);
    if (units == std::string::npos || fixed + Utf16Length(name) <= units) return head + name + tail;
    const size_t room = units > fixed ? units - fixed : 1;
    return head + std::string(CutToUtf16(name, room - 1)) + "\xE2\x80\xA6" + tail;  // an ellipsis: one unit
}

std::string UninstallQueue::StatusText(const std::string& caption, size_t units) const
{
    std::string count;
    if (entries_.size() > 1) count = " (" + std::to_string(next_) + " of " + std::to_string(entries_.size()) + ")";
    return FittedName("Adding or removing \"", caption, "\"" + count, units);
}

std::string UninstallQueue::Summary() const
{
    if (entries_.size() < 2) return std::string();
    return std::to_string(removed_) + " of " + std::to_string(entries_.size()) + " programs uninstalled";
}

}  // namespace quillet
