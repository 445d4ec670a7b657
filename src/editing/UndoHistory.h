#pragma once
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
    };
    std::string label;  // "delete of \"NAME\"": what the Undo item names
    std::vector<Item> items;
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
    // The keys as the change left them, for the items that still have a key.
    void CaptureAfter(UndoStep& step);
    // After deletions: the items of these entries are gone, the others were
    // kept and are dropped. `removed` is in the order of the step's items.
    static void KeepRemoved(UndoStep& step, const std::vector<EntryKey>& removed);
    // Keeps the change for Undo; items the change left as they were are dropped.
    void Push(UndoStep step);

    bool Empty() const { return steps_.empty(); }
    // What the next Undo takes back; empty when there is nothing.
    std::string NextLabel() const { return steps_.empty() ? std::string() : steps_.back().label; }

    struct Outcome {
        std::vector<UndoStep::Item> done;       // put back as they were before
        std::vector<UndoStep::Item> conflicts;  // changed since: left alone
        std::vector<UndoStep::Item> failed;     // could not be written back
        std::string reason;                     // the first failure's message
    };
    // Takes back the newest change. A key that is no longer as the change
    // left it (an installer made it again, say) is not touched.
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
    std::vector<UndoStep> steps_;
    bool lastUnicode_ = false;
};

}  // namespace quillet
