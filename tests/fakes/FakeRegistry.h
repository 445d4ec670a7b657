#pragma once
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/Registry.h"
#include "common/Error.h"
#include "common/Unicode.h"

namespace quillet::fakes {

enum ValueType : unsigned { kNone = 0, kSz = 1, kExpandSz = 2, kBinary = 3, kDword = 4, kMultiSz = 7 };

// An in-memory registry with the accessor's rules: keys compared ignoring
// ASCII case, subkeys enumerated in the order they were made, one open key.
// The 32-bit view is a tree of its own; the native view is the 64-bit one,
// as for a 64-bit program (on a 32-bit Windows there is only that one).
// Names are UTF-8; string data is kept as the wide registry calls give it,
// UTF-16LE.
class FakeRegistry : public Registry {
public:
    struct Value {
        ValueType type;
        std::string data;  // raw bytes, NUL included when the writer stored one
        // The text of string data, up to its first NUL.
        std::string Text() const
        {
            std::string text;
            Utf8FromUtf16Le(data, text);
            return text.substr(0, text.find('\0'));
        }
    };
    struct Key {
        std::vector<std::pair<std::string, Value>> values;
        std::vector<std::pair<std::string, std::unique_ptr<Key>>> children;
        std::map<std::string, Key*> index;  // lower-cased name -> child
    };

    // Test set-up: creates the key (and its parents) below a root.
    Key& Make(RootKey root, const std::string& path, RegistryView view = RegistryView::Native)
    {
        return *Walk(Tree(root, view), Split(path), true);
    }
    Key* Find(RootKey root, const std::string& path, RegistryView view = RegistryView::Native)
    {
        return Walk(Tree(root, view), Split(path), false);
    }
    static bool IsText(unsigned type) { return type == kSz || type == kExpandSz || type == kMultiSz; }
    // String types take their text (NULs included) in UTF-8, others raw bytes.
    static void Set(Key& key, const std::string& name, ValueType type, const std::string& data)
    {
        SetRaw(key, name, type, IsText(type) ? Utf16LeFromUtf8(data) : data);
    }
    static void SetRaw(Key& key, const std::string& name, ValueType type, const std::string& data)
    {
        for (auto& [n, v] : key.values)
            if (Same(n, name)) {
                v = {type, data};
                return;
            }
        key.values.push_back({name, {type, data}});
    }
    // Test set-up: deletes the key (and what is below it) without moving the
    // accessor's root, view or open key, as another program would.
    bool Drop(RootKey root, const std::string& path, RegistryView view = RegistryView::Native)
    {
        const RootKey root0 = root_;
        const RegistryView view0 = view_;
        root_ = root;
        view_ = view;
        const bool done = DeleteKey("\\" + Trim(path));
        root_ = root0;
        view_ = view0;
        if (!current_) currentPath_.clear();
        return done;
    }
    // Opening this path (absolute, below any root) fails as if access were denied.
    void Deny(const std::string& path) { denied_.insert(Lower(Trim(path))); }
    // Deleting this key (absolute, below any root) fails as if access were denied.
    void Protect(const std::string& path) { protected_.insert(Lower(Trim(path))); }

    void SetRootKey(RootKey root) override
    {
        root_ = root;
        view_ = RegistryView::Native;
        current_ = nullptr;
        currentPath_.clear();
    }

    void SetView(RegistryView view) override
    {
        view_ = view;
        current_ = nullptr;
        currentPath_.clear();
        ++viewsSet;
    }

    bool OpenKey(const std::string& path, bool create) override
    {
        const bool absolute = !path.empty() && path[0] == '\\';
        std::vector<std::string> parts = absolute || !current_ ? std::vector<std::string>() : currentPath_;
        for (auto& p : Split(path)) parts.push_back(p);
        std::string joined;
        for (auto& p : parts) joined += (joined.empty() ? "" : "\\") + p;
        Key* key = denied_.count(Lower(joined)) ? nullptr : Walk(Tree(root_, view_), parts, create && !Trim(path).empty());
        current_ = key;
        currentPath_ = key ? parts : std::vector<std::string>();
        ++opens;
        return key != nullptr;
    }

