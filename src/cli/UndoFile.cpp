#include "cli/UndoFile.h"

#include <algorithm>
#include <exception>

#include "cli/ConsoleParts.h"
#include "common/Locale.h"
#include "common/Text.h"
#include "editing/KeySnapshot.h"
#include "editing/RegistryScript.h"
#include "log/LogCommands.h"

namespace quillet {

namespace {

bool StartsWithNoCase(const std::string& text, const std::string& head)
{
    if (text.size() < head.size()) return false;
    for (size_t i = 0; i < head.size(); ++i)
        if (AsciiLower(text[i]) != AsciiLower(head[i])) return false;
    return true;
}

// One entry as a section of the file names it: its state before the change
// and whether the change left a key there ("[-PATH]" first).
struct NamedEntry {
    EntryKey entry;
    bool keyStayed = false;
    KeySnapshot before;
    bool foreign = false;  // the section holds what no change of ours writes
};

// The entry a path of the file lies in, and the keys below the entry's own
// ("" for the entry's key): in the machine's hive (either view), the current
// user's, or another user's below HKEY_USERS. False for a path outside the
// uninstall entries.
bool EntryOf(const std::string& path, bool windows64, EntryKey& entry, std::string& below)
{
    std::vector<EntryKey> sources;
    if (windows64) sources = {{"", RegistryView::Bits64}, {"", RegistryView::Bits32}};
    else sources = {{"", RegistryView::Native}};
    sources.push_back({"", RegistryView::Native, EntryHive::CurrentUser});
    static const std::string kUsers = "HKEY_USERS\\";
    if (StartsWithNoCase(path, kUsers)) {
        // The hive's name is the SID; the registry gives no other meaning to it.
        const std::string sid = path.substr(kUsers.size(), path.find('\\', kUsers.size()) - kUsers.size());
        if (!sid.empty()) sources.push_back({"", RegistryView::Native, EntryHive::OtherUser, sid});
    }
    for (const EntryKey& source : sources) {
        const std::string root = KeySnapshots::EditorPath(source);
        if (!StartsWithNoCase(path, root) || path.size() == root.size()) continue;
        const std::string rest = path.substr(root.size());
        const size_t cut = rest.find('\\');
        entry = source;
        entry.subkey = rest.substr(0, cut);
        below = cut == std::string::npos ? std::string() : rest.substr(cut + 1);
        return !entry.subkey.empty();
    }
    return false;
}

KeySnapshot& Node(KeySnapshot& root, const std::string& below)
{
    KeySnapshot* node = &root;
    for (size_t at = 0; !below.empty() && at <= below.size();) {
        size_t end = below.find('\\', at);
        if (end == std::string::npos) end = below.size();
        const std::string name = below.substr(at, end - at);
        at = end + 1;
        auto it = std::find_if(node->keys.begin(), node->keys.end(), [&](const KeySnapshot& k) { return k.name == name; });
        if (it == node->keys.end()) {
            node->keys.push_back(KeySnapshot{name, false, {}, {}});
            it = node->keys.end() - 1;
        }
        node = &*it;
    }
    return *node;
}

std::vector<NamedEntry> EntriesOf(const std::vector<ScriptKey>& keys, bool windows64, std::vector<std::string>& others)
{
    std::vector<NamedEntry> entries;
    for (const ScriptKey& key : keys) {
        EntryKey entry;
        std::string below;
        if (!EntryOf(key.path, windows64, entry, below)) {
            others.push_back(key.path);
            continue;
        }
        auto it = std::find_if(entries.begin(), entries.end(), [&](const NamedEntry& e) { return e.entry == entry; });
        if (it == entries.end()) {
            entries.push_back({entry, false, KeySnapshot{entry.subkey, false, {}, {}}});
            it = entries.end() - 1;
        }
        if (key.remove) {
            // Only ever the entry's own key, and before its state.
            if (!below.empty() || it->before.exists) it->foreign = true;
            it->keyStayed = true;
            continue;
        }
        KeySnapshot& node = Node(it->before, below);
        node.exists = true;
        it->before.exists = true;
        for (const ScriptValue& value : key.values) {
            if (value.remove) it->foreign = true;
            node.values.push_back({value.name, value.type, value.data});
        }
    }
    return entries;
}

// The same state, whatever order the registry lists values and keys in.
KeySnapshot Sorted(KeySnapshot key)
{
    std::sort(key.values.begin(), key.values.end(),
              [](const RegistryValue& a, const RegistryValue& b) { return a.name < b.name; });
    for (KeySnapshot& child : key.keys) child = Sorted(std::move(child));
    std::sort(key.keys.begin(), key.keys.end(), [](const KeySnapshot& a, const KeySnapshot& b) { return a.name < b.name; });
    key.name.clear();
    return key;
}

// By its name before the change, or else as it is now, or else its subkey.
std::string Shown(const NamedEntry& named, const KeySnapshot& now)
{
    std::string name = named.before.DisplayName();
    if (name.empty()) name = now.DisplayName();
    return "\"" + (name.empty() ? named.entry.subkey : name) + "\"";
}

std::string OneLine(std::string text)
{
    ReplaceAll(text, "\r", " ");
    ReplaceAll(text, "\n", " ");
    return text;
}

}  // namespace

int UndoChangesFile(const std::string& path, const ConsolePorts& ports)
{
    std::string bytes, error;
    RegistryScript script;
    if (!ports.reader.ReadAll(path, bytes, error) || !ReadRegistryScript(bytes, ports.locale, script, error)) {
        ports.console.Err("Cannot read \"" + path + "\": " + OneLine(error) + "\n");
        return kExitFailed;
    }
    ConsoleParts parts;
    LogCommands log(ports.clock, ports.locale, parts, parts, parts, parts, parts);
    KeySnapshots snapshots(ports.registry);

    // Each change starts at its comment line; the newest is taken back first.
    std::vector<size_t> starts{0};
    for (const ScriptComment& comment : script.comments)
        if (comment.keysBefore > starts.back() && comment.keysBefore < script.keys.size())
            starts.push_back(comment.keysBefore);
    int code = kExitDone;
    size_t restored = 0, already = 0;
    for (size_t s = starts.size(); s-- > 0;) {
        const size_t end = s + 1 < starts.size() ? starts[s + 1] : script.keys.size();
        const std::vector<ScriptKey> keys(script.keys.begin() + static_cast<long>(starts[s]),
                                          script.keys.begin() + static_cast<long>(end));
        std::vector<std::string> others;
        for (const NamedEntry& named : EntriesOf(keys, ports.windows64, others)) {
            const KeySnapshot now = snapshots.Capture(named.entry);
            if (!named.foreign && Sorted(now) == Sorted(named.before)) {
                ++already;  // as the change found it: nothing to take back
                continue;
            }
            // Only a deletion is known to have left no key: anything there now came since.
            if (named.foreign || named.keyStayed || !named.before.exists || now.exists) {
                ports.console.Err("Changed since, so left as it is now: " + OneLine(Shown(named, now)) + " (" +
                                  OneLine(named.entry.subkey) + ")\n");
                code = kExitFailed;
                continue;
            }
            try {
                snapshots.Restore(named.entry, named.before);
            } catch (const std::exception& e) {
                ports.console.Err("Could not be put back: " + OneLine(Shown(named, now)) + ": " + OneLine(e.what()) + "\n");
                code = kExitFailed;
                continue;
            }
            ++restored;
            log.AddLog("Shortcut for " + Shown(named, now) + " application restored.", "", kLogInformation);
        }
        for (const std::string& other : others) {
            ports.console.Err("Not an uninstall entry, left alone: " + OneLine(other) + "\n");
            code = kExitFailed;
        }
    }
    const std::vector<LogRecord>& records = log.Log().Records();
    for (auto it = records.rbegin(); it != records.rend(); ++it) ports.console.Out(it->message + "\n");
    ports.console.Out(std::to_string(restored) + " restored, " + std::to_string(already) +
                      " already as before the change.\n");
    KeepRecords(ports, records);
    return code;
}

}  // namespace quillet
