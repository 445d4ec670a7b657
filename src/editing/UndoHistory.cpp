#include "editing/UndoHistory.h"

#include "common/Error.h"
#include "common/Locale.h"
#include "editing/ChangesFile.h"
#include "editing/FileWriter.h"

namespace quillet {

std::string UndoHistory::ChangesPath() const
{
    return ChangesDir + "\\" + ChangesFileName(clock_.Now(), lastUnicode_);
}

UndoStep UndoHistory::Prepare(const std::string& label, const std::vector<EntryKey>& entries, bool keysStay)
{
    UndoStep step;
    step.label = label;
    step.items.reserve(entries.size());
    for (const EntryKey& entry : entries) {
        UndoStep::Item item{entry, std::string(), snapshots_.Capture(entry), KeySnapshot()};
        item.caption = item.before.DisplayName();
        step.items.push_back(std::move(item));
    }
    if (file_ && !ChangesDir.empty()) {
        std::vector<ChangedKey> keys;
        keys.reserve(step.items.size());
        for (const UndoStep::Item& item : step.items)
            keys.push_back({KeySnapshots::EditorPath(item.entry), item.before, keysStay});
        // It may exist already; when it cannot be made, the file's own error says why.
        file_->MakeDirectory(ChangesDir);
        const ChangesText section = ChangesSection(clock_.Now(), label, keys, locale_);
        lastUnicode_ = section.unicode;
        AppendChanges(*file_, ChangesPath(), section);
    }
    return step;
}

void UndoHistory::CaptureAfter(UndoStep& step)
{
    for (UndoStep::Item& item : step.items) item.after = snapshots_.Capture(item.entry);
}

void UndoHistory::KeepRemoved(UndoStep& step, const std::vector<EntryKey>& removed)
{
    std::vector<UndoStep::Item> kept;
    kept.reserve(removed.size());
    size_t next = 0;
    for (UndoStep::Item& item : step.items) {
        if (next >= removed.size() || item.entry != removed[next]) continue;
        ++next;
        item.after = KeySnapshot();
        item.after.name = item.entry.subkey;
        kept.push_back(std::move(item));
    }
    step.items = std::move(kept);
}

void UndoHistory::Push(UndoStep step)
{
    std::vector<UndoStep::Item> changed;
    for (UndoStep::Item& item : step.items)
        if (item.before != item.after) changed.push_back(std::move(item));
    if (changed.empty()) return;
    step.items = std::move(changed);
    steps_.push_back(std::move(step));
}

UndoHistory::Outcome UndoHistory::UndoLast()
{
    Outcome outcome;
    if (steps_.empty()) return outcome;
    UndoStep step = std::move(steps_.back());
    steps_.pop_back();
    for (UndoStep::Item& item : step.items) {
        // Only a key still as this change left it is ours to take back.
        const KeySnapshot now = snapshots_.Capture(item.entry);
        if (now != item.after) {
            outcome.conflicts.push_back(std::move(item));
            continue;
        }
        try {
            snapshots_.Restore(item.entry, item.before);
        } catch (const QuilletError& e) {
            // The others still go back; the caller reports this one.
            if (outcome.reason.empty()) outcome.reason = e.what();
            outcome.failed.push_back(std::move(item));
            continue;
        }
        outcome.done.push_back(std::move(item));
    }
    return outcome;
}

}  // namespace quillet