    void CloseKey() override
    {
        current_ = nullptr;
        currentPath_.clear();
    }

    std::vector<std::string> GetKeyNames() override
    {
        std::vector<std::string> names;
        if (current_)
            for (auto& [name, child] : current_->children) names.push_back(name);
        return names;
    }

    std::string ReadString(const std::string& name) override
    {
        if (!current_) throw QuilletError(FormatText(kFailedToGetData, name));
        for (auto& [n, v] : current_->values) {
            if (!Same(n, name)) continue;
            if (v.data.empty()) return std::string();
            if (v.type != kSz && v.type != kExpandSz) throw QuilletError(FormatText(kInvalidDataType, name));
            return v.Text();
        }
        return std::string();
    }

    void WriteString(const std::string& name, const std::string& value) override
    {
        if (!current_) throw QuilletError(FormatText(kFailedToSetData, name));
        Called("WriteString " + name);
        Set(*current_, name, kSz, value + std::string(1, '\0'));  // stored as UTF-16LE
    }

    void WriteBinary(const std::string& name, const std::string& bytes) override
    {
        if (!current_) throw QuilletError(FormatText(kFailedToSetData, name));
        SetRaw(*current_, name, kBinary, bytes);
    }

    bool KeyExists(const std::string& path) override
    {
        const bool absolute = !path.empty() && path[0] == '\\';
        if (!absolute && !current_) return false;
        return Walk(absolute ? Tree(root_, view_) : *current_, Split(path), false) != nullptr;
    }

    bool DeleteKey(const std::string& path) override
    {
        const bool absolute = !path.empty() && path[0] == '\\';
        if (!absolute && !current_) return false;
        auto parts = Split(path);
        if (parts.empty()) return false;
        std::string joined;
        for (auto& p : absolute ? parts : currentPath_) joined += (joined.empty() ? "" : "\\") + p;
        if (!absolute)
            for (auto& p : parts) joined += (joined.empty() ? "" : "\\") + p;
        const std::string leaf = parts.back();
        parts.pop_back();
        Key* parent = Walk(absolute ? Tree(root_, view_) : *current_, parts, false);
        if (!parent) return false;
        for (auto it = parent->children.begin(); it != parent->children.end(); ++it)
            if (Same(it->first, leaf)) {
                if (current_ && Contains(*it->second, current_)) current_ = nullptr;
                // As the wide calls do: the keys below go one by one first,
                // up to one that may not be deleted.
                if (!DeleteBelow(*it->second, Lower(joined)) || protected_.count(Lower(joined))) return false;
                parent->index.erase(Lower(leaf));
                parent->children.erase(it);
                return true;
            }
        return false;
    }
    // Called with the call's name and the open key's path (below its root)
    // by ReadContents, ReadValue, WriteValue, DeleteValue and WriteString,
    // and with the lower-cased path of each key below a deleted one
    // ("DeleteKey") just before it goes: a test raises from it.
    std::function<void(const std::string& call, const std::string& path)> onCall;

    KeyContents ReadContents() override
    {
        if (!current_) throw QuilletError(FormatText(kFailedToGetData, ""));
        Called("ReadContents");
        KeyContents contents;
        for (auto& [n, v] : current_->values)
            contents.values.push_back({n, static_cast<std::uint32_t>(v.type), v.data});
        contents.subkeys = GetKeyNames();
        return contents;
    }

    void WriteValue(const RegistryValue& value) override
    {
        if (!current_) throw QuilletError(FormatText(kFailedToSetData, value.name));
        Called("WriteValue " + value.name);
        SetRaw(*current_, value.name, static_cast<ValueType>(value.type), value.data);
    }

