// The toolbar: its buttons with captions or tooltips, and the Views drop-down.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>

#include "app/MainView.h"

namespace quillet::win32 {

class ToolBar {
public:
    ToolBar() = default;
    ToolBar(const ToolBar&) = delete;
    ToolBar& operator=(const ToolBar&) = delete;
    ~ToolBar();

    void Create(HWND parent, HFONT font);
    HWND hwnd() const { return toolBar_; }
    // The height that fits the buttons.
    int Height() const;

    void Enable(Button button, bool enabled);
    bool Enabled(Button button) const;
    void SetTextLabels(bool on);
    // The command of the button under a screen point; 0 for none.
    int CommandAt(POINT at) const;
    // A tooltip's text or the Views drop-down; false for other notifications.
    bool Notify(NMHDR* header, LRESULT& result);

    // The Views arrow was pressed; the menu goes at this screen point.
    std::function<void(POINT)> OnViewsDropDown;

private:
    HWND toolBar_ = nullptr;
    HIMAGELIST inactiveImages_ = nullptr, activeImages_ = nullptr;
};

}  // namespace quillet::win32
