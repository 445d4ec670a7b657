// Watches registry keys, each with everything below it or its subkeys' names, and tells a window when one changed.
#include "catalogue/win32/RegistryWatcher.h"

#include <algorithm>

#include "common/win32/Wide.h"

namespace quillet::win32 {

bool RegistryWatcher::Start(const std::vector<Key>& keys, HWND window, UINT message)
{
    Stop();
    window_ = window;
    message_ = message;
    for (const Key& key : keys) {
        Watched watched;
        watched.where = key;
        if (RegOpenKeyExW(key.root, Wide(key.path).c_str(), 0, KEY_NOTIFY | key.view, watched.key.put()) != ERROR_SUCCESS)
            continue;
        watched.event.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
        if (watched.event && Arm(watched)) watched_.push_back(std::move(watched));
    }
    // Wait can take at most MAXIMUM_WAIT_OBJECTS handles, the stop event among them.
    if (watched_.empty() || watched_.size() >= MAXIMUM_WAIT_OBJECTS) {
        watched_.clear();
        return false;
    }
    stop_.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (stop_) thread_.reset(CreateThread(nullptr, 0, Run, this, 0, nullptr));
    if (!thread_) {
        watched_.clear();
        return false;
    }
    return true;
}

void RegistryWatcher::Stop()
{
    if (thread_) {
        SetEvent(stop_.get());
        WaitForSingleObject(thread_.get(), INFINITE);
        thread_.reset();
    }
    stop_.reset();
    watched_.clear();
}

bool RegistryWatcher::Arm(Watched& watched)
{
    const bool subtree = watched.where.subtree;
    const DWORD filter = REG_NOTIFY_CHANGE_NAME | (subtree ? REG_NOTIFY_CHANGE_LAST_SET : 0);
    return RegNotifyChangeKeyValue(watched.key.get(), subtree, filter, watched.event.get(), TRUE) ==
           ERROR_SUCCESS;
}

bool RegistryWatcher::Reopen(Watched& watched)
{
    RegKey key;
    const Key& where = watched.where;
    if (RegOpenKeyExW(where.root, Wide(where.path).c_str(), 0, KEY_NOTIFY | where.view, key.put()) != ERROR_SUCCESS)
        return false;
    watched.key = std::move(key);
    return Arm(watched);
}

void RegistryWatcher::Post()
{
    if (posted_.exchange(true)) return;
    // A failed post left as it is would stop every later one: the flag stays set.
    for (int tries = 0; tries < 50; ++tries) {
        if (PostMessageA(window_, message_, 0, 0)) return;
        if (WaitForSingleObject(stop_.get(), 100) == WAIT_OBJECT_0) break;
    }
    posted_ = false;
}

DWORD WINAPI RegistryWatcher::Run(void* self)
{
    static_cast<RegistryWatcher*>(self)->Wait();
    return 0;
}

void RegistryWatcher::Wait()
{
    std::vector<Watched*> live, gone;
    for (Watched& watched : watched_) live.push_back(&watched);
    DWORD retry = 1000;  // ms until a key that went is looked for again; longer each time
    for (;;) {
        std::vector<HANDLE> handles{stop_.get()};
        for (Watched* watched : live) handles.push_back(watched->event.get());
        const DWORD woken = WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE,
                                                   gone.empty() ? INFINITE : retry);
        if (woken == WAIT_TIMEOUT) {
            retry = std::min<DWORD>(retry * 2, 60000);
            for (auto it = gone.begin(); it != gone.end();) {
                if (!Reopen(**it)) {
                    ++it;
                    continue;
                }
                // Back: what it holds now is a change.
                live.push_back(*it);
                it = gone.erase(it);
                ++changes_;
                Post();
            }
            continue;
        }
        if (woken <= WAIT_OBJECT_0 || woken >= WAIT_OBJECT_0 + handles.size()) return;  // stopped, or failed
        const size_t index = woken - WAIT_OBJECT_0 - 1;
        ++changes_;
        // A key that cannot be asked again (deleted) is opened again by its
        // path; when it is not there, the window still hears of the change
        // and the key is looked for again later.
        if (!Arm(*live[index]) && !Reopen(*live[index])) {
            gone.push_back(live[index]);
            live.erase(live.begin() + static_cast<std::ptrdiff_t>(index));
            retry = 1000;
        }
        Post();
    }
}

bool RegistryWatcher::TakeChange()
{
    // Cleared before the count is read: a change counted afterwards posts again.
    posted_ = false;
    const unsigned changes = changes_;
    const bool changed = changes != taken_;
    taken_ = changes;
    return changed;
}

void RegistryWatcher::Absorb()
{
    if (!thread_) return;
    // Changes signalled but not yet taken by the waiting thread: taken here.
    for (Watched& watched : watched_) {
        if (WaitForSingleObject(watched.event.get(), 0) != WAIT_OBJECT_0) continue;
        ++changes_;
        // One that cannot be asked again is the waiting thread's to open again.
        if (!Arm(watched)) SetEvent(watched.event.get());
    }
    taken_ = changes_;
}

}  // namespace quillet::win32
