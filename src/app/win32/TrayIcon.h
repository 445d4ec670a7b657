#pragma once
#include <windows.h>
#include <shellapi.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/Tray.h"

namespace quillet::win32 {

// The notification-area icon: a hidden window of its own receives the icon's
// mouse messages; while animated, a timer thread steps through the frames.
class TRxTrayIcon : public TrayIcon {
public:
    static constexpr const char* kClassName = "TRxTrayIconWindow";
    static constexpr UINT kCallbackMessage = WM_APP + 0x100;

    TRxTrayIcon() = default;
    ~TRxTrayIcon() override;
    TRxTrayIcon(const TRxTrayIcon&) = delete;
    TRxTrayIcon& operator=(const TRxTrayIcon&) = delete;

    // Makes the hidden window; the icon shows from Show on. The animation's
    // frames are loaded when it first runs: loading them is most of the
    // icon's cost, and most runs never animate.
    void Create(HICON icon, std::function<std::vector<HICON>()> loadFrames);
    void Show();
    // Explorer started (again): its notification area knows no icon of ours.
    void ShellRestarted();
    void Destroy();

    void SetHint(const std::string& hint) override;
    void SetAnimated(bool animated) override;
    void EnableUninstall(bool enabled) override { uninstallEnabled_ = enabled; }
    bool UninstallEnabled() const { return uninstallEnabled_; }
    int Interval = kTrayInterval;

    // The menu to show on a right click (built by the owner) and what to do
    // with the chosen command; the double-click handler.
    std::function<HMENU()> PopupMenu;
    std::function<void(int)> OnCommand;
    std::function<void()> OnDblClick;
    // The menu's highlighted item changed (WM_MENUSELECT's parts).
    std::function<void(UINT item, UINT flags, HMENU menu)> OnMenuSelect;
    int Frame()
    {
        std::lock_guard<std::mutex> guard(lock_);
        return frame_;
    }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void OnMouse(UINT message);
    void ShowMenu();
    // Sends the record to the shell; the caller holds the lock. False when
    // the shell refused it (or it was not sent: an icon never added).
    bool Update(DWORD action);
    void StopTimer();
    void Run();

    HWND window_ = nullptr;
    HICON icon_ = nullptr;
    std::function<std::vector<HICON>()> loadFrames_;
    std::vector<HICON> frames_;
    bool uninstallEnabled_ = true;
    bool rightDown_ = false;

    // The icon record and the frame index are shared with the timer thread.
    std::mutex lock_;
    std::condition_variable wake_;
    NOTIFYICONDATAW data_{};
    bool added_ = false;
    bool animated_ = false;
    int frame_ = 0;
    std::string hint_;
    std::thread timer_;
};

}  // namespace quillet::win32
