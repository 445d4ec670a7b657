// The frame's layout: toolbar, status panel, the two lists and the splitter that the pointer drags between them.
#include "app/win32/MainLayout.h"

#include <windowsx.h>

#include "app/win32/LogList.h"
#include "app/win32/ProgramList.h"
#include "app/win32/ToolBar.h"
#include "runner/win32/AHMLed.h"

namespace quillet::win32 {

namespace {

constexpr int kStatusPanelHeight = 22;
constexpr int kLedWidth = 24;  // room for the status lamp at the strip's left
constexpr int kSplitterHeight = 4;
constexpr int kMinPaneHeight = 20;

// The pane is shown by the user's choice; whether the frame is shown yet
// does not matter: laid out before the first show, the panes keep their
// places then, and are not moved and drawn again.
bool PaneShown(HWND pane) { return (GetWindowLongW(pane, GWL_STYLE) & WS_VISIBLE) != 0; }

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

RECT RectInParent(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Moved, a window is drawn anew whole, with its children (a list's header):
// the bits copied from the old place show stale separators, grips and rows.
void Place(HWND window, int x, int y, int width, int height)
{
    const RECT before = RectInParent(window);
    if (SameRect(before, RECT{x, y, x + width, y + height})) return;
    SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

}  // namespace

void MainLayout::Arrange()
{
    const HWND frame = parts_.frame;
    // Minimised, the client area is empty: squeezing the panes into it would
    // lose the log's height for the restore and for the settings file.
    if (!parts_.statusBar || IsIconic(frame)) return;
    RECT client;
    GetClientRect(frame, &client);
    const int width = client.right;

    // The bar places itself; its grip and its parts are drawn anew at their new places.
    const RECT barBefore = RectInParent(parts_.statusBar);
    SendMessageA(parts_.statusBar, WM_SIZE, 0, 0);
    if (!SameRect(barBefore, RectInParent(parts_.statusBar)))
        RedrawWindow(parts_.statusBar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    RECT bar{};
    if (PaneShown(parts_.statusBar)) GetWindowRect(parts_.statusBar, &bar);
    const int bottom = client.bottom - (bar.bottom - bar.top);

    const HWND toolBar = parts_.toolBar->hwnd();
    const int toolBarHeight = parts_.toolBar->Height();
    Place(toolBar, 0, 0, width, toolBarHeight);
    const int top = PaneShown(toolBar) ? toolBarHeight : 0;
    parts_.led->Move(4, top + (kStatusPanelHeight - TAHMLed::kSize) / 2);
    Place(parts_.statusText, kLedWidth, top, width - kLedWidth, kStatusPanelHeight);

    const HWND log = parts_.log->hwnd();
    const int listTop = top + kStatusPanelHeight;
    const int room = bottom - listTop - kSplitterHeight;
    // The user's height stays as set; only what is drawn fits the window.
    int logHeight = logHeight_;
    if (logHeight > room - kMinPaneHeight) logHeight = room - kMinPaneHeight;
    if (logHeight < kMinPaneHeight) logHeight = kMinPaneHeight;
    // A hidden log leaves its room to the list; the splitter stays.
    const int listHeight = room - (PaneShown(log) ? logHeight : 0);
    Place(parts_.programs->hwnd(), 0, listTop, width, listHeight > 0 ? listHeight : 0);
    splitterTop_ = listTop + listHeight;
    Place(log, 0, splitterTop_ + kSplitterHeight, width, logHeight);

    parts_.log->FitActionColumn();
}

bool MainLayout::SplitterHit(int y) const { return y >= splitterTop_ && y < splitterTop_ + kSplitterHeight; }

bool MainLayout::OnSetCursor(LPARAM lParam) const
{
    if (LOWORD(lParam) != HTCLIENT) return false;
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(parts_.frame, &p);
    if (!SplitterHit(p.y)) return false;
    SetCursor(LoadCursorA(nullptr, IDC_SIZENS));
    return true;
}

void MainLayout::OnButtonDown(LPARAM lParam)
{
    if (SplitterHit(GET_Y_LPARAM(lParam))) {
        dragging_ = true;
        SetCapture(parts_.frame);
    }
}

void MainLayout::OnMouseMove(LPARAM lParam)
{
    if (!dragging_) return;
    RECT bar;
    GetWindowRect(parts_.statusBar, &bar);
    RECT client;
    GetClientRect(parts_.frame, &client);
    const int bottom = client.bottom - (bar.bottom - bar.top);
    logHeight_ = bottom - GET_Y_LPARAM(lParam) - kSplitterHeight / 2;
    Arrange();
    // A drag sets the height the user sees.
    RECT shown;
    GetWindowRect(parts_.log->hwnd(), &shown);
    logHeight_ = shown.bottom - shown.top;
}

void MainLayout::OnButtonUp(UINT message)
{
    if (dragging_) {
        dragging_ = false;
        if (message == WM_LBUTTONUP) ReleaseCapture();
    }
}

}  // namespace quillet::win32
