// The main window's frame: creation, the message routing into TMain, the menu commands and the tray's callbacks.
#include "app/win32/MainWindow.h"

#include <commctrl.h>

#include "app/win32/QueueCommands.h"
#include "common/win32/Resource.h"
#include "common/win32/Wide.h"

namespace quillet::win32 {

namespace {

constexpr UINT kRegistryChanged = WM_APP + 0x80;
constexpr UINT_PTR kSettleTimer = 1;
constexpr UINT_PTR kKeyboardTimer = 2;
constexpr UINT kKeyboardCheckMs = 200;
constexpr int kKeyboardChecks = 10;
constexpr int kClientWidth = 634;
constexpr int kClientHeight = 472;

// Run elevated, the window gets the shell's broadcasts only when it lets
// them through; the function is looked up because older systems lack it.
void AllowShellBroadcast(HWND window, UINT message)
{
    using Filter = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    const HMODULE user32 = GetModuleHandleA("user32.dll");
    const auto filter = user32 ? reinterpret_cast<Filter>(reinterpret_cast<void*>(
                                     GetProcAddress(user32, "ChangeWindowMessageFilterEx")))
                               : nullptr;
    if (filter && message) filter(window, message, 1 /* MSGFLT_ALLOW */, nullptr);
}

}  // namespace

MainWindow::MainWindow()
    : core_(*this, Ports{registry_, files_, locale_, clock_, dialogs_, runner_, &backupFile_, &profile_, &tray_,
                         &registration_, RunsOnWindows64(), &accounts_, &listRegistry_})
{
    runner_.OnTerminated = [this, ended = std::move(runner_.OnTerminated)] {
        if (ended) ended();
        // Windows gives the keyboard to the next window when the uninstaller's
        // closes; Wine gives it to none when a console's host goes with its
        // last program, a moment after the program itself. Then it comes back here.
        keyboardChecks_ = kKeyboardChecks;
        SetTimer(hwnd_, kKeyboardTimer, kKeyboardCheckMs, nullptr);
    };
}

MainWindow::~MainWindow()
{
    if (hwnd_) DestroyWindow(hwnd_);
}

bool MainWindow::Create(int showCommand)
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &MainWindow::WindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_QUILLET));
    wc.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_QUILLET), IMAGE_ICON, 16, 16, 0));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszMenuName = MAKEINTRESOURCEW(IDR_MAINMENU);
    const std::wstring className = Wide(kClassName);
    wc.lpszClassName = className.c_str();
    if (!RegisterClassExW(&wc)) return false;

    accelerators_ = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));

    // Centred on the screen with the design client size.
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, style, TRUE, 0);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    if (!application_.Create(kApplicationTitle)) return false;
    application_.OnMinimize = [this] { core_.Guard([&] { core_.Tray().AppEventsMinimize(); }); };
    application_.OnRestore = [this] { core_.Guard([&] { core_.Tray().AppEventsRestore(); }); };
    if (!CreateWindowExW(0, className.c_str(), Wide(kMainCaption).c_str(), style, x, y, width, height,
                         application_.hwnd(), nullptr, instance, this))
        return false;
    application_.SetMainWindow(hwnd_);
    // Started minimised: the application is, the window itself stays normal.
    const bool minimised = ApplicationWindow::Minimising(showCommand);
    ShowWindow(hwnd_, minimised ? SW_SHOWNOACTIVATE : showCommand);
    // Shown for the first time: the stored position once more.
    core_.Guard([&] { core_.Settings().FormStorage.RestoreFormPlacement(); });
    if (minimised) application_.Minimize();
    UpdateWindow(hwnd_);
    return true;
}

void MainWindow::OnCreate()
{
    dialogs_.SetOwner(hwnd_);
    CreateChildren();
    menus_.Load(hwnd_);
    activationMessage_ = RegisterWindowMessageA(kInstanceName);
    taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
    AllowShellBroadcast(hwnd_, taskbarCreated_);
    CreateTray();

    StartFollowingRegistry();
    // Long enough for any folder the program may sit in.
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    core_.FormCreate(Utf8(path.data(), length));
    tray_.Show();
}

