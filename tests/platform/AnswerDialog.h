#pragma once
#include <windows.h>

#include <thread>

// For tests of modal dialogs: the test thread runs the dialog's loop while a
// helper thread waits for the dialog and acts on it as a user would.
namespace platform_test {

// A visible dialog of this process with the caption, or null after 5 s.
inline HWND WaitForDialog(const char* caption)
{
    for (int i = 0; i < 500; ++i) {
        HWND found = FindWindowA("#32770", caption);
        if (found && IsWindowVisible(found)) return found;
        Sleep(10);
    }
    return nullptr;
}

// Runs `act` on another thread once the dialog shows; `where`, when given,
// receives the dialog's screen rectangle first.
template <class Act>
std::thread Answer(const char* caption, Act act, RECT* where = nullptr)
{
    return std::thread([=] {
        HWND dialog = WaitForDialog(caption);
        if (!dialog) return;
        if (where) GetWindowRect(dialog, where);
        act(dialog);
    });
}

}  // namespace platform_test
