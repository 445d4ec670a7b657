#include "app/win32/MainWindow.h"

#include <commctrl.h>
#include <windowsx.h>

#include <iterator>

#include "app/Hints.h"
#include "common/win32/Resource.h"

namespace quillet::win32 {

namespace {

constexpr int kClientWidth = 634;
constexpr int kClientHeight = 472;
constexpr int kToolBarHeight = 45;
constexpr int kStatusPanelHeight = 22;
constexpr int kLedWidth = 24;  // room for the status lamp at the strip's left
constexpr int kSplitterHeight = 4;
constexpr int kMinPaneHeight = 20;

struct ToolButton {
    Button button;
    int command;
    const char* caption;
    int image;
};

// Left to right; a zero command is the separator. Hints: the string table.
constexpr ToolButton kToolButtons[] = {
    {Button::AddRemove, IDM_ADDREMOVE, "Add/Remove", 0},
    {Button::Delete, IDM_DELETE, "Delete", 2},
    {Button::Properties, IDM_PROPERTIES, "Properties", 1},
    {Button::New, IDM_NEW, "New", 3},
    {Button::New, 0, "", 8},
    {Button::DeleteBad, IDM_DELETEBAD, "Delete bad", 4},
    {Button::Refresh, IDM_REFRESH, "Refresh", 5},
    {Button::Views, IDM_VIEWS, "Views", 6},
};
constexpr int kButtonWidth = 81, kButtonHeight = 41;
constexpr int kSmallButtonWidth = 28, kSmallButtonHeight = 27;

// The hint of a command or control from the string table; empty when it has none.
std::string HintText(int id)
{
    char text[512];
    const int length = LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), text, sizeof text);
    return std::string(text, length > 0 ? length : 0);
}

HIMAGELIST LoadStrip(int id)
{
    HIMAGELIST list = ImageList_Create(21, 21, ILC_COLOR24 | ILC_MASK, 7, 0);
    auto bitmap = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ImageList_AddMasked(list, bitmap, RGB(255, 0, 255));
    DeleteObject(bitmap);
    return list;
}

int CommandOf(Button button)
{
    for (const ToolButton& b : kToolButtons)
        if (b.command != 0 && b.button == button) return b.command;
    return 0;
}

HIMAGELIST LoadImagePair(int size, int first, int second)
{
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 2, 0);
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    for (int id : {first, second}) {
        auto icon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
        ImageList_AddIcon(list, icon);
        DestroyIcon(icon);
    }
    return list;
}

void AddColumn(HWND list, int index, const char* caption, int width)
{
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<char*>(caption);
    column.cx = width;
    column.iSubItem = index;
    ListView_InsertColumn(list, index, &column);
}

}  // namespace

MainWindow::MainWindow()
    : core_(*this, Ports{registry_, files_, locale_, clock_, dialogs_, runner_, &backupFile_, &profile_, &tray_,
                         &registration_})
{
}

MainWindow::~MainWindow()
{
    if (hwnd_) DestroyWindow(hwnd_);
    for (HIMAGELIST list : {smallImages_, bigImages_, logImages_, inactiveImages_, activeImages_})
        if (list) ImageList_Destroy(list);
}

bool MainWindow::Create(int showCommand)
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &MainWindow::WindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_QUILLET));
    wc.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_QUILLET), IMAGE_ICON, 16, 16, 0));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszMenuName = MAKEINTRESOURCEA(IDR_MAINMENU);
    wc.lpszClassName = kClassName;
    if (!RegisterClassExA(&wc)) return false;

    accelerators_ = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));

    // Centred on the screen with the design client size.
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, style, TRUE, 0);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    if (!CreateWindowExA(0, kClassName, kMainCaption, style, x, y, width, height, nullptr, nullptr, instance, this))
        return false;
    ShowWindow(hwnd_, showCommand);
    // Shown for the first time: the stored position once more.
    core_.Guard([&] { core_.FormStorage.RestoreFormPlacement(); });
    UpdateWindow(hwnd_);
    return true;
}

void MainWindow::OnCreate()
{
    dialogs_.SetOwner(hwnd_);
    CreateChildren();
    LoadMenus();
    activationMessage_ = RegisterWindowMessageA(kInstanceName);
    CreateTray();

    char path[MAX_PATH * 2];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    core_.FormCreate(std::string(path, length));
    tray_.Show();
}