void MainWindow::StartFollowingRegistry()
{
    LiveList& live = core_.Live();
    live.StartTimer = [this](int ms) { SetTimer(hwnd_, kSettleTimer, static_cast<UINT>(ms), nullptr); };
    live.StopTimer = [this] { KillTimer(hwnd_, kSettleTimer); };
    live.Absorb = [this] { watcher_.Absorb(); };
    // Sources come and go (a user signs in, a first per-user install makes
    // the Uninstall key): each load's sources are followed where they are now.
    live.FollowSources = [this] { FollowKeys(WatchedKeys(registry_, core_.Catalogue().Sources()), true); };
    // Before the first load, so that nothing changed while it reads is missed.
    FollowKeys(WatchedKeys(registry_, core_.Catalogue().ReadSources()), false);
}

void MainWindow::FollowKeys(std::vector<WatchedKey> keys, bool afterLoad)
{
    if (keys == watched_) return;
    watched_ = std::move(keys);
    std::vector<RegistryWatcher::Key> watch;
    for (const WatchedKey& key : watched_) {
        const HKEY root = key.root == RootKey::LocalMachine  ? HKEY_LOCAL_MACHINE
                          : key.root == RootKey::CurrentUser ? HKEY_CURRENT_USER
                                                             : HKEY_USERS;
        watch.push_back({root, key.path, ViewFlag(key.view), key.subtree});
    }
    // One wait takes so many handles; users past that are seen at the next reload.
    if (watch.size() > MAXIMUM_WAIT_OBJECTS - 2) watch.resize(MAXIMUM_WAIT_OBJECTS - 2);
    watcher_.Start(watch, hwnd_, kRegistryChanged);
    // A change between the load's reading and the new watch is seen by no one else.
    if (afterLoad) core_.Live().RegistryChanged();
}

void MainWindow::CreateChildren()
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    font_.reset(CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Verdana"));
    const auto font = static_cast<HFONT>(font_.get());
    ConnectPanes();

    toolBar_.Create(hwnd_, font);
    led_.Create(hwnd_, 0, 0);
    // It shows entries' names: an '&' in one is a letter, not an underline.
    statusText_ = CreateWindowExW(0, L"STATIC", Wide(kReady).c_str(),
                                  WS_CHILD | WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX, 0, 0, 0, 0, hwnd_,
                                  reinterpret_cast<HMENU>(IDC_STATUSTEXT), instance, nullptr);
    SendMessageA(statusText_, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    programs_.Create(hwnd_, font);
    log_.Create(hwnd_, font);

    statusBar_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, hwnd_,
                                 reinterpret_cast<HMENU>(IDC_STATUSBAR), instance, nullptr);
    SendMessageA(statusBar_, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    int parts[] = {400, -1};
    SendMessageA(statusBar_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));

    activeControl_ = programs_.hwnd();
    layout_.Attach({hwnd_, &toolBar_, &led_, statusText_, &programs_, &log_, statusBar_});
    layout_.Arrange();
}

