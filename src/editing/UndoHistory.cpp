#include "editing/UndoHistory.h"

#include <exception>

#include "common/Error.h"
#include "common/Locale.h"
#include "editing/ChangesFile.h"
#include "editing/FileWriter.h"

namespace quillet {

namespace {

size_t Bytes(const KeySnapshot& key)
{
    size_t bytes = key.name.size();
    for (const RegistryValue& value : key.values) bytes += value.name.size() + value.data.size();
    for (const KeySnapshot& child : key.keys) bytes += Bytes(child);
    return bytes;
}

size_t Bytes(const UndoStep& step)
{
    size_t bytes = 0;
    for (const UndoStep::Item& item : step.items) bytes += Bytes(item.before) + Bytes(item.after);
    return bytes;
}

// What a message needs of an item: its name, not its trees.
UndoStep::Item NameOnly(const UndoStep::Item& item)
{
    UndoStep::Item named{item.entry, item.caption, KeySnapshot(), KeySnapshot()};
    if (named.caption.empty()) named.caption = item.after.DisplayName();
    if (named.caption.empty()) named.caption = item.before.DisplayName();
    return named;
}

}  // namespace

std::string UndoHistory::ChangesPath() const
{
    return ChangesDir + "\\" + ChangesFileName(clock_.Now(), lastUnicode_);
}

UndoStep UndoHistory::Prepare(const std::string& label, const std::vector<EntryKey>& entries, bool keysStay)
{
    UndoStep step = Capture(label, entries);
    Record(step, keysStay);
    return step;
}

UndoStep UndoHistory::Capture(const std::string& label, const std::vector<EntryKey>& entries,
                              const std::vector<std::string>& only)
{
    UndoStep step;
    step.label = label;
    step.items.reserve(entries.size());
    for (const EntryKey& entry : entries) {
        UndoStep::Item item{entry, std::string(), snapshots_.Capture(entry, only), KeySnapshot()};
        item.only = only;
        item.caption = item.before.DisplayName();
        step.items.push_back(std::move(item));
    }
    return step;
}

void UndoHistory::Record(const UndoStep& step, bool keysStay)
{
    if (!file_ || ChangesDir.empty()) return;
    std::vector<ChangedKey> keys;
    keys.reserve(step.items.size());
    for (const UndoStep::Item& item : step.items)
        keys.push_back({KeySnapshots::EditorPath(item.entry), item.before, keysStay,
                        item.only.empty() ? nullptr : &item.only});
    // Raises for a name no script can hold, before the file is touched.
    const ChangesText section = ChangesSection(clock_.Now(), step.label, keys, locale_);
    // It may exist already; when it cannot be made, the file's own error says why.
    file_->MakeDirectory(ChangesDir);
    lastUnicode_ = section.unicode;
    AppendChanges(*file_, ChangesPath(), section);
}

void UndoHistory::KeepRemoved(UndoStep& step, const std::vector<EntryKey>& removed)
{
    size_t next = 0;
    for (UndoStep::Item& item : step.items) {
        if (next >= removed.size() || item.entry != removed[next]) continue;
        ++next;
        item.after = KeySnapshot();
        item.after.name = item.entry.subkey;
        item.settled = true;
    }
}

void UndoHistory::Settle(UndoStep& step)
{
    for (UndoStep::Item& item : step.items) {
        if (item.settled) continue;
        try {
            item.after = snapshots_.Capture(item.entry, item.only);
        } catch (const std::exception&) {
            // The change may have happened: keep the way back, without the check.
            item.after = KeySnapshot();
            item.afterKnown = false;
        }
        item.settled = true;
    }
}

void UndoHistory::Push(UndoStep step)
{
    std::vector<UndoStep::Item> changed;
    for (UndoStep::Item& item : step.items)
        if (!item.afterKnown || item.before != item.after) changed.push_back(std::move(item));
    if (changed.empty()) return;
    step.items = std::move(changed);
    step.bytes = Bytes(step);
    bytes_ += step.bytes;
    ++writes_;
    steps_.push_back(std::move(step));
    while (steps_.size() > 1 && (steps_.size() > kMaxSteps || bytes_ > kMaxBytes)) {
        bytes_ -= steps_.front().bytes;
        steps_.pop_front();
        ++dropped_;
    }
}

void UndoHistory::Finish(UndoStep step)
{
    Settle(step);
    Push(std::move(step));
}

UndoHistory::Outcome UndoHistory::UndoLast()
{
    Outcome outcome;
    if (steps_.empty()) return outcome;
    UndoStep& step = steps_.back();
    std::vector<UndoStep::Item> left;
    for (UndoStep::Item& item : step.items) {
        try {
            // Only a key still as this change left it is ours to take back.
            const KeySnapshot now = snapshots_.Capture(item.entry, item.only);
            if (item.afterKnown && now != item.after) {
                outcome.conflicts.push_back(NameOnly(item));
                continue;
            }
            snapshots_.Restore(item.entry, item.before, &now, item.only);
            outcome.done.push_back(NameOnly(item));
            outcome.done.back().before.exists = item.before.exists;
        } catch (const std::exception& e) {
            // The others still go back; this one stays for the next Undo.
            outcome.failed.push_back(NameOnly(item));
            outcome.reasons.push_back(e.what());
            left.push_back(std::move(item));
        }
    }
    if (!outcome.done.empty()) ++writes_;
    bytes_ -= step.bytes;
    if (left.empty()) {
        steps_.pop_back();
    } else {
        step.items = std::move(left);
        step.bytes = Bytes(step);
        bytes_ += step.bytes;
    }
    return outcome;
}

}  // namespace quillet
