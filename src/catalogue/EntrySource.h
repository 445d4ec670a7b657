#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/Registry.h"
#include "catalogue/RegistryView.h"

namespace quillet {

// Whose uninstall entries: the machine's, the signed-in user's (HKCU), or
// another user's hive loaded below HKEY_USERS.
enum class EntryHive : unsigned char { Machine, CurrentUser, OtherUser };

// Where a list of entries is read: a hive, its view (the machine's only; a
// user's Software key is not redirected), and for another user the SID that
// names the hive and the user's name as shown.
struct EntrySource {
    EntryHive hive = EntryHive::Machine;
    RegistryView view = RegistryView::Native;
    std::string sid;   // OtherUser only
    std::string user;  // OtherUser only: the account's name, or the SID when it has none
};

// The Source column's text: "64-bit", "32-bit", "User", "User: NAME"; the
// machine's only view (32-bit Windows) shows nothing.
std::string SourceText(EntryHive hive, RegistryView view, const std::string& user);

// The root key the source's entries are opened below.
RootKey SourceRoot(EntryHive hive);
// The source's Uninstall key below that root, with a trailing '\'.
std::string SourceUninstallKey(EntryHive hive, const std::string& sid);
// The Uninstall key as the registry editor names it (no trailing '\'):
// HKEY_LOCAL_MACHINE\..., below Wow6432Node for the 32-bit view,
// HKEY_CURRENT_USER\..., HKEY_USERS\SID\....
std::string SourceEditorPath(EntryHive hive, RegistryView view, const std::string& sid);

// A key the live list follows: a source's Uninstall key with everything
// below it or, while that key is missing, the nearest key above it that
// exists, for its subkeys' names only (where the missing one will appear).
struct WatchedKey {
    RootKey root = RootKey::LocalMachine;
    std::string path;  // below the root, no leading or trailing '\'; empty: the root itself
    RegistryView view = RegistryView::Native;
    bool subtree = false;
    bool operator==(const WatchedKey& o) const
    {
        return root == o.root && path == o.path && view == o.view && subtree == o.subtree;
    }
};

// HKEY_USERS itself (names only), for a hive loaded later as a user signs
// in, then what tells of every change to the sources' entries. Each key once.
// Leaves the accessor at the machine's root, as a load does.
std::vector<WatchedKey> WatchedKeys(Registry& registry, const std::vector<EntrySource>& sources);

// The account names the list shows for the hives below HKEY_USERS.
class UserAccounts {
public:
    virtual ~UserAccounts() = default;
    // The SID of the user the program runs as: that hive is HKCU, not another user's.
    virtual std::string CurrentSid() = 0;
    // The account's name ("DOMAIN\name" or "name"); empty when it cannot be told.
    virtual std::string NameOf(const std::string& sid) = 0;
};

// The accounts as another port names them, each asked once for the run:
// looking a name up may wait on a domain controller, on the window's
// thread, and the list loads again after every change. An account renamed
// meanwhile keeps its old name until the program starts again.
class RememberedAccounts : public UserAccounts {
public:
    // Asks `accounts` from now on; forgets what any other port said.
    void Ask(UserAccounts& accounts);
    std::string CurrentSid() override;
    std::string NameOf(const std::string& sid) override;

private:
    UserAccounts* accounts_ = nullptr;
    std::optional<std::string> current_;
    std::map<std::string, std::string> names_;
};

// The other users' sources: every hive below HKEY_USERS except the current
// user's, ".DEFAULT" and the "_Classes" hives, named through the accounts
// port. Raises nothing: a hive that cannot be listed is left out.
std::vector<EntrySource> OtherUserSources(Registry& registry, UserAccounts& accounts);

}  // namespace quillet