void MainWindow::CreateChildren()
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    font_.reset(CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Verdana"));
    const auto font = reinterpret_cast<WPARAM>(font_.get());

    toolBar_ = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | CCS_NODIVIDER |
                                   CCS_NORESIZE | TBSTYLE_TOOLTIPS,
                               0, 0, 0, 0, hwnd_, reinterpret_cast<HMENU>(IDC_TOOLBAR), instance, nullptr);
    SendMessageA(toolBar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(toolBar_, WM_SETFONT, font, 0);
    SendMessageA(toolBar_, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    inactiveImages_ = LoadStrip(IDB_TOOLBAR_INACTIVE);
    activeImages_ = LoadStrip(IDB_TOOLBAR_ACTIVE);
    SendMessageA(toolBar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(inactiveImages_));
    SendMessageA(toolBar_, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(activeImages_));
    TBBUTTON buttons[std::size(kToolButtons)]{};
    for (size_t i = 0; i < std::size(kToolButtons); ++i) {
        const ToolButton& b = kToolButtons[i];
        buttons[i].iBitmap = b.image;
        buttons[i].idCommand = b.command;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = !b.command ? BTNS_SEP : b.button == Button::Views ? BTNS_DROPDOWN : BTNS_BUTTON;
        buttons[i].iString = b.command ? reinterpret_cast<INT_PTR>(b.caption) : 0;
    }
    SendMessageA(toolBar_, TB_ADDBUTTONSA, std::size(buttons), reinterpret_cast<LPARAM>(buttons));
    SendMessageA(toolBar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(kButtonWidth, kButtonHeight));
    // Captions show at start: no tooltips while they do.
    SendMessageA(reinterpret_cast<HWND>(SendMessageA(toolBar_, TB_GETTOOLTIPS, 0, 0)), TTM_ACTIVATE, FALSE, 0);

    led_.Create(hwnd_, 0, 0);
    statusText_ = CreateWindowExA(0, "STATIC", kReady, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE, 0, 0, 0, 0,
                                  hwnd_, reinterpret_cast<HMENU>(IDC_STATUSTEXT), instance, nullptr);
    SendMessageA(statusText_, WM_SETFONT, font, 0);

    programs_ = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL |
                                    LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
                                0, 0, 0, 0, hwnd_, reinterpret_cast<HMENU>(IDC_PROGRAMS), instance, nullptr);
    SendMessageA(programs_, WM_SETFONT, font, 0);
    ListView_SetExtendedListViewStyle(programs_, LVS_EX_FULLROWSELECT);
    smallImages_ = LoadImagePair(16, IDI_ENTRY, IDI_ENTRY_BAD);
    bigImages_ = LoadImagePair(32, IDI_ENTRY, IDI_ENTRY_BAD);
    ListView_SetImageList(programs_, smallImages_, LVSIL_SMALL);
    ListView_SetImageList(programs_, bigImages_, LVSIL_NORMAL);
    AddColumn(programs_, 0, "Name", 200);
    AddColumn(programs_, 1, "Command Line", 200);
    AddColumn(programs_, 2, "Subkey", 120);
    SetWindowSubclass(programs_, ProgramsProc, 1, reinterpret_cast<DWORD_PTR>(this));

    log_ = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                           WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL |
                               LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
                           0, 0, 0, 0, hwnd_, reinterpret_cast<HMENU>(IDC_LOG), instance, nullptr);
    SendMessageA(log_, WM_SETFONT, font, 0);
    ListView_SetExtendedListViewStyle(log_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    logImages_ = LoadImagePair(16, IDI_LOG_INFO, IDI_LOG_ERROR);
    ListView_SetImageList(log_, logImages_, LVSIL_SMALL);
    AddColumn(log_, 0, "Time", 150);
    AddColumn(log_, 1, "Action", 200);
    AddColumn(log_, 2, "Comment", 250);

    statusBar_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, hwnd_,
                                 reinterpret_cast<HMENU>(IDC_STATUSBAR), instance, nullptr);
    SendMessageA(statusBar_, WM_SETFONT, font, 0);
    int parts[] = {400, -1};
    SendMessageA(statusBar_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));

    activeControl_ = programs_;
    Layout();
}

void MainWindow::LoadMenus()
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    baseMenuBar_.reset(LoadMenuA(instance, MAKEINTRESOURCEA(IDR_BASEMENU)));
    logMenuBar_.reset(LoadMenuA(instance, MAKEINTRESOURCEA(IDR_LOGMENU)));
    baseMenu_ = GetSubMenu(baseMenuBar_.get(), 0);
    logMenu_ = GetSubMenu(logMenuBar_.get(), 0);
    viewsMenuBar_.reset(LoadMenuA(instance, MAKEINTRESOURCEA(IDR_VIEWSMENU)));
    toolBarMenuBar_.reset(LoadMenuA(instance, MAKEINTRESOURCEA(IDR_TOOLBARMENU)));
    viewsMenu_ = GetSubMenu(viewsMenuBar_.get(), 0);
    toolBarMenu_ = GetSubMenu(toolBarMenuBar_.get(), 0);
    SetMenuDefaultItem(baseMenu_, IDM_ADDREMOVE, FALSE);
    SetMenuDefaultItem(GetSubMenu(GetMenu(hwnd_), 0), IDM_ADDREMOVE, FALSE);

    // Radio groups show a bullet.
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    info.fType = MFT_RADIOCHECK;
    for (HMENU menu : {GetMenu(hwnd_), baseMenu_, viewsMenu_})
        for (UINT id : {IDM_SORTNAME, IDM_SORTCOMMAND, IDM_SORTSUBKEY, IDM_LARGEICONS, IDM_SMALLICONS, IDM_LIST,
                        IDM_DETAILS})
            SetMenuItemInfoA(menu, id, FALSE, &info);
}

