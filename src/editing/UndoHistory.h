#pragma once
#include <deque>
#include <string>
#include <vector>

#include "editing/KeySnapshot.h"

namespace quillet {

class Clock;
class FileWriter;
class Locale;

// One change of the registry made by a command, with what each key held
// before it and after it.
struct UndoStep {
    struct Item {
        EntryKey entry;
        std::string caption;
        KeySnapshot before, after;
        bool settled = false;  // `after` is known without a capture (a key deleted)
        bool afterKnown = true;  // false: it could not be read after the change
        // The values the change writes, when it leaves the rest of the key
        // alone (Properties): only these are kept, written and taken back.
        std::vector<std::string> only = {};
    };
    std::string label;  // "delete of \"NAME\"": what the Undo item names
    std::vector<Item> items;
    size_t bytes = 0;  // of names and data held, for the bound of the history
};

// The changes of this run, newest last, and the day's changes file that
// keeps the way back of each before it is made.
class UndoHistory {
public:
    UndoHistory(Registry& registry, FileWriter* file, Clock& clock, const Locale& locale)
        : snapshots_(registry), file_(file), clock_(clock), locale_(locale)
    {
    }

    // Captures the keys as they stand and writes them to the changes file;
    // raises, and nothing may change, when that file cannot be written.
    UndoStep Prepare(const std::string& label, const std::vector<EntryKey>& entries, bool keysStay);
    // Prepare in two parts, for a command that looks at the capture first;
    // with `only`, a change of just those values of each key.
    UndoStep Capture(const std::string& label, const std::vector<EntryKey>& entries,
                     const std::vector<std::string>& only = {});
    void Record(const UndoStep& step, bool keysStay);
    // After deletions: the items of these entries are gone; `removed` is in
    // the order of the step's items. The others are read by Settle.
    static void KeepRemoved(UndoStep& step, const std::vector<EntryKey>& removed);
    // The keys as the change left them, whole or half done. Never raises: a
    // key that cannot be read is taken back without the check for changes since.
    void Settle(UndoStep& step);
    // Keeps the change for Undo; items the change left as they were are
    // dropped. The oldest go first past kMaxSteps or kMaxBytes.
    void Push(UndoStep step);
    // Settle, then Push: for a change whether it failed half-way or not.
    void Finish(UndoStep step);

    static constexpr size_t kMaxSteps = 1000;
    static constexpr size_t kMaxBytes = 64u << 20;
    // Changes of this run that went past the bound; their way back is in the changes file.
    size_t Dropped() const { return dropped_; }
    // Names and data the kept steps hold.
    size_t HeldBytes() const { return bytes_; }
    // Counts every change kept and every Undo that wrote: a command that
    // leaves it as it was (cancelled, refused) changed nothing of its own.
    size_t Writes() const { return writes_; }

    bool Empty() const { return steps_.empty(); }
    // What the next Undo takes back; empty when there is nothing.
    std::string NextLabel() const { return steps_.empty() ? std::string() : steps_.back().label; }

    struct Outcome {
        std::vector<UndoStep::Item> done;       // put back as they were before
        std::vector<UndoStep::Item> conflicts;  // changed since: left alone
        // Could not be written back: they stay for the next Undo (names only here).
        std::vector<UndoStep::Item> failed;
        std::vector<std::string> reasons;       // one for each of `failed`
    };
    // Takes back the newest change. A key that is no longer as the change
    // left it (an installer made it again, say) is not touched. Whatever
    // fails, for whatever reason, stays on the stack as the next step.
    Outcome UndoLast();

    // The folder of the changes file; empty: none is written.
    std::string ChangesDir;
    // The file the last change went to.
    std::string ChangesPath() const;

private:
    KeySnapshots snapshots_;
    FileWriter* file_;
    Clock& clock_;
    const Locale& locale_;
    std::deque<UndoStep> steps_;
    size_t bytes_ = 0;
    size_t dropped_ = 0;
    size_t writes_ = 0;
    bool lastUnicode_ = false;
};

}  // namespace quillet
