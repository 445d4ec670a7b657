// The frame's side of MainView: each view update handed to the pane that shows it.
#include "app/win32/MainWindow.h"

#include "common/win32/Wide.h"

namespace quillet::win32 {

void MainWindow::ProgramsReplaced(size_t count) { programs_.Replaced(count); }

int MainWindow::FocusedProgram() const { return programs_.Focused(); }

void MainWindow::FocusProgram(int index) { programs_.Focus(index); }

void MainWindow::ProgramAdded(size_t count) { programs_.Added(count); }

void MainWindow::ProgramRemoved(int index, size_t count) { programs_.Removed(index, count); }

void MainWindow::ProgramChanged(int index) { programs_.RedrawRow(index); }

void MainWindow::ActivatePrograms()
{
    activeControl_ = programs_.hwnd();
    if (GetActiveWindow() == hwnd_) SetFocus(programs_.hwnd());
}

void MainWindow::UpdateHeaderImages(int sortColumn, bool ascending)
{
    programs_.UpdateHeaderImages(sortColumn, ascending);
}

void MainWindow::RowsReordered(int focused) { programs_.Reordered(focused); }

void MainWindow::LogInserted(bool dropped) { log_.Inserted(core_.Log().Size(), dropped); }

void MainWindow::BeginBulkChange()
{
    programs_.StopRedraw();
    log_.StopRedraw();
}

void MainWindow::EndBulkChange()
{
    programs_.Redraw();
    log_.Redraw();
}

void MainWindow::LogCleared() { log_.Cleared(); }

void MainWindow::LogRowChanged(size_t row) { log_.RedrawRow(static_cast<int>(row)); }

int MainWindow::FocusedLogRow() const { return log_.Focused(); }

void MainWindow::EnableButton(Button button, bool enabled) { toolBar_.Enable(button, enabled); }

bool MainWindow::ButtonEnabled(Button button) const { return toolBar_.Enabled(button); }

void MainWindow::EnableMenuItem(MenuItem item, bool enabled) { menus_.Enable(item, enabled); }

bool MainWindow::MenuItemEnabled(MenuItem item) const { return menus_.Enabled(item); }

void MainWindow::CheckMenuItem(MenuItem item, bool checked) { menus_.Check(item, checked); }

bool MainWindow::MenuItemChecked(MenuItem item) const { return menus_.Checked(item); }

void MainWindow::SetMenuItemText(MenuItem item, const std::string& text) { menus_.SetText(item, text); }

void MainWindow::ShowPane(Pane pane, bool visible)
{
    HWND window = pane == Pane::ToolBar ? toolBar_.hwnd() : pane == Pane::Log ? log_.hwnd() : statusBar_;
    ShowWindow(window, visible ? SW_SHOW : SW_HIDE);
    // A hidden log gives the focus to the program list, or Find would search it.
    if (!visible && activeControl_ == log_.hwnd()) {
        activeControl_ = programs_.hwnd();
        if (GetActiveWindow() == hwnd_) SetFocus(activeControl_);
    }
    layout_.Arrange();
}

void MainWindow::SetTextLabels(bool on)
{
    toolBar_.SetTextLabels(on);
    layout_.Arrange();
    InvalidateRect(toolBar_.hwnd(), nullptr, TRUE);
}

void MainWindow::SetViewStyle(ViewStyle style) { programs_.SetViewStyle(style); }

void MainWindow::SetStatusText(const std::string& text) { SetWindowTextW(statusText_, Wide(text).c_str()); }

void MainWindow::SetLed(bool on) { led_.SetLedisOn(on); }

void MainWindow::SetStatusPanel(int panel, const std::string& text)
{
    SendMessageW(statusBar_, SB_SETTEXTW, panel, reinterpret_cast<LPARAM>(Wide(text).c_str()));
}

bool MainWindow::LogActive() const { return activeControl_ == log_.hwnd(); }

void MainWindow::FocusLogRow(int index) { log_.Focus(index); }

int MainWindow::GetSize(Size size) const
{
    switch (size) {
    case Size::LogHeight: return layout_.LogHeight();
    case Size::TimeWidth: return log_.ColumnWidth(0);
    case Size::CommentWidth: return log_.ColumnWidth(2);
    case Size::NameWidth: return programs_.ColumnWidth(0);
    case Size::CmdLineWidth: return programs_.ColumnWidth(1);
    case Size::SubKeyWidth: return programs_.ColumnWidth(2);
    case Size::PlatformWidth: return programs_.ColumnWidth(3);
    case Size::PublisherWidth: return programs_.ColumnWidth(4);
    case Size::VersionWidth: return programs_.ColumnWidth(5);
    case Size::InstalledWidth: return programs_.ColumnWidth(6);
    case Size::SizeWidth: return programs_.ColumnWidth(7);
    }
    return 0;
}

void MainWindow::SetSize(Size size, int pixels)
{
    switch (size) {
    case Size::LogHeight: layout_.SetLogHeight(pixels); break;
    case Size::TimeWidth: log_.SetColumnWidth(0, pixels); break;
    case Size::CommentWidth: log_.SetColumnWidth(2, pixels); break;
    case Size::NameWidth: programs_.SetColumnWidth(0, pixels); break;
    case Size::CmdLineWidth: programs_.SetColumnWidth(1, pixels); break;
    case Size::SubKeyWidth: programs_.SetColumnWidth(2, pixels); break;
    case Size::PlatformWidth: programs_.SetColumnWidth(3, pixels); break;
    case Size::PublisherWidth: programs_.SetColumnWidth(4, pixels); break;
    case Size::VersionWidth: programs_.SetColumnWidth(5, pixels); break;
    case Size::InstalledWidth: programs_.SetColumnWidth(6, pixels); break;
    case Size::SizeWidth: programs_.SetColumnWidth(7, pixels); break;
    }
    layout_.Arrange();
}

void MainWindow::ShowApplication(bool shown)
{
    application_.ShowButton(shown);
}

void MainWindow::BringToFront()
{
    application_.Restore();
    HWND last = GetLastActivePopup(hwnd_);
    if (IsWindowVisible(last) && IsWindowEnabled(last)) SetForegroundWindow(last);
}

WindowPlacement MainWindow::GetPlacement() const
{
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(hwnd_, &wp);
    return {static_cast<int>(wp.flags), static_cast<int>(wp.showCmd),
            {wp.ptMinPosition.x, wp.ptMinPosition.y, wp.ptMaxPosition.x, wp.ptMaxPosition.y},
            {wp.rcNormalPosition.left, wp.rcNormalPosition.top, wp.rcNormalPosition.right,
             wp.rcNormalPosition.bottom}};
}

void MainWindow::SetPlacement(const WindowPlacement& p)
{
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    wp.flags = static_cast<UINT>(p.flags);
    wp.showCmd = static_cast<UINT>(p.showCmd);
    wp.ptMinPosition = {p.minMax[0], p.minMax[1]};
    wp.ptMaxPosition = {p.minMax[2], p.minMax[3]};
    wp.rcNormalPosition = {p.normal[0], p.normal[1], p.normal[2], p.normal[3]};
    // The placement it has already: set again, the window is moved and
    // drawn again all the same (Wine).
    if (p == GetPlacement()) return;
    SetWindowPlacement(hwnd_, &wp);
}

bool MainWindow::WindowVisible() const { return IsWindowVisible(hwnd_) != FALSE; }

bool MainWindow::AppMinimised() const { return application_.Minimised(); }

ScreenInfo MainWindow::Screen() const
{
    ScreenInfo screen;
    screen.width = GetSystemMetrics(SM_CXSCREEN);
    screen.height = GetSystemMetrics(SM_CYSCREEN);
    HDC dc = GetDC(nullptr);
    screen.pixelsPerInch = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    screen.frameX = GetSystemMetrics(SM_CXFRAME);
    screen.frameY = GetSystemMetrics(SM_CYFRAME);
    return screen;
}

bool MainWindow::OnActivate(WPARAM state)
{
    // Another window takes the keyboard (a console, a box, another program):
    // the pane that had it is kept; activated again, that pane gets it back.
    if (LOWORD(state) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus == programs_.hwnd() || focus == log_.hwnd()) activeControl_ = focus;
        return false;
    }
    if (HIWORD(state)) return false;  // minimised: nothing takes the keyboard
    if (!activeControl_ || !IsWindowVisible(activeControl_)) activeControl_ = programs_.hwnd();
    SetFocus(activeControl_);
    return true;
}

bool MainWindow::ActivateLog()
{
    const HWND log = log_.hwnd();
    if (!IsWindowVisible(log) || !IsWindowEnabled(log)) return false;
    activeControl_ = log;
    if (GetActiveWindow() == hwnd_) SetFocus(log);
    return true;
}

}  // namespace quillet::win32