void MainWindow::Layout()
{
    // Minimised, the client area is empty: squeezing the panes into it would
    // lose the log's height for the restore and for the settings file.
    if (!statusBar_ || IsIconic(hwnd_)) return;
    RECT client;
    GetClientRect(hwnd_, &client);
    const int width = client.right;

    SendMessageA(statusBar_, WM_SIZE, 0, 0);
    RECT bar{};
    if (IsWindowVisible(statusBar_)) GetWindowRect(statusBar_, &bar);
    const int bottom = client.bottom - (bar.bottom - bar.top);

    // The toolbar fits its buttons: 45 high with captions.
    const int buttonHeight = HIWORD(SendMessageA(toolBar_, TB_GETBUTTONSIZE, 0, 0));
    const int toolBarHeight = buttonHeight >= kButtonHeight ? kToolBarHeight : buttonHeight + 4;
    MoveWindow(toolBar_, 0, 0, width, toolBarHeight, TRUE);
    const int top = IsWindowVisible(toolBar_) ? toolBarHeight : 0;
    led_.Move(4, top + (kStatusPanelHeight - TAHMLed::kSize) / 2);
    MoveWindow(statusText_, kLedWidth, top, width - kLedWidth, kStatusPanelHeight, TRUE);

    const int listTop = top + kStatusPanelHeight;
    const int room = bottom - listTop - kSplitterHeight;
    if (logHeight_ > room - kMinPaneHeight) logHeight_ = room - kMinPaneHeight;
    if (logHeight_ < kMinPaneHeight) logHeight_ = kMinPaneHeight;
    // A hidden log leaves its room to the list; the splitter stays.
    const int listHeight = room - (IsWindowVisible(log_) ? logHeight_ : 0);
    MoveWindow(programs_, 0, listTop, width, listHeight > 0 ? listHeight : 0, TRUE);
    splitterTop_ = listTop + listHeight;
    MoveWindow(log_, 0, splitterTop_ + kSplitterHeight, width, logHeight_, TRUE);

    // "Action" takes what "Time" and "Comment" leave.
    RECT logClient;
    GetClientRect(log_, &logClient);
    const int action = logClient.right - ListView_GetColumnWidth(log_, 0) - ListView_GetColumnWidth(log_, 2);
    ListView_SetColumnWidth(log_, 1, action > 50 ? action : 50);
}

bool MainWindow::SplitterHit(int y) const { return y >= splitterTop_ && y < splitterTop_ + kSplitterHeight; }

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (activationMessage_ != 0 && message == activationMessage_) {
        OnActivationMessage();
        return 0;
    }
    switch (message) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_SIZE:
        Layout();
        if (wParam == SIZE_MINIMIZED && !minimised_) {
            minimised_ = true;
            core_.Guard([&] { core_.AppEventsMinimize(); });
        } else if (wParam != SIZE_MINIMIZED && minimised_) {
            minimised_ = false;
            core_.Guard([&] { core_.AppEventsRestore(); });
        }
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == 1 && !ShortcutAllowed(LOWORD(wParam))) return 0;
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_MENUSELECT:
        OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
        return 0;
    case WM_NOTIFY:
        return OnNotify(reinterpret_cast<NMHDR*>(lParam));
    case WM_SETFOCUS:
        if (activeControl_) SetFocus(activeControl_);
        return 0;
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_CONTEXTMENU:
        OnContextMenu(reinterpret_cast<HWND>(wParam), lParam);
        return 0;
    case WM_SYSCOLORCHANGE:
        // Common controls learn of it only from their parent.
        for (HWND child : {toolBar_, programs_, log_, statusBar_}) SendMessageA(child, message, wParam, lParam);
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            POINT p;
            GetCursorPos(&p);
            ScreenToClient(hwnd_, &p);
            if (SplitterHit(p.y)) {
                SetCursor(LoadCursorA(nullptr, IDC_SIZENS));
                return TRUE;
            }
        }
        break;
    case WM_LBUTTONDOWN:
        if (SplitterHit(GET_Y_LPARAM(lParam))) {
            dragging_ = true;
            SetCapture(hwnd_);
        }
        return 0;
    case WM_MOUSEMOVE:
        if (dragging_) {
            RECT bar;
            GetWindowRect(statusBar_, &bar);
            RECT client;
            GetClientRect(hwnd_, &client);
            const int bottom = client.bottom - (bar.bottom - bar.top);
            logHeight_ = bottom - GET_Y_LPARAM(lParam) - kSplitterHeight / 2;
            Layout();
        }
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (dragging_) {
            dragging_ = false;
            if (message == WM_LBUTTONUP) ReleaseCapture();
        }
        return 0;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {320, 240};
        return 0;
    }
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_DESTROY:
        // A process that ends from now on is no concern of this window.
        runner_.Detach();
        // After File > Exit this is the only write: the position.
        core_.Guard([&] { core_.FormStorage.FormDestroy(); });
        tray_.Destroy();
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

void MainWindow::OnActivationMessage()
{
    // Only a minimised window is restored: a maximised one keeps its state.
    if (IsIconic(hwnd_)) SendMessageA(hwnd_, WM_SYSCOMMAND, SC_RESTORE, 0);
    SetForegroundWindow(hwnd_);
}

