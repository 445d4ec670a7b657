#include "runner/UninstallQueue.h"

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

std::string UninstallQueue::StatusText(const std::string& caption) const
{
    std::string text = "Adding or removing \"" + caption + "\"";
    if (entries_.size() > 1) text += " (" + std::to_string(next_) + " of " + std::to_string(entries_.size()) + ")";
    return text;
}

std::string UninstallQueue::Summary() const
{
    if (entries_.size() < 2) return std::string();
    return std::to_string(removed_) + " of " + std::to_string(entries_.size()) + " programs uninstalled";
}

}  // namespace quillet