// The panes' events, each into its handler on TMain.
void MainWindow::ConnectPanes()
{
    toolBar_.OnViewsDropDown = [this](POINT at) {
        TrackPopupMenu(menus_.ViewsMenu(), TPM_LEFTALIGN | TPM_LEFTBUTTON, at.x, at.y, 0, hwnd_, nullptr);
    };

    programs_.Row = [this](int index) { return core_.Catalogue().DetailedRow(index); };
    programs_.Text = [this](const EntryRow& row, int column) { return core_.Catalogue().Programs.ColumnText(row, column); };
    programs_.OnChange = [this] { core_.Guard([&] { core_.Catalogue().ProgramsChange(); }); };
    programs_.InfoTip = [this](int row) { return core_.Catalogue().RowReason(row); };
    programs_.OnClick = [this] { core_.Guard([&] { core_.Catalogue().ProgramsClick(); }); };
    programs_.OnDblClick = [this] { core_.Guard([&] { core_.Job().uninstallClick(); }); };
    programs_.OnColumnClick = [this](int column) {
        core_.Guard([&] { core_.Catalogue().ProgramsHeaderClick(column); });
    };
    programs_.OnFocus = [this] { activeControl_ = programs_.hwnd(); };
    programs_.OnHeaderRepaint = [this] { core_.Catalogue().Programs.RefreshHeaderImages(); };

    log_.Records = [this]() -> const std::vector<LogRecord>& { return core_.Log().Records(); };
    log_.OnDblClick = [this] { core_.Guard([&] { core_.Logging().LogDblClick(); }); };
    log_.OnFocus = [this] { activeControl_ = log_.hwnd(); };
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (activationMessage_ != 0 && message == activationMessage_) {
        OnActivationMessage();
        return 0;
    }
    if (taskbarCreated_ != 0 && message == taskbarCreated_) {
        tray_.ShellRestarted();
        return 0;
    }
    switch (message) {
    case kRegistryChanged:
        if (watcher_.TakeChange()) core_.Live().RegistryChanged();
        return 0;
    case WM_TIMER:
        if (wParam == kKeyboardTimer) {
            TakeKeyboardBack();
            return 0;
        }
        if (wParam != kSettleTimer) break;
        core_.Live().TimerFired();
        return 0;
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_SIZE:
        layout_.Arrange();
        // Minimised some other way than by its button: the application goes with it.
        if (wParam == SIZE_MINIMIZED) application_.Minimize();
        return 0;
    case WM_SYSCOMMAND:
        if (application_.TakeSysCommand(wParam)) return 0;
        break;
    case WM_COMMAND:
        if (HIWORD(wParam) == 1 && !ShortcutAllowed(LOWORD(wParam))) return 0;
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_MENUSELECT:
        OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
        return 0;
    case WM_NOTIFY:
        return OnNotify(reinterpret_cast<NMHDR*>(lParam));
    case WM_ACTIVATE:
        if (OnActivate(wParam)) return 0;
        break;
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
        for (HWND child : {toolBar_.hwnd(), programs_.hwnd(), log_.hwnd(), statusBar_})
            SendMessageA(child, message, wParam, lParam);
        return 0;
    case WM_SETCURSOR:
        if (layout_.OnSetCursor(lParam)) return TRUE;
        break;
    case WM_LBUTTONDOWN:
        layout_.OnButtonDown(lParam);
        return 0;
    case WM_MOUSEMOVE:
        layout_.OnMouseMove(lParam);
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        layout_.OnButtonUp(message);
        return 0;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {320, 240};
        return 0;
    }
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_COPYDATA:
        return OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case WM_QUERYENDSESSION:
        // The session may end without another word to us: the records of this
        // run go to the file now. A running job goes on as on a close.
        WriteSettings(true);
        return TRUE;
    case WM_ENDSESSION:
        if (wParam) WriteSettings(true);
        return 0;
    case WM_DESTROY:
        // A process that ends from now on is no concern of this window.
        runner_.Detach();
        watcher_.Stop();
        KillTimer(hwnd_, kSettleTimer);
        KillTimer(hwnd_, kKeyboardTimer);
        // The position once more, as the window last stood.
        core_.Guard([&] { core_.Settings().FormStorage.FormDestroy(); });
        tray_.Destroy();
        application_.ShowButton(false);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void MainWindow::TakeKeyboardBack()
{
    const HWND foreground = GetForegroundWindow();
    DWORD process = 0;
    GetWindowThreadProcessId(foreground, &process);
    // Another program's window has it (the console still, or what the user chose): checked again.
    if (foreground && process != GetCurrentProcessId() && --keyboardChecks_ > 0) return;
    KillTimer(hwnd_, kKeyboardTimer);
    if (foreground || !IsWindowVisible(hwnd_)) return;
    const HWND last = GetLastActivePopup(hwnd_);
    SetForegroundWindow(IsWindowVisible(last) && IsWindowEnabled(last) ? last : hwnd_);
}

void MainWindow::OnActivationMessage()
{
    // Only a minimised window is restored: a maximised one keeps its state.
    SendMessageW(application_.hwnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
    SetForegroundWindow(hwnd_);
}

void MainWindow::OnCommand(int id)
{
    switch (id) {
    case IDM_REFRESH:
        core_.Guard([&] { core_.Catalogue().RefreshClick(); });
        break;
    case IDM_ADDREMOVE:
        core_.Guard([&] { core_.Job().uninstallClick(); });
        break;
    case IDM_SORTNAME:
    case IDM_SORTCOMMAND:
    case IDM_SORTSUBKEY:
        core_.Guard([&] { core_.Catalogue().SubkeyMMClick(id - IDM_SORTNAME); });
        break;
    case IDM_REVERSED:
        core_.Guard([&] { core_.Catalogue().ReversedorderMMClick(); });
        break;
    case IDM_EDITLOG:
        core_.Guard([&] { core_.Logging().EditlogPMClick(); });
        break;
    case IDM_NEW:
        EditingCommand([&] { core_.Editing().NewClick(); });
        break;
    case IDM_PROPERTIES:
        EditingCommand([&] { core_.Editing().EditClick(); });
        break;
    case IDM_DELETE:
        EditingCommand([&] { core_.Editing().DeleteClick(); });
        break;
    case IDM_DELETEBAD:
        EditingCommand([&] { core_.Editing().DeleteBadBtnClick(); });
        break;
    case IDM_UNDO:
        core_.Guard([&] { core_.Editing().UndoClick(); });
        break;
    case IDM_CLEARLOG:
        core_.Guard([&] { core_.Logging().ClearLogPMClick(); });
        break;
    case IDM_EXIT:
        // As a close, but without the question during a job.
        WriteSettings(false);
        DestroyWindow(hwnd_);
        break;
    case IDM_BACKUP:
        core_.Guard([&] { core_.Backup().BackupMMClick(); });
        break;
    case IDM_EXPORT:
        core_.Guard([&] { core_.Export().ExportClick(); });
        break;
    case IDM_FIND:
        core_.Guard([&] { core_.Find().FindMMClick(); });
        break;
    case IDM_TOOLBAR:
        core_.Guard([&] { core_.Views().ToolBarMMClick(); });
        break;
    case IDM_LOG:
        core_.Guard([&] { core_.Views().LogMMClick(); });
        break;
    case IDM_STATUSBAR:
        core_.Guard([&] { core_.Views().StatusMMClick(); });
        break;
    case IDM_SYSTEMENTRIES:
        core_.Guard([&] { core_.Catalogue().SystemEntriesMMClick(); });
        break;
    case IDM_TEXTLABELS:
        core_.Guard([&] { core_.Views().TextLabelsMMClick(); });
        break;
    case IDM_LARGEICONS:
        core_.Guard([&] { core_.Views().LargeIconsPMClick(); });
        break;
    case IDM_SMALLICONS:
        core_.Guard([&] { core_.Views().SmallIconsPMClick(); });
        break;
    case IDM_LIST:
        core_.Guard([&] { core_.Views().ListPMClick(); });
        break;
    case IDM_DETAILS:
        core_.Guard([&] { core_.Views().ReportPMClick(); });
        break;
    case IDM_VIEWS:
        core_.Guard([&] { core_.Views().ViewsBtnClick(); });
        break;
    case IDM_ABOUT:
        core_.Guard([&] { AboutMMClick(); });
        break;
    default:
        QueueCommand(core_, id, log_.Focused());
    }
}

void MainWindow::OnClose()
{
    if (core_.BoxOpen()) return;  // the box's command still runs on this window
    bool close = true;
    core_.Guard([&] { close = core_.Job().FormCloseQuery(); });
    if (!close) return;
    // A refused write is shown once and the window still closes.
    WriteSettings(false);
    DestroyWindow(hwnd_);
}

bool MainWindow::WriteSettings(bool quiet)
{
    const auto write = [&](auto&& step) {
        if (!quiet) {
            bool done = false;
            core_.Guard([&] {
                step();
                done = true;
            });
            return done;
        }
        // The session is ending: no box may hold it up.
        try {
            step();
            return true;
        } catch (const std::exception&) {
            return false;
        }
    };
    return write([&] { core_.Settings().FormStorage.SaveFormPlacement(); }) &&
           write([&] { core_.Settings().FormClose(); });
}

bool MainWindow::ShortcutAllowed(int id)
{
    static constexpr struct {
        int command;
        MenuItem item;
    } kShortcuts[] = {{IDM_ADDREMOVE, MenuItem::AddRemoveMM}, {IDM_DELETE, MenuItem::DeleteMM},
                      {IDM_PROPERTIES, MenuItem::PropertiesMM}, {IDM_NEW, MenuItem::NewMM},
                      {IDM_DELETEBAD, MenuItem::DeleteBadMM},   {IDM_FIND, MenuItem::FindMM},
                      {IDM_UNDO, MenuItem::UndoMM}};
    for (const auto& s : kShortcuts)
        if (s.command == id) {
            bool allowed = false;
            core_.Guard([&] { allowed = core_.Views().ShortcutEnabled(s.item); });
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

LRESULT MainWindow::OnNotify(NMHDR* header)
{
    LRESULT result = 0;
    if (toolBar_.Notify(header, result)) return result;
    if (header->hwndFrom == programs_.hwnd() || header->hwndFrom == programs_.TipWindow()) return programs_.Notify(header);
    else if (header->hwndFrom == log_.hwnd()) log_.Notify(header);
    return 0;
}

}  // namespace quillet::win32