void MainWindow::OnCommand(int id)
{
    switch (id) {
    case IDM_REFRESH:
        core_.Guard([&] { core_.RefreshClick(); });
        break;
    case IDM_ADDREMOVE:
        core_.Guard([&] { core_.uninstallClick(); });
        break;
    case IDM_SORTNAME:
    case IDM_SORTCOMMAND:
    case IDM_SORTSUBKEY:
        core_.Guard([&] { core_.SubkeyMMClick(id - IDM_SORTNAME); });
        break;
    case IDM_REVERSED:
        core_.Guard([&] { core_.ReversedorderMMClick(); });
        break;
    case IDM_EDITLOG:
        core_.Guard([&] { core_.EditlogPMClick(); });
        break;
    case IDM_NEW:
        core_.Guard([&] { core_.NewClick(); });
        break;
    case IDM_PROPERTIES:
        core_.Guard([&] { core_.EditClick(); });
        break;
    case IDM_DELETE:
        core_.Guard([&] { core_.DeleteClick(); });
        break;
    case IDM_DELETEBAD:
        core_.Guard([&] { core_.DeleteBadBtnClick(); });
        break;
    case IDM_CLEARLOG:
        core_.Guard([&] { core_.ClearLogPMClick(); });
        break;
    case IDM_EXIT:
        DestroyWindow(hwnd_);
        break;
    case IDM_BACKUP:
        core_.Guard([&] { core_.BackupMMClick(); });
        break;
    case IDM_FIND:
        core_.Guard([&] { core_.FindMMClick(); });
        break;
    case IDM_TOOLBAR:
        core_.Guard([&] { core_.ToolBarMMClick(); });
        break;
    case IDM_LOG:
        core_.Guard([&] { core_.LogMMClick(); });
        break;
    case IDM_STATUSBAR:
        core_.Guard([&] { core_.StatusMMClick(); });
        break;
    case IDM_TEXTLABELS:
        core_.Guard([&] { core_.TextLabelsMMClick(); });
        break;
    case IDM_LARGEICONS:
        core_.Guard([&] { core_.LargeIconsPMClick(); });
        break;
    case IDM_SMALLICONS:
        core_.Guard([&] { core_.SmallIconsPMClick(); });
        break;
    case IDM_LIST:
        core_.Guard([&] { core_.ListPMClick(); });
        break;
    case IDM_DETAILS:
        core_.Guard([&] { core_.ReportPMClick(); });
        break;
    case IDM_VIEWS:
        core_.Guard([&] { core_.ViewsBtnClick(); });
        break;
    case IDM_ABOUT:
        core_.Guard([&] { AboutMMClick(); });
        break;
    }
}

void MainWindow::OnClose()
{
    bool close = true;
    core_.Guard([&] { close = core_.FormCloseQuery(); });
    if (!close) return;
    // A refused write is shown once and the window still closes.
    bool written = false;
    core_.Guard([&] {
        core_.FormStorage.SaveFormPlacement();
        written = true;
    });
    if (written) core_.Guard([&] { core_.FormClose(); });
    DestroyWindow(hwnd_);
}

// ---- The notification-area icon

void MainWindow::CreateTray()
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    auto icon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_TRAY), IMAGE_ICON, 16, 16, 0));
    std::vector<HICON> frames;
    if (HIMAGELIST strip = ImageList_LoadImageA(instance, MAKEINTRESOURCEA(IDB_TRAYFRAMES), 16, 0, RGB(255, 0, 255),
                                                IMAGE_BITMAP, LR_CREATEDIBSECTION)) {
        for (int i = 0; i < ImageList_GetImageCount(strip); ++i) frames.push_back(ImageList_GetIcon(strip, i, ILD_NORMAL));
        ImageList_Destroy(strip);
    }
    tray_.Create(icon, std::move(frames));
    tray_.PopupMenu = [this] { return TrayMenu(); };
    tray_.OnCommand = [this](int id) { OnTrayCommand(id); };
    tray_.OnDblClick = [this] { core_.Guard([&] { core_.TrayDblClick(); }); };

    // The rows' two pictures as menu bitmaps, on the menu's colour.
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    for (int i = 0; i < 2; ++i) {
        trayImages_[i].reset(CreateCompatibleBitmap(screen, 16, 16));
        HGDIOBJ old = SelectObject(dc, trayImages_[i].get());
        RECT all{0, 0, 16, 16};
        FillRect(dc, &all, GetSysColorBrush(COLOR_MENU));
        ImageList_Draw(smallImages_, i, dc, 0, 0, ILD_TRANSPARENT);
        SelectObject(dc, old);
    }
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

HMENU MainWindow::TrayMenu()
{
    core_.Guard([&] { core_.TrayMenuPopup(); });
    HMENU menu = CreatePopupMenu();
    const auto& items = core_.TrayItems;
    const UINT state = tray_.UninstallEnabled() ? MF_ENABLED : MF_GRAYED;
    if (items.empty()) {
        AppendMenuA(menu, MF_STRING | state, IDM_TRAYUNINSTALL, "Uninstall");
    } else {
        HMENU submenu = CreatePopupMenu();
        for (size_t i = 0; i < items.size() && IDM_TRAYITEM_FIRST + i <= 0xFFFF; ++i) {
            MENUITEMINFOA info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_ID | MIIM_STRING | MIIM_BITMAP;
            info.wID = static_cast<UINT>(IDM_TRAYITEM_FIRST + i);
            info.dwTypeData = const_cast<char*>(items[i].caption.c_str());
            info.hbmpItem = static_cast<HBITMAP>(trayImages_[items[i].image == kImageBad ? 1 : 0].get());
            InsertMenuItemA(submenu, static_cast<UINT>(i), TRUE, &info);
        }
        AppendMenuA(menu, MF_POPUP | state, reinterpret_cast<UINT_PTR>(submenu), "Uninstall");
    }
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, IDM_BACKUP, "&Backup...");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, IDM_TRAYEXIT, "E&xit");
    return menu;
}

