// The watcher against Wine's registry: a watched key that goes (a user's
// hive unloaded) and comes back is followed again.
#include <windows.h>

#include <gtest/gtest.h>

#include "catalogue/win32/RegistryWatcher.h"

using quillet::win32::RegistryWatcher;

namespace {

constexpr UINT kChanged = WM_APP + 7;
const char* const kHive = "QuilletWatchedHive";

void EnablePrivilege(const char* name)
{
    HANDLE token;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token));
    TOKEN_PRIVILEGES privileges{1, {{{0, 0}, SE_PRIVILEGE_ENABLED}}};
    EXPECT_TRUE(LookupPrivilegeValueA(nullptr, name, &privileges.Privileges[0].Luid));
    EXPECT_TRUE(AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr));
    CloseHandle(token);
}

void MakeKey(const std::string& path)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_USERS, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

// True when the watcher's message came within `ms`.
bool Changed(HWND window, DWORD ms)
{
    const DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < ms) {
        if (PeekMessageA(&msg, window, kChanged, kChanged, PM_REMOVE)) return true;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_POSTMESSAGE);
    }
    return false;
}

TEST(RegistryWatcherTest, AKeyThatWentAndCameBackIsFollowedAgain)
{
    EnablePrivilege(SE_RESTORE_NAME);
    EnablePrivilege(SE_BACKUP_NAME);
    RegDeleteTreeA(HKEY_USERS, kHive);
    const std::string uninstall = std::string(kHive) + "\\Uninstall";
    MakeKey(uninstall + "\\Entry");
    HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    RegistryWatcher watcher;
    ASSERT_TRUE(watcher.Start({{HKEY_USERS, uninstall, 0}}, window, kChanged));

    // Unloaded as a whole, in one call: the watcher wakes to a key already gone.
    ASSERT_EQ(RegUnLoadKeyA(HKEY_USERS, kHive), ERROR_SUCCESS);
    EXPECT_TRUE(Changed(window, 5000));
    EXPECT_TRUE(watcher.TakeChange());
    MakeKey(uninstall + "\\Back");
    EXPECT_TRUE(Changed(window, 10000)) << "its return is a change";
    EXPECT_TRUE(watcher.TakeChange());
    MakeKey(uninstall + "\\Later");
    EXPECT_TRUE(Changed(window, 5000)) << "and it is watched again";

    watcher.Stop();
    DestroyWindow(window);
    RegDeleteTreeA(HKEY_USERS, kHive);
}

}  // namespace