    bool ReadValue(const std::string& name, RegistryValue& value) override
    {
        if (!current_) throw QuilletError(FormatText(kFailedToGetData, name));
        Called("ReadValue " + name);
        for (auto& [n, v] : current_->values)
            if (Same(n, name)) {
                value = {name, static_cast<std::uint32_t>(v.type), v.data};
                return true;
            }
        return false;
    }

    void DeleteValue(const std::string& name) override
    {
        if (!current_) throw QuilletError(FormatText(kFailedToSetData, name));
        Called("DeleteValue " + name);
        auto& values = current_->values;
        for (auto it = values.begin(); it != values.end(); ++it)
            if (Same(it->first, name)) {
                values.erase(it);
                return;
            }
    }

    int opens = 0;
    int viewsSet = 0;  // SetView calls

    // A second accessor of the same keys, with an open key of its own.
    void ShareKeysOf(FakeRegistry& other) { roots_ = other.roots_; }
    // Readers for the load's threads: the same keys, denials and call hook.
    bool readers = false;
    int readersMade = 0;
    std::unique_ptr<Registry> NewReader() override
    {
        if (!readers) return nullptr;
        ++readersMade;
        auto reader = std::make_unique<FakeRegistry>();
        reader->ShareKeysOf(*this);
        reader->denied_ = denied_;
        reader->onCall = onCall;
        return reader;
    }

private:
    Key& Tree(RootKey root, RegistryView view) { return (*roots_)[{root, view == RegistryView::Bits32}]; }
    static bool Same(const std::string& a, const std::string& b) { return Lower(a) == Lower(b); }
    static std::string Lower(std::string s)
    {
        for (char& c : s)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return s;
    }
    static std::string Trim(const std::string& path)
    {
        size_t b = 0, e = path.size();
        while (b < e && path[b] == '\\') ++b;
        while (e > b && path[e - 1] == '\\') --e;
        return path.substr(b, e - b);
    }
    static std::vector<std::string> Split(const std::string& path)
    {
        std::vector<std::string> parts;
        std::string part;
        for (char c : Trim(path) + "\\") {
            if (c == '\\') {
                if (!part.empty()) parts.push_back(part);
                part.clear();
            } else {
                part += c;
            }
        }
        return parts;
    }
    static Key* Walk(Key& from, const std::vector<std::string>& parts, bool create)
    {
        Key* key = &from;
        for (const auto& part : parts) {
            const auto found = key->index.find(Lower(part));
            Key* next = found == key->index.end() ? nullptr : found->second;
            if (!next) {
                if (!create) return nullptr;
                key->children.push_back({part, std::make_unique<Key>()});
                next = key->children.back().second.get();
                key->index[Lower(part)] = next;
            }
            key = next;
        }
        return key;
    }
    bool DeleteBelow(Key& key, const std::string& path)
    {
        while (!key.children.empty()) {
            auto& [name, child] = key.children.front();
            const std::string below = path + "\\" + Lower(name);
            if (denied_.count(below) || !DeleteBelow(*child, below) || protected_.count(below)) return false;
            if (onCall) onCall("DeleteKey", below);
            key.index.erase(Lower(name));
            key.children.erase(key.children.begin());
        }
        return true;
    }
    void Called(const std::string& call)
    {
        std::string joined;
        for (auto& p : currentPath_) joined += (joined.empty() ? "" : "\\") + p;
        if (onCall) onCall(call, joined);
    }
    static bool Contains(Key& key, Key* target)
    {
        if (&key == target) return true;
        for (auto& [name, child] : key.children)
            if (Contains(*child, target)) return true;
        return false;
    }

    std::map<std::pair<RootKey, bool>, Key> ownRoots_;  // (root, 32-bit view)
    std::map<std::pair<RootKey, bool>, Key>* roots_ = &ownRoots_;
    RootKey root_ = RootKey::CurrentUser;
    RegistryView view_ = RegistryView::Native;
    Key* current_ = nullptr;
    std::vector<std::string> currentPath_;
    std::set<std::string> denied_;
    std::set<std::string> protected_;
};

}  // namespace quillet::fakes