void MainWindow::OnTrayCommand(int id)
{
    if (id == IDM_TRAYEXIT) {
        SendMessageA(hwnd_, WM_CLOSE, 0, 0);  // the ordinary close, with its question
    } else if (id >= IDM_TRAYITEM_FIRST) {
        const size_t index = static_cast<size_t>(id - IDM_TRAYITEM_FIRST);
        if (index < core_.TrayItems.size()) {
            const TrayItem item = core_.TrayItems[index];
            core_.Guard([&] { core_.TrayUninstallClick(item); });
        }
    } else if (id != IDM_TRAYUNINSTALL) {
        OnCommand(id);
    }
}

bool MainWindow::ShortcutAllowed(int id)
{
    static constexpr struct {
        int command;
        MenuItem item;
    } kShortcuts[] = {{IDM_ADDREMOVE, MenuItem::AddRemoveMM}, {IDM_DELETE, MenuItem::DeleteMM},
                      {IDM_PROPERTIES, MenuItem::PropertiesMM}, {IDM_NEW, MenuItem::NewMM},
                      {IDM_DELETEBAD, MenuItem::DeleteBadMM},   {IDM_FIND, MenuItem::FindMM}};
    for (const auto& s : kShortcuts)
        if (s.command == id) {
            bool allowed = false;
            core_.Guard([&] { allowed = core_.ShortcutEnabled(s.item); });
            return allowed;
        }
    return true;
}

void MainWindow::AboutMMClick()
{
    if (!about_) {
        auto about = std::make_unique<TAboutForm>();
        if (!about->Create(hwnd_)) return;
        about_ = std::move(about);
    }
    about_->Show();
}

void MainWindow::OnMenuSelect(UINT item, UINT flags, HMENU menu)
{
    std::string hint;
    if (flags == 0xFFFF && !menu) hint.clear();  // the menu closed
    else if (flags & MF_POPUP) {
        HMENU sub = GetSubMenu(menu, static_cast<int>(item));
        if (sub && GetMenuState(sub, IDM_SORTNAME, MF_BYCOMMAND) != static_cast<UINT>(-1) &&
            GetMenuItemCount(sub) == 5)
            hint = HintText(IDS_SORTBY);
    } else if (!(flags & MF_SEPARATOR)) {
        hint = HintText(static_cast<int>(item));
    }
    core_.Guard([&] { core_.AppEventsHint(hint); });
}

void MainWindow::OnIdle()
{
    POINT at;
    if (!GetCursorPos(&at)) return;
    HWND under = WindowFromPoint(at);
    HWND window = nullptr;
    int command = -1;
    if (under == toolBar_) {
        POINT local = at;
        ScreenToClient(toolBar_, &local);
        const int index = static_cast<int>(SendMessageA(toolBar_, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&local)));
        TBBUTTON button{};
        if (index >= 0 && SendMessageA(toolBar_, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button)) &&
            button.idCommand) {
            window = toolBar_;
            command = button.idCommand;
        }
    } else if (under == log_ || (under && GetParent(under) == log_)) {
        window = log_;
        command = IDC_LOG;
    }
    if (window == hintWindow_ && command == hintCommand_) return;
    hintWindow_ = window;
    hintCommand_ = command;
    const std::string hint = command >= 0 ? HintText(command) : std::string();
    core_.Guard([&] { core_.AppEventsHint(hint); });
}

LRESULT MainWindow::OnNotify(NMHDR* header)
{
    if (header->code == TTN_GETDISPINFOA && header->idFrom >= IDM_ADDREMOVE && header->idFrom <= IDM_ABOUT) {
        // A toolbar button's tooltip: the short part of its hint.
        static std::string tip;
        tip = ShortHint(HintText(static_cast<int>(header->idFrom)));
        reinterpret_cast<NMTTDISPINFOA*>(header)->lpszText = const_cast<char*>(tip.c_str());
        return 0;
    }
    if (header->hwndFrom == toolBar_ && header->code == TBN_DROPDOWN) {
        RECT button;
        SendMessageA(toolBar_, TB_GETRECT, IDM_VIEWS, reinterpret_cast<LPARAM>(&button));
        POINT at{button.left, button.bottom};
        ClientToScreen(toolBar_, &at);
        TrackPopupMenu(viewsMenu_, TPM_LEFTALIGN | TPM_LEFTBUTTON, at.x, at.y, 0, hwnd_, nullptr);
        return TBDDRET_DEFAULT;
    }
    if (header->hwndFrom == programs_) {
        switch (header->code) {
        case LVN_GETDISPINFOA:
            OnProgramsDispInfo(reinterpret_cast<NMLVDISPINFOA*>(header));
            return 0;
        case LVN_ITEMCHANGED:
            core_.Guard([&] { core_.ProgramsChange(); });
            return 0;
        case NM_CLICK:
            core_.Guard([&] { core_.ProgramsClick(); });
            return 0;
        case NM_DBLCLK:
            core_.Guard([&] { core_.uninstallClick(); });
            return 0;
        case LVN_COLUMNCLICK:
            core_.Guard([&] { core_.ProgramsHeaderClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem); });
            return 0;
        case NM_SETFOCUS:
            activeControl_ = programs_;
            return 0;
        }
    } else if (header->hwndFrom == log_) {
        switch (header->code) {
        case LVN_GETDISPINFOA: {
            LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(header)->item;
            const auto& records = core_.Log().Records();
            if (item.iItem < 0 || item.iItem >= static_cast<int>(records.size())) return 0;
            const LogRecord& record = records[item.iItem];
            if (item.mask & LVIF_TEXT) {
                const std::string& text =
                    item.iSubItem == 0 ? record.time : item.iSubItem == 1 ? record.message : record.comment;
                item.pszText = const_cast<char*>(text.c_str());
            }
            if (item.mask & LVIF_IMAGE) item.iImage = record.image;
            return 0;
        }
        case NM_DBLCLK:
            core_.Guard([&] { core_.LogDblClick(); });
            return 0;
        case NM_SETFOCUS:
            activeControl_ = log_;
            return 0;
        }
    }
    return 0;
}

