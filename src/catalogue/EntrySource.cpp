#include "catalogue/EntrySource.h"

#include <algorithm>

#include "common/Text.h"

namespace quillet {

namespace {

constexpr const char* kUninstallBelowSoftware = "\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

bool EndsWithNoCase(const std::string& text, const std::string& tail)
{
    if (text.size() < tail.size()) return false;
    for (size_t i = 0; i < tail.size(); ++i)
        if (AsciiLower(text[text.size() - tail.size() + i]) != AsciiLower(tail[i])) return false;
    return true;
}

bool SameNoCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && EndsWithNoCase(a, b);
}

}  // namespace

std::string SourceText(EntryHive hive, RegistryView view, const std::string& user)
{
    switch (hive) {
    case EntryHive::CurrentUser: return "User";
    case EntryHive::OtherUser: return "User: " + user;
    case EntryHive::Machine: break;
    }
    return PlatformText(view);
}

RootKey SourceRoot(EntryHive hive)
{
    switch (hive) {
    case EntryHive::CurrentUser: return RootKey::CurrentUser;
    case EntryHive::OtherUser: return RootKey::Users;
    case EntryHive::Machine: break;
    }
    return RootKey::LocalMachine;
}

std::string SourceUninstallKey(EntryHive hive, const std::string& sid)
{
    const std::string below = std::string("\\Software") + kUninstallBelowSoftware + "\\";
    return hive == EntryHive::OtherUser ? "\\" + sid + below : below;
}

std::string SourceEditorPath(EntryHive hive, RegistryView view, const std::string& sid)
{
    switch (hive) {
    case EntryHive::CurrentUser: return std::string("HKEY_CURRENT_USER\\Software") + kUninstallBelowSoftware;
    case EntryHive::OtherUser: return "HKEY_USERS\\" + sid + "\\Software" + kUninstallBelowSoftware;
    case EntryHive::Machine: break;
    }
    // The 32-bit view's keys live below Wow6432Node, where the editor restores them.
    if (view == RegistryView::Bits32) return std::string("HKEY_LOCAL_MACHINE\\Software\\Wow6432Node") + kUninstallBelowSoftware;
    return std::string("HKEY_LOCAL_MACHINE\\Software") + kUninstallBelowSoftware;
}

void RememberedAccounts::Ask(UserAccounts& accounts)
{
    if (accounts_ == &accounts) return;
    accounts_ = &accounts;
    current_.reset();
    names_.clear();
}

std::string RememberedAccounts::CurrentSid()
{
    if (!current_) current_ = accounts_ ? accounts_->CurrentSid() : std::string();
    return *current_;
}

std::string RememberedAccounts::NameOf(const std::string& sid)
{
    const auto known = names_.find(sid);
    if (known != names_.end()) return known->second;
    return names_[sid] = accounts_ ? accounts_->NameOf(sid) : std::string();
}

std::vector<WatchedKey> WatchedKeys(Registry& registry, const std::vector<EntrySource>& sources)
{
    // First, so that a cut of a long list keeps it.
    std::vector<WatchedKey> keys{{RootKey::Users, "", RegistryView::Native, false}};
    const auto add = [&keys](WatchedKey key) {
        if (std::find(keys.begin(), keys.end(), key) == keys.end()) keys.push_back(std::move(key));
    };
    for (const EntrySource& source : sources) {
        const RootKey root = SourceRoot(source.hive);
        registry.SetRootKey(root);
        if (source.view != RegistryView::Native) registry.SetView(source.view);
        std::string path = SourceUninstallKey(source.hive, source.sid);
        path = path.substr(1, path.size() - 2);
        bool whole = true;
        while (!path.empty() && !registry.KeyExists("\\" + path)) {
            const size_t cut = path.rfind('\\');
            path.erase(cut == std::string::npos ? 0 : cut);
            whole = false;
        }
        add({root, path, source.view, whole});
    }
    registry.SetRootKey(RootKey::LocalMachine);
    return keys;
}

std::vector<EntrySource> OtherUserSources(Registry& registry, UserAccounts& accounts)
{
    std::vector<EntrySource> sources;
    registry.SetRootKey(RootKey::Users);
    if (!registry.OpenKey("\\", false)) return sources;
    const std::vector<std::string> hives = registry.GetKeyNames();
    registry.CloseKey();
    const std::string current = accounts.CurrentSid();
    for (const std::string& sid : hives) {
        if (sid.empty() || sid == ".DEFAULT" || EndsWithNoCase(sid, "_Classes")) continue;
        if (!current.empty() && SameNoCase(sid, current)) continue;
        // A name with a backslash would walk out of the hive.
        if (sid.find('\\') != std::string::npos) continue;
        std::string name = accounts.NameOf(sid);
        sources.push_back({EntryHive::OtherUser, RegistryView::Native, sid, name.empty() ? sid : name});
    }
    return sources;
}

}  // namespace quillet
