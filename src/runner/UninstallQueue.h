#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "catalogue/EntryKey.h"

namespace quillet {

// HEAD + NAME + TAIL in at most `units` UTF-16 units (npos: any), the name
// shortened with an ellipsis where it must be.
std::string FittedName(const std::string& head, const std::string& name, const std::string& tail, size_t units);

// An entry as it was when it was queued: at its turn it must still be so.
struct QueuedEntry {
    EntryKey key;
    std::string caption, command;
};

// The order of a run of uninstallers and how far it got: one at a time, in
// the order given, the next taken only when asked (after the previous ended).
class UninstallQueue {
public:
    void Start(std::vector<QueuedEntry> entries, bool quietly);
    // The next entry to run, or none: the end, or stopped.
    const QueuedEntry* Next();
    // The rest are not started; the one running runs on.
    void Stop() { stopping_ = true; }
    // The outcome of the entry last taken.
    void Removed() { ++removed_; }
    // Forgets the run (its end, or a failure that ends it).
    void Clear() { *this = UninstallQueue(); }

    bool Active() const { return !entries_.empty(); }
    bool Stopping() const { return stopping_; }
    bool Quietly() const { return quietly_; }
    size_t Size() const { return entries_.size(); }
    size_t Position() const { return next_; }  // 1-based: the entry last taken
    // "Adding or removing \"NAME\" (2 of 5)"; without the count for a run of
    // one. Longer than `units` UTF-16 units, the name is shortened, never the count.
    std::string StatusText(const std::string& caption, size_t units = std::string::npos) const;
    // "3 of 5 programs uninstalled"; empty for a run of one.
    std::string Summary() const;

private:
    std::vector<QueuedEntry> entries_;
    size_t next_ = 0;
    size_t removed_ = 0;
    bool quietly_ = false;
    bool stopping_ = false;
};

}  // namespace quillet