LRESULT CALLBACK MainWindow::ProgramsProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR self)
{
    auto* window = reinterpret_cast<MainWindow*>(self);
    switch (message) {
    case WM_PAINT:
        // Whatever rebuilt the header (a view style, columns, widths), the arrow stays.
        window->core_.Programs.RefreshHeaderImages();
        break;
    case WM_SYSCOLORCHANGE:
        window->sortHeader_.Load();
        window->core_.Programs.RefreshHeaderImages();
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(list, ProgramsProc, 1);
        break;
    }
    return DefSubclassProc(list, message, wParam, lParam);
}

void MainWindow::OnInitMenuPopup(HMENU menu)
{
    if (menu == GetSubMenu(GetMenu(hwnd_), 0)) core_.Guard([&] { core_.FileMMClick(); });
    else if (menu == baseMenu_ || menu == GetSubMenu(GetMenu(hwnd_), 1)) core_.Guard([&] { core_.BaseMenuPopup(); });
    else if (menu == logMenu_) core_.Guard([&] { core_.LogMenuPopup(); });
}

void MainWindow::OnContextMenu(HWND control, LPARAM position)
{
    HMENU menu = control == programs_ ? baseMenu_ : control == log_ ? logMenu_ : control == toolBar_ ? toolBarMenu_
                                                                                                    : nullptr;
    if (!menu) return;
    POINT at{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    if (position == -1 && control != toolBar_) {  // from the keyboard: below the focused row, or the list's corner
        RECT row{};
        const int focused = ListView_GetNextItem(control, -1, LVNI_FOCUSED);
        if (focused < 0 || !ListView_GetItemRect(control, focused, &row, LVIR_LABEL)) row = RECT{};
        at = {row.left, row.bottom};
        ClientToScreen(control, &at);
    }
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd_, nullptr);
}

void MainWindow::OnProgramsDispInfo(NMLVDISPINFOA* info)
{
    LVITEMA& item = info->item;
    const auto& rows = core_.Rows();
    if (item.iItem < 0 || item.iItem >= static_cast<int>(rows.size())) return;
    const EntryRow& row = rows[item.iItem];
    if (item.mask & LVIF_TEXT) {
        const std::string& text = item.iSubItem == 0 ? row.caption : item.iSubItem == 1 ? row.command : row.subkey;
        // The rows outlive this notification, so the control may read our text.
        item.pszText = const_cast<char*>(text.c_str());
    }
    if (item.mask & LVIF_IMAGE) item.iImage = row.image;
}

// MainView

void MainWindow::ProgramsReplaced(size_t count)
{
    ListView_DeleteAllItems(programs_);
    ListView_SetItemCountEx(programs_, static_cast<int>(count), 0);
    InvalidateRect(programs_, nullptr, TRUE);
}

int MainWindow::FocusedProgram() const { return ListView_GetNextItem(programs_, -1, LVNI_FOCUSED); }

void MainWindow::FocusProgram(int index)
{
    ListView_SetItemState(programs_, index, LVIS_FOCUSED, LVIS_FOCUSED);
    ListView_SetItemState(programs_, index, LVIS_SELECTED, LVIS_SELECTED);
    ListView_EnsureVisible(programs_, index, TRUE);
}

void MainWindow::ProgramAdded(size_t count)
{
    // Appended at the end: the states of the rows before it stay in place.
    ListView_SetItemCountEx(programs_, static_cast<int>(count), LVSICF_NOSCROLL);
    InvalidateRect(programs_, nullptr, TRUE);
}

void MainWindow::ProgramRemoved(int index, size_t count)
{
    // An owner-data list keeps its states by position: follow the rows.
    const int focused = FocusedProgram();
    MoveFocus(programs_, focused, focused == index ? -1 : focused > index ? focused - 1 : focused);
    ListView_SetItemCountEx(programs_, static_cast<int>(count), LVSICF_NOSCROLL);
    InvalidateRect(programs_, nullptr, TRUE);
}

void MainWindow::ProgramChanged(int index) { ListView_RedrawItems(programs_, index, index); }

void MainWindow::ActivatePrograms()
{
    activeControl_ = programs_;
    if (GetActiveWindow() == hwnd_) SetFocus(programs_);
}

void MainWindow::UpdateHeaderImages(int sortColumn, bool ascending)
{
    sortHeader_.Update(programs_, sortColumn, ascending);
}

