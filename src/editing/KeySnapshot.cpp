#include "editing/KeySnapshot.h"

#include <exception>

#include "catalogue/Catalogue.h"
#include "common/Error.h"
#include "common/Text.h"
#include "common/Unicode.h"

namespace quillet {

namespace {

// Deeper than the registry allows (512): a loop or a hostile tree ends here.
constexpr int kMaxDepth = 512;

std::string PathOf(const EntryKey& entry) { return EntryCatalogue::EntryPath(entry); }

// Absolute paths from here on start at the entry's own hive, in its own view.
void AtEntryRoot(Registry& registry, const EntryKey& entry)
{
    registry.SetRootKey(SourceRoot(entry.hive));
    if (entry.view != RegistryView::Native) registry.SetView(entry.view);
}

// What of `want` is not in `have`, as paths below the entry's key.
void Missing(const KeySnapshot& want, const KeySnapshot& have, const std::string& path, std::vector<std::string>& out)
{
    if (!want.exists || out.size() >= 10) return;
    if (!have.exists) {
        out.push_back(path.empty() ? "the key itself" : path);
        return;
    }
    for (const RegistryValue& value : want.values) {
        bool found = false;
        for (const RegistryValue& v : have.values) found = found || v == value;
        if (!found && out.size() < 10) out.push_back(path + (path.empty() ? "" : "\\") + "\"" + value.name + "\"");
    }
    for (const KeySnapshot& child : want.keys) {
        KeySnapshot none;
        const KeySnapshot* match = &none;
        for (const KeySnapshot& c : have.keys)
            if (c.name == child.name) match = &c;
        Missing(child, *match, path + (path.empty() ? "" : "\\") + child.name, out);
    }
}

}  // namespace

std::string KeySnapshot::DisplayName() const
{
    for (const RegistryValue& value : values) {
        if (!SameName(value.name, "DisplayName") || (value.type != kRegSz && value.type != kRegExpandSz)) continue;
        std::string text;  // stored as UTF-16LE
        Utf8FromUtf16Le(value.data, text);
        return text.substr(0, text.find('\0'));
    }
    return std::string();
}

std::string KeySnapshots::EditorPath(const EntryKey& entry)
{
    // Where the editor restores it: below Wow6432Node for the 32-bit view,
    // in the user's own hive for a user's entry.
    return SourceEditorPath(entry.hive, entry.view, entry.sid) + "\\" + entry.subkey;
}

KeySnapshot KeySnapshots::Capture(const EntryKey& entry, const std::vector<std::string>& only)
{
    KeySnapshot snapshot;
    snapshot.name = entry.subkey;
    AtEntryRoot(registry_, entry);
    // An empty name would be the Uninstall key itself: never an entry.
    if (!entry.Empty() && only.empty()) {
        Read(PathOf(entry), snapshot, 0);
    } else if (!entry.Empty() && registry_.OpenKey(PathOf(entry), false)) {
        // Value by value: what else the key holds, however large, is not read.
        snapshot.exists = true;
        RegistryValue value;
        for (const std::string& name : only)
            if (registry_.ReadValue(name, value)) snapshot.values.push_back(std::move(value));
    }
    registry_.CloseKey();
    return snapshot;
}

bool KeySnapshots::Read(const std::string& path, KeySnapshot& into, int depth)
{
    if (depth > kMaxDepth) throw QuilletError(FormatText(kFailedToGetData, path));
    if (!registry_.OpenKey(path, false)) return false;
    into.exists = true;
    KeyContents contents = registry_.ReadContents();
    into.values = std::move(contents.values);
    for (const std::string& name : contents.subkeys) {
        KeySnapshot child;
        child.name = name;
        // A key that went between the listing and its read is not part of the state.
        if (Read(path + "\\" + name, child, depth + 1)) into.keys.push_back(std::move(child));
    }
    return true;
}

void KeySnapshots::Restore(const EntryKey& entry, const KeySnapshot& snapshot, const KeySnapshot* current,
                           const std::vector<std::string>& only)
{
    if (entry.Empty()) return;
    try {
        Replace(entry, snapshot, only);
    } catch (const std::exception& e) {
        if (!current) throw;
        const std::string reason = e.what();
        try {
            // Back as it was before, so that the Undo can be tried again.
            Replace(entry, *current, only);
        } catch (const std::exception&) {
            std::vector<std::string> missing;
            try {
                Missing(*current, Capture(entry, only), std::string(), missing);
            } catch (const std::exception&) {
                missing.push_back("(the key cannot be read)");
            }
            std::string list;
            for (const std::string& m : missing) list += (list.empty() ? "" : ", ") + m;
            if (list.empty()) list = "nothing it held, though it may hold more";
            throw QuilletError(reason + "; nor could the key be put back as it was: missing " + list);
        }
        throw;
    }
}

void KeySnapshots::PutValues(const EntryKey& entry, const KeySnapshot& snapshot, const std::vector<std::string>& only)
{
    AtEntryRoot(registry_, entry);
    if (!snapshot.exists) return;  // values of a key that was not there: nothing to put back
    if (!registry_.OpenKey(PathOf(entry), false))
        throw QuilletError("The key of \"" + entry.subkey + "\" is no longer there");
    for (const std::string& name : only) {
        const RegistryValue* held = nullptr;
        for (const RegistryValue& value : snapshot.values)
            if (SameName(value.name, name)) held = &value;
        if (held) registry_.WriteValue(*held);
        else registry_.DeleteValue(name);
    }
    registry_.CloseKey();
}

void KeySnapshots::Replace(const EntryKey& entry, const KeySnapshot& snapshot, const std::vector<std::string>& only)
{
    if (!only.empty()) return PutValues(entry, snapshot, only);
    const std::string path = PathOf(entry);
    AtEntryRoot(registry_, entry);
    if (registry_.KeyExists(path) && !registry_.DeleteKey(path)) {
        // What could not go (a key a failed delete left) may be just what
        // the snapshot holds: written over it, the key is checked whole.
        std::vector<std::string> missing;
        if (snapshot.exists) {
            Write(path, snapshot, entry);
            Missing(snapshot, Capture(entry), std::string(), missing);
        }
        if (!snapshot.exists || !missing.empty())
            throw QuilletError("The key of \"" + entry.subkey + "\" could not be replaced");
        return;
    }
    if (snapshot.exists) Write(path, snapshot, entry);
    registry_.CloseKey();
}

void KeySnapshots::Write(const std::string& path, const KeySnapshot& from, const EntryKey& entry)
{
    AtEntryRoot(registry_, entry);
    if (!registry_.OpenKey(path, true)) throw QuilletError(FormatText(kFailedToSetData, path));
    for (const RegistryValue& value : from.values) registry_.WriteValue(value);
    for (const KeySnapshot& child : from.keys) Write(path + "\\" + child.name, child, entry);
}

}  // namespace quillet
