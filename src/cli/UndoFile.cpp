#include "cli/UndoFile.h"

#include <algorithm>
#include <exception>

#include "cli/ConsoleParts.h"
#include "common/Locale.h"
#include "common/Text.h"
#include "common/Unicode.h"
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
    // Why it is left alone whatever the registry holds now ("" when it is not).
    std::string refused;
};

// Deeper than the registry allows, or a longer name than it allows: no
// change of ours wrote it, and a tree that deep must not be walked.
constexpr size_t kMaxLevels = 512;
constexpr size_t kMaxNameUnits = 255;

bool BeyondTheRegistry(const std::string& path)
{
    size_t levels = 0;
    for (size_t at = 0; at <= path.size(); ++levels) {
        size_t end = path.find('\\', at);
        if (end == std::string::npos) end = path.size();
        if (levels >= kMaxLevels) return true;
        if (Utf16Length(std::string_view(path).substr(at, end - at)) > kMaxNameUnits) return true;
        at = end + 1;
    }
    return false;
}

// "line 4", "lines 4, 9", the first ten of many and how many more.
std::string Lines(const std::vector<size_t>& lines)
{
    constexpr size_t kNamed = 10;
    std::string text = lines.size() == 1 ? "line " : "lines ";
    for (size_t i = 0; i < lines.size() && i < kNamed; ++i) text += (i ? ", " : "") + std::to_string(lines[i]);
    if (lines.size() > kNamed) text += " and " + std::to_string(lines.size() - kNamed) + " more";
    return text;
}

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

// The entries the sections [first, end) of the script name; `damaged` holds
// each section's lines that the parser rejected.
std::vector<NamedEntry> EntriesOf(const RegistryScript& script, size_t first, size_t end, bool windows64,
                                  const std::vector<std::vector<size_t>>& damaged, std::vector<std::string>& others)
{
    std::vector<NamedEntry> entries;
    for (size_t k = first; k < end; ++k) {
        const ScriptKey& key = script.keys[k];
        EntryKey entry;
        std::string below;
        if (!EntryOf(key.path, windows64, entry, below)) {
            others.push_back(key.path);
            continue;
        }
        auto it = std::find_if(entries.begin(), entries.end(), [&](const NamedEntry& e) { return e.entry == entry; });
        if (it == entries.end()) {
            entries.push_back({entry, false, KeySnapshot{entry.subkey, false, {}, {}}, false, ""});
            it = entries.end() - 1;
        }
        // What the file cannot be trusted to hold whole refuses the entry.
        if (!damaged[k].empty() && it->refused.empty())
            it->refused = "Damaged at " + Lines(damaged[k]) + " of the file, so left alone: ";
        if (BeyondTheRegistry(key.path)) {
            if (it->refused.empty())
                it->refused = "A key deeper or with a longer name than the registry allows, so left alone: ";
            continue;
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

// A line of standard error, of a length a reader can take in.
std::string OneLine(std::string text)
{
    constexpr size_t kShown = 300;
    if (Utf16Length(text) > kShown) text = std::string(CutToUtf16(text, kShown)) + "...";
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
    // Each rejected line belongs to the section above it; above all sections, to none.
    std::vector<std::vector<size_t>> damaged(script.keys.size());
    std::vector<size_t> stray;
    for (const size_t line : script.rejected) {
        const auto after = std::upper_bound(script.keys.begin(), script.keys.end(), line,
                                            [](size_t l, const ScriptKey& key) { return l < key.line; });
        if (after == script.keys.begin()) stray.push_back(line);
        else damaged[static_cast<size_t>(after - script.keys.begin()) - 1].push_back(line);
    }
    int code = kExitDone;
    if (!stray.empty()) {
        ports.console.Err("Damaged at " + Lines(stray) + " of the file, outside any key.\n");
        code = kExitFailed;
    }
    size_t restored = 0, already = 0;
    for (size_t s = starts.size(); s-- > 0;) {
        const size_t end = s + 1 < starts.size() ? starts[s + 1] : script.keys.size();
        std::vector<std::string> others;
        for (const NamedEntry& named : EntriesOf(script, starts[s], end, ports.windows64, damaged, others)) {
            if (!named.refused.empty()) {
                ports.console.Err(named.refused + OneLine(Shown(named, KeySnapshot())) + " (" +
                                  OneLine(named.entry.subkey) + ")\n");
                code = kExitFailed;
                continue;
            }
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
