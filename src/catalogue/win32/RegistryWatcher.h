// Watches registry keys, each with everything below it, and tells a window when one changed.
#pragma once
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "common/win32/Handles.h"

namespace quillet::win32 {

// One thread waits on an event per key (RegNotifyChangeKeyValue: names and
// values of the subtree, or the names of the direct subkeys) and posts
// `message` to the window after a change; at most one such message is queued
// at a time. Between changes nothing runs, but for a key that went (a user's
// hive unloaded, say): its going is a change, and it is looked for again now
// and then, its return another.
class RegistryWatcher {
public:
    struct Key {
        HKEY root;
        std::string path;  // UTF-8
        REGSAM view = 0;  // KEY_WOW64_64KEY or KEY_WOW64_32KEY; 0: the program's own
        bool subtree = true;  // false: only its direct subkeys' names
    };

    RegistryWatcher() = default;
    RegistryWatcher(const RegistryWatcher&) = delete;
    RegistryWatcher& operator=(const RegistryWatcher&) = delete;
    ~RegistryWatcher() { Stop(); }

    // False when none of the keys could be watched.
    bool Start(const std::vector<Key>& keys, HWND window, UINT message);
    void Stop();

    // On the window's thread, for each message: something changed since the
    // last call (or since Absorb).
    bool TakeChange();
    // On the window's thread: what changed up to now is known already (the
    // list is being read, or the program made the changes itself).
    void Absorb();

private:
    struct Watched {
        RegKey key;
        Handle event;
        Key where;  // to open it again
    };
    static DWORD WINAPI Run(void* self);
    void Wait();
    // Asks for the next change of that key; false when it can no longer be watched.
    bool Arm(Watched& watched);
    // Opens the key again by its path (deleted and made again, say) and arms it.
    bool Reopen(Watched& watched);
    // The message, tried again while the window's queue is full.
    void Post();

    std::vector<Watched> watched_;
    Handle stop_;
    Handle thread_;
    HWND window_ = nullptr;
    UINT message_ = 0;
    std::atomic<unsigned> changes_{0};  // counted by whichever thread took the event
    std::atomic<bool> posted_{false};
    unsigned taken_ = 0;  // the window thread's count
};

}  // namespace quillet::win32