void MainWindow::MoveFocus(HWND list, int from, int to)
{
    const bool selected = from >= 0 && (ListView_GetItemState(list, from, LVIS_SELECTED) & LVIS_SELECTED);
    // Only the rows that hold a state (one selection at most): a clear of
    // all rows visits every row, on each of thousands of removals.
    const int selectedRow = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    if (selectedRow >= 0) ListView_SetItemState(list, selectedRow, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (from >= 0) ListView_SetItemState(list, from, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (to >= 0) {
        ListView_SetItemState(list, to, LVIS_FOCUSED | (selected ? LVIS_SELECTED : 0), LVIS_FOCUSED | LVIS_SELECTED);
    }
}

void MainWindow::RowsReordered(int focused)
{
    // An owner-data list keeps its states by position: move them with the row.
    MoveFocus(programs_, FocusedProgram(), focused);
    InvalidateRect(programs_, nullptr, TRUE);
}

void MainWindow::LogInserted(bool dropped)
{
    const int focused = FocusedLogRow();
    const int count = static_cast<int>(core_.Log().Size());
    ListView_SetItemCountEx(log_, count, LVSICF_NOSCROLL);
    if (focused >= 0) MoveFocus(log_, focused, dropped && focused + 1 >= count ? -1 : focused + 1);
    InvalidateRect(log_, nullptr, TRUE);
}

void MainWindow::BeginBulkChange()
{
    // Each removal would redraw the lists' scroll bars and headers at once.
    SendMessageA(programs_, WM_SETREDRAW, FALSE, 0);
    SendMessageA(log_, WM_SETREDRAW, FALSE, 0);
}

void MainWindow::EndBulkChange()
{
    for (HWND list : {programs_, log_}) {
        SendMessageA(list, WM_SETREDRAW, TRUE, 0);
        RedrawWindow(list, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    }
}

void MainWindow::LogCleared()
{
    ListView_DeleteAllItems(log_);
    ListView_SetItemCountEx(log_, 0, 0);
}

void MainWindow::LogRowChanged(size_t row) { ListView_RedrawItems(log_, static_cast<int>(row), static_cast<int>(row)); }

int MainWindow::FocusedLogRow() const { return ListView_GetNextItem(log_, -1, LVNI_FOCUSED); }

void MainWindow::EnableButton(Button button, bool enabled)
{
    SendMessageA(toolBar_, TB_ENABLEBUTTON, CommandOf(button), MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

bool MainWindow::ButtonEnabled(Button button) const
{
    return SendMessageA(toolBar_, TB_ISBUTTONENABLED, CommandOf(button), 0) != 0;
}

MainWindow::MenuPlace MainWindow::Place(MenuItem item) const
{
    const HMENU main = GetMenu(hwnd_);
    switch (item) {
    case MenuItem::DeleteBadMM: return {main, IDM_DELETEBAD};
    case MenuItem::AddRemovePM: return {baseMenu_, IDM_ADDREMOVE};
    case MenuItem::DeletePM: return {baseMenu_, IDM_DELETE};
    case MenuItem::PropertiesPM: return {baseMenu_, IDM_PROPERTIES};
    case MenuItem::NameMM: return {main, IDM_SORTNAME};
    case MenuItem::CommandLineMM: return {main, IDM_SORTCOMMAND};
    case MenuItem::SubkeyMM: return {main, IDM_SORTSUBKEY};
    case MenuItem::ReversedorderMM: return {main, IDM_REVERSED};
    case MenuItem::NamePM: return {baseMenu_, IDM_SORTNAME};
    case MenuItem::CommandLinePM: return {baseMenu_, IDM_SORTCOMMAND};
    case MenuItem::SubkeyPM: return {baseMenu_, IDM_SORTSUBKEY};
    case MenuItem::ReversedorderPM: return {baseMenu_, IDM_REVERSED};
    case MenuItem::EditlogMM: return {main, IDM_EDITLOG};
    case MenuItem::ClearLogMM: return {main, IDM_CLEARLOG};
    case MenuItem::EditlogPM: return {logMenu_, IDM_EDITLOG};
    case MenuItem::ClearLogPM: return {logMenu_, IDM_CLEARLOG};
    case MenuItem::AddRemoveMM: return {main, IDM_ADDREMOVE};
    case MenuItem::DeleteMM: return {main, IDM_DELETE};
    case MenuItem::PropertiesMM: return {main, IDM_PROPERTIES};
    case MenuItem::NewMM: return {main, IDM_NEW};
    case MenuItem::FindMM: return {main, IDM_FIND};
    case MenuItem::ToolBarMM: return {main, IDM_TOOLBAR};
    case MenuItem::LogMM: return {main, IDM_LOG};
    case MenuItem::StatusMM: return {main, IDM_STATUSBAR};
    case MenuItem::TextLabelsMM: return {main, IDM_TEXTLABELS};
    case MenuItem::TextLabelsPM: return {toolBarMenu_, IDM_TEXTLABELS};
    case MenuItem::LargeIconsMM: return {main, IDM_LARGEICONS};
    case MenuItem::SmalliconsMM: return {main, IDM_SMALLICONS};
    case MenuItem::ListMM: return {main, IDM_LIST};
    case MenuItem::DetailsMM: return {main, IDM_DETAILS};
    case MenuItem::LargeIconsPM2: return {baseMenu_, IDM_LARGEICONS};
    case MenuItem::SmalliconsPM2: return {baseMenu_, IDM_SMALLICONS};
    case MenuItem::ListPM2: return {baseMenu_, IDM_LIST};
    case MenuItem::ReportPM2: return {baseMenu_, IDM_DETAILS};
    case MenuItem::LargeIconsPM: return {viewsMenu_, IDM_LARGEICONS};
    case MenuItem::SmallIconsPM: return {viewsMenu_, IDM_SMALLICONS};
    case MenuItem::ListPM: return {viewsMenu_, IDM_LIST};
    case MenuItem::ReportPM: return {viewsMenu_, IDM_DETAILS};
    }
    return {nullptr, 0};
}

void MainWindow::EnableMenuItem(MenuItem item, bool enabled)
{
    const MenuPlace place = Place(item);
    ::EnableMenuItem(place.menu, place.command, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

bool MainWindow::MenuItemEnabled(MenuItem item) const
{
    const MenuPlace place = Place(item);
    const UINT state = GetMenuState(place.menu, place.command, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

void MainWindow::CheckMenuItem(MenuItem item, bool checked)
{
    const MenuPlace place = Place(item);
    ::CheckMenuItem(place.menu, place.command, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool MainWindow::MenuItemChecked(MenuItem item) const
{
    const MenuPlace place = Place(item);
    const UINT state = GetMenuState(place.menu, place.command, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & MF_CHECKED);
}

void MainWindow::ShowPane(Pane pane, bool visible)
{
    HWND window = pane == Pane::ToolBar ? toolBar_ : pane == Pane::Log ? log_ : statusBar_;
    ShowWindow(window, visible ? SW_SHOW : SW_HIDE);
    Layout();
}

void MainWindow::SetTextLabels(bool on)
{
    SendMessageA(toolBar_, TB_SETMAXTEXTROWS, on ? 1 : 0, 0);
    if (on) SendMessageA(toolBar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(kButtonWidth, kButtonHeight));
    else SendMessageA(toolBar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(kSmallButtonWidth, kSmallButtonHeight));
    SendMessageA(toolBar_, TB_AUTOSIZE, 0, 0);
    SendMessageA(reinterpret_cast<HWND>(SendMessageA(toolBar_, TB_GETTOOLTIPS, 0, 0)), TTM_ACTIVATE, on ? FALSE : TRUE,
                 0);
    Layout();
    InvalidateRect(toolBar_, nullptr, TRUE);
}

void MainWindow::SetViewStyle(ViewStyle style)
{
    static constexpr DWORD kStyles[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    const DWORD current = static_cast<DWORD>(GetWindowLongPtrA(programs_, GWL_STYLE));
    SetWindowLongPtrA(programs_, GWL_STYLE, (current & ~LVS_TYPEMASK) | kStyles[static_cast<int>(style)]);
    InvalidateRect(programs_, nullptr, TRUE);
}

void MainWindow::SetStatusText(const std::string& text) { SetWindowTextA(statusText_, text.c_str()); }

void MainWindow::SetLed(bool on) { led_.SetLedisOn(on); }

void MainWindow::SetStatusPanel(int panel, const std::string& text)
{
    SendMessageA(statusBar_, SB_SETTEXTA, panel, reinterpret_cast<LPARAM>(text.c_str()));
}

bool MainWindow::LogActive() const { return activeControl_ == log_; }

void MainWindow::FocusLogRow(int index)
{
    ListView_SetItemState(log_, index, LVIS_FOCUSED, LVIS_FOCUSED);
    ListView_SetItemState(log_, index, LVIS_SELECTED, LVIS_SELECTED);
    ListView_EnsureVisible(log_, index, TRUE);
}

int MainWindow::GetSize(Size size) const
{
    const auto width = [](HWND list, int column) {
        // Kept by the columns in every view style.
        LVCOLUMNA info{};
        info.mask = LVCF_WIDTH;
        return ListView_GetColumn(list, column, &info) ? info.cx : 0;
    };
    switch (size) {
    case Size::LogHeight: return logHeight_;
    case Size::TimeWidth: return width(log_, 0);
    case Size::CommentWidth: return width(log_, 2);
    case Size::NameWidth: return width(programs_, 0);
    case Size::CmdLineWidth: return width(programs_, 1);
    case Size::SubKeyWidth: return width(programs_, 2);
    }
    return 0;
}

void MainWindow::SetSize(Size size, int pixels)
{
    switch (size) {
    case Size::LogHeight: logHeight_ = pixels; break;
    case Size::TimeWidth: ListView_SetColumnWidth(log_, 0, pixels); break;
    case Size::CommentWidth: ListView_SetColumnWidth(log_, 2, pixels); break;
    case Size::NameWidth: ListView_SetColumnWidth(programs_, 0, pixels); break;
    case Size::CmdLineWidth: ListView_SetColumnWidth(programs_, 1, pixels); break;
    case Size::SubKeyWidth: ListView_SetColumnWidth(programs_, 2, pixels); break;
    }
    Layout();
}

void MainWindow::ShowApplication(bool shown)
{
    // The main window carries the taskbar button.
    if (shown != (IsWindowVisible(hwnd_) != FALSE)) ShowWindow(hwnd_, shown ? SW_SHOW : SW_HIDE);
}

void MainWindow::BringToFront()
{
    if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
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
    SetWindowPlacement(hwnd_, &wp);
}

bool MainWindow::WindowVisible() const { return IsWindowVisible(hwnd_) != FALSE; }

bool MainWindow::AppMinimised() const { return IsIconic(hwnd_) != FALSE; }

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

bool MainWindow::ActivateLog()
{
    if (!IsWindowVisible(log_) || !IsWindowEnabled(log_)) return false;
    activeControl_ = log_;
    if (GetActiveWindow() == hwnd_) SetFocus(log_);
    return true;
}

}  // namespace quillet::win32
