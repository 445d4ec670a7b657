#pragma once
#include <functional>

namespace quillet {

// Keeps the program list following the registry: after a burst of changes
// made outside has settled, the list reloads, but never while a box is open
// or a command runs; a reload due then comes as soon as the program is idle.
// Nothing runs while nothing changes: the timer is started by a change and
// stopped when it fires.
class LiveList {
public:
    static constexpr int kSettleMs = 300;

    // The shell's one-shot timer: (re)started for a time, or stopped.
    std::function<void(int ms)> StartTimer;
    std::function<void()> StopTimer;
    // A box is open: a reload would change the rows under its command.
    std::function<bool()> Busy;
    std::function<void()> Reload;
    // The changes noticed so far are no news (the list is reading them, or
    // they are Quillet's own).
    std::function<void()> Absorb;
    // A load has read its sources: the shell follows the keys they are in
    // now (a user's new hive, an Uninstall key made since).
    std::function<void()> FollowSources;

    // The watched keys changed: wait until they have been quiet a while.
    void RegistryChanged()
    {
        waiting_ = true;
        if (StartTimer) StartTimer(kSettleMs);
    }
    void TimerFired()
    {
        Stop();
        due_ = true;
    }
    // The message queue is empty, no handler runs: a due reload happens now.
    void Idle()
    {
        if (!due_ || (Busy && Busy())) return;
        due_ = false;
        if (Reload) Reload();
    }
    // A load starts: it reads every change made so far.
    void Covered()
    {
        Stop();
        due_ = false;
        if (Absorb) Absorb();
    }
    void Loaded()
    {
        if (FollowSources) FollowSources();
    }
    // A command of Quillet's changed the registry and its rows itself.
    void OwnChangesMade()
    {
        if (Absorb) Absorb();
    }
    bool Due() const { return due_; }
    bool Waiting() const { return waiting_; }

private:
    void Stop()
    {
        if (waiting_ && StopTimer) StopTimer();
        waiting_ = false;
    }

    bool waiting_ = false;  // the timer runs
    bool due_ = false;
};

}  // namespace quillet
