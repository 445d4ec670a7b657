// The main window's hints and menus: what the pointer rests on, the menu item
// selected, the menus' enabling as they open and the context menus.
#include <windows.h>

#include "app/win32/HintText.h"
#include "app/win32/MainWindow.h"
#include "app/win32/QueueCommands.h"
#include "common/win32/Resource.h"

namespace quillet::win32 {

void MainWindow::OnMenuSelect(UINT item, UINT flags, HMENU menu)
{
    std::string hint = MainMenus::SelectHint(item, flags, menu);
    // Undo's hint names what it takes back.
    if (item == IDM_UNDO && !(flags & (MF_POPUP | MF_SEPARATOR)))
        core_.Guard([&] {
            if (!core_.Editing().UndoText().empty()) hint = core_.Editing().UndoText();
        });
    core_.Guard([&] { core_.Views().AppEventsHint(hint); });
}

void MainWindow::OnIdle()
{
    // No handler runs and no box is open: a reload that was due happens now.
    core_.Live().Idle();
    POINT at;
    if (!GetCursorPos(&at)) return;
    HWND under = WindowFromPoint(at);
    HWND window = nullptr;
    int command = -1;
    const std::string* linkHint = about_ ? about_->LinkHint(under) : nullptr;
    if (linkHint) {
        window = under;
        command = 0;
    } else if (under == toolBar_.hwnd()) {
        if (const int button = toolBar_.CommandAt(at)) {
            window = toolBar_.hwnd();
            command = button;
        }
    } else if (under == log_.hwnd() || (under && GetParent(under) == log_.hwnd())) {
        window = log_.hwnd();
        command = IDC_LOG;
    } else if (under == programs_.hwnd()) {
        window = under;
        command = programs_.RowAt(at);  // a row, or -1 where none is
    }
    // Hints follow the pointer's moves: where it rests as the window opens
    // says nothing, or it would wipe out the reason of a row focused by then.
    const bool first = !hintStarted_;
    hintStarted_ = true;
    if (window == hintWindow_ && command == hintCommand_) return;
    hintWindow_ = window;
    hintCommand_ = command;
    if (first) return;
    if (window == programs_.hwnd() && command >= 0) {
        core_.Guard([&] { core_.Catalogue().PointedAt(command); });
        return;
    }
    const std::string hint = linkHint ? *linkHint : command >= 0 ? HintText(command) : std::string();
    core_.Guard([&] { core_.Views().AppEventsHint(hint); });
}

void MainWindow::OnInitMenuPopup(HMENU menu)
{
    if (menu == menus_.FileMenu()) core_.Guard([&] { core_.Views().FileMMClick(); });
    else if (menu == menus_.BaseMenu() || menu == menus_.EditMenu()) core_.Guard([&] { core_.Views().BaseMenuPopup(); });
    else if (menu == menus_.LogMenu()) core_.Guard([&] { core_.Logging().LogMenuPopup(); });
    EnableQueueItems(core_, menu, log_.Focused());
}

void MainWindow::OnContextMenu(HWND control, LPARAM position)
{
    menus_.ShowContextMenu(control, position, programs_.hwnd(), log_.hwnd(), toolBar_.hwnd());
}

}  // namespace quillet::win32
