#include "e2e/Driver.h"

#include <commctrl.h>

#include <stdexcept>

#include "common/TestedWindows.h"

namespace e2e {

std::wstring Utf16(const std::string& utf8)
{
    std::wstring out(utf8.size(), L'\0');
    out.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(),
                                   static_cast<int>(out.size())));
    return out;
}

std::string Utf8(const wchar_t* text)
{
    std::string out(wcslen(text) * 3, '\0');
    out.resize(WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(wcslen(text)), out.data(),
                                   static_cast<int>(out.size()), nullptr, nullptr));
    return out;
}

namespace {

std::string ExePath()
{
    char value[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA("QUILLET_EXE", value, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) throw std::runtime_error("QUILLET_EXE is not set (run through ctest)");
    std::string path(value, length);
    // ctest hands over a Unix path; Wine maps it through drive Z:.
    if (!path.empty() && path[0] == '/') {
        for (char& c : path)
            if (c == '/') c = '\\';
        path = "Z:" + path;
    }
    return path;
}

// A buffer inside another process, for controls that answer into memory.
class RemoteBuffer {
public:
    RemoteBuffer(DWORD processId, size_t size) : size_(size)
    {
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
        if (!process_) throw std::runtime_error("OpenProcess failed");
        memory_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
        if (!memory_) throw std::runtime_error("VirtualAllocEx failed");
    }
    ~RemoteBuffer()
    {
        VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
        CloseHandle(process_);
    }
    void* Address(size_t offset = 0) const { return static_cast<char*>(memory_) + offset; }
    void Write(const void* data, size_t size, size_t offset = 0) const
    {
        WriteProcessMemory(process_, Address(offset), data, size, nullptr);
    }
    void Read(void* data, size_t size, size_t offset = 0) const
    {
        ReadProcessMemory(process_, Address(offset), data, size, nullptr);
    }
    std::string ReadString(size_t offset) const
    {
        std::string text(size_ - offset, '\0');
        ReadProcessMemory(process_, Address(offset), text.data(), text.size(), nullptr);
        return text.substr(0, text.find('\0'));
    }

private:
    HANDLE process_ = nullptr;
    void* memory_ = nullptr;
    size_t size_;
};

// The tests' entries live in the 64-bit view wherever there is one (32-bit
// Windows ignores the flag): what the 64-bit build sees as its own, and so
// the same entries for the 32-bit build on 64-bit Windows.
constexpr REGSAM kView = KEY_WOW64_64KEY;

// A key below HKEY_LOCAL_MACHINE and everything in it.
void DeleteTree(const std::string& path)
{
    const size_t cut = path.rfind('\\');
    HKEY parent;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, Utf16(path.substr(0, cut)).c_str(), 0, KEY_ALL_ACCESS | kView, &parent) !=
        ERROR_SUCCESS)
        return;
    RegDeleteTreeW(parent, Utf16(path.substr(cut + 1)).c_str());
    RegCloseKey(parent);
}

void SetText(HKEY key, const wchar_t* name, const std::string& utf8)
{
    const std::wstring text = Utf16(utf8);
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

void SeedUninstallKey(const std::vector<Entry>& entries)
{
    DeleteTree(kUninstallKey);
    // The other view emptied, not removed, so that nothing an earlier test
    // left there is listed, and the key Quillet follows stays.
    HKEY other;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, &other) ==
        ERROR_SUCCESS) {
        RegDeleteTreeW(other, nullptr);
        RegCloseKey(other);
    }
    for (const Entry& e : entries) {
        HKEY key;
        const std::string path = std::string(kUninstallKey) + "\\" + e.subkey;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, Utf16(path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | kView, nullptr,
                            &key, nullptr) != ERROR_SUCCESS)
            throw std::runtime_error("cannot seed " + path);
        SetText(key, L"DisplayName", e.name);
        SetText(key, L"UninstallString", e.command);
        RegCloseKey(key);
    }
}

void DeleteEntry(const std::string& subkey)
{
    DeleteTree(std::string(kUninstallKey) + "\\" + subkey);
}

bool Windows64() { return tested_windows::Windows64(); }

std::string EmptyBackupSection32()
{
    if (!Windows64()) return std::string();
    return "\r\n[HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall]\r\n";
}

std::string WindowsFile(const char* name)
{
    char dir[MAX_PATH];
    GetWindowsDirectoryA(dir, MAX_PATH);
    return std::string(dir) + "\\" + name;
}

std::vector<HWND> MainWindows()
{
    std::vector<HWND> found;
    HWND w = nullptr;
    while ((w = FindWindowExA(nullptr, w, "TMain", nullptr)) != nullptr) found.push_back(w);
    return found;
}

Quillet::~Quillet()
{
    if (process_.hProcess) {
        if (!Exited(0)) {
            Close();
            if (!Exited(10000)) TerminateProcess(process_.hProcess, 1);
        }
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
}

std::string Quillet::SettingsPath()
{
    std::string path = ExePath();
    path = path.substr(0, path.rfind('.')) + ".ini";
    for (char& c : path)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return path;
}

void Quillet::Start()
{
    Launch();
    WaitForWindow();
    WaitForList();
}

void Quillet::Launch()
{
    if (!MainWindows().empty()) throw std::runtime_error("a Quillet window is already open");
    if (!KeepSettings) {
        DeleteFileA(SettingsPath().c_str());
        WritePrivateProfileStringA("View", "ViewType", "-1", SettingsPath().c_str());
    }
    std::string command = "\"" + ExePath() + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    const DWORD flags = FromTheDesktop ? DETACHED_PROCESS : 0;
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr, &startup, &process_))
        throw std::runtime_error("cannot start " + command);
}

HWND Quillet::WaitForMessageBox(DWORD timeoutMs) const
{
    HWND found = nullptr;
    WaitFor([&] {
        HWND w = nullptr;
        while ((w = FindWindowExA(nullptr, w, "#32770", nullptr)) != nullptr) {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid == process_.dwProcessId && IsWindowVisible(w)) found = w;
        }
        return found != nullptr;
    }, timeoutMs);
    return found;
}

std::string DialogText(HWND dialog)
{
    wchar_t text[4096];
    GetWindowTextW(dialog, text, 4096);
    std::string out = Utf8(text) + "|";
    HWND child = nullptr;
    while ((child = FindWindowExA(dialog, child, "Static", nullptr)) != nullptr) {
        GetWindowTextW(child, text, 4096);
        out += Utf8(text);
    }
    return out;
}

void SeedRawEntry(const std::string& subkey, DWORD nameType, const std::string& name, DWORD commandType,
                  const std::string& command)
{
    HKEY key;
    const std::string path = std::string(kUninstallKey) + "\\" + subkey;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | kView, nullptr, &key,
                        nullptr) !=
        ERROR_SUCCESS)
        throw std::runtime_error("cannot seed " + path);
    RegSetValueExA(key, "DisplayName", 0, nameType, reinterpret_cast<const BYTE*>(name.data()),
                   static_cast<DWORD>(name.size()));
    RegSetValueExA(key, "UninstallString", 0, commandType, reinterpret_cast<const BYTE*>(command.data()),
                   static_cast<DWORD>(command.size()));
    RegCloseKey(key);
}

void Quillet::WaitForWindow()
{
    WaitFor([&] {
        for (HWND w : MainWindows()) {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid == process_.dwProcessId && IsWindowVisible(w)) window_ = w;
        }
        return window_ != nullptr;
    }, 30000);
    if (!window_) throw std::runtime_error("Quillet's window did not appear");
}

void Quillet::WaitForList()
{
    // The first load has run once the counts are shown.
    if (!WaitFor([&] { return !StatusPanel(1).empty(); }, 30000))
        throw std::runtime_error("Quillet did not fill its list");
}

long Quillet::StartSecondCopy(DWORD timeoutMs)
{
    std::string command = "\"" + ExePath() + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION second{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &second))
        throw std::runtime_error("cannot start " + command);
    long code = -1;
    if (WaitForSingleObject(second.hProcess, timeoutMs) == WAIT_OBJECT_0) {
        DWORD exitCode = 0;
        GetExitCodeProcess(second.hProcess, &exitCode);
        code = static_cast<long>(exitCode);
    } else {
        TerminateProcess(second.hProcess, 1);
    }
    CloseHandle(second.hProcess);
    CloseHandle(second.hThread);
    return code;
}

void Quillet::Close()
{
    if (window_ && IsWindow(window_)) PostMessageA(window_, WM_CLOSE, 0, 0);
}

std::string Quillet::StatusPanel(int panel) const
{
    RemoteBuffer buffer(process_.dwProcessId, 1024);
    HWND bar = Child(3004);
    const LRESULT info = SendMessageA(bar, SB_GETTEXTLENGTHA, panel, 0);
    if (LOWORD(info) >= 1023) throw std::runtime_error("status text too long");
    SendMessageA(bar, SB_GETTEXTA, panel, reinterpret_cast<LPARAM>(buffer.Address()));
    return buffer.ReadString(0);
}

int Quillet::RowCount() const { return ListView_GetItemCount(Child(3002)); }

int Quillet::FocusedRow() const { return ListView_GetNextItem(Child(3002), -1, LVNI_FOCUSED); }

std::string TestProgram(const char* name)
{
    const std::string exe = ExePath();
    return "\"" + exe.substr(0, exe.find_last_of('\\') + 1) + name + "\"";
}

int Quillet::LogRowCount() const { return ListView_GetItemCount(Child(3003)); }

std::string Quillet::StatusText() const
{
    char text[512];
    GetWindowTextA(Child(3001), text, sizeof text);
    return text;
}

COLORREF Quillet::LampColor() const
{
    HWND lamp = FindWindowExA(window_, nullptr, "TAHMLed", nullptr);
    RECT r;
    GetWindowRect(lamp, &r);
    HDC screen = GetDC(nullptr);
    const COLORREF color = GetPixel(screen, r.left + 10, r.top + 10);
    ReleaseDC(nullptr, screen);
    return color;
}

std::string Quillet::LogText(int row, int column) const { return ListText(*this, 3003, row, column); }

std::string Quillet::RowText(int row, int column) const { return ListText(*this, 3002, row, column); }

void Quillet::PressKey(WORD key) const
{
    HWND list = Child(3002);
    PostMessageA(list, WM_KEYDOWN, key, 1);
    PostMessageA(list, WM_KEYUP, key, 0xC0000001);
}

}  // namespace e2e

namespace e2e {

void Quillet::ClickHeader(int column) const
{
    HWND header = ListView_GetHeader(Child(3002));
    RemoteBuffer buffer(process_.dwProcessId, sizeof(RECT));
    SendMessageA(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(buffer.Address()));
    RECT r{};
    buffer.Read(&r, sizeof r);
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(header, WM_MOUSEMOVE, 0, at);
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(header, WM_LBUTTONUP, 0, at);
}

std::pair<int, int> Quillet::HeaderImage(int column) const
{
    HWND header = ListView_GetHeader(Child(3002));
    RemoteBuffer buffer(process_.dwProcessId, sizeof(HDITEMA));
    HDITEMA item{};
    item.mask = HDI_FORMAT | HDI_IMAGE;
    buffer.Write(&item, sizeof item);
    SendMessageA(header, HDM_GETITEMA, column, reinterpret_cast<LPARAM>(buffer.Address()));
    buffer.Read(&item, sizeof item);
    return {item.fmt, item.iImage};
}

std::vector<std::string> Quillet::Column(int column) const
{
    std::vector<std::string> texts;
    for (int row = 0; row < RowCount(); ++row) texts.push_back(RowText(row, column));
    return texts;
}

}  // namespace e2e

namespace e2e {

std::string ListText(const Quillet& app, int listId, int row, int column)
{
    constexpr size_t kText = 0x10000;
    RemoteBuffer buffer(app.ProcessId(), sizeof(LVITEMW) + kText * sizeof(wchar_t));
    LVITEMW item{};
    item.iSubItem = column;
    item.cchTextMax = static_cast<int>(kText);
    item.pszText = static_cast<wchar_t*>(buffer.Address(sizeof(LVITEMW)));
    buffer.Write(&item, sizeof item);
    SendMessageW(app.Child(listId), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(buffer.Address()));
    std::wstring text(kText, L'\0');
    buffer.Read(text.data(), text.size() * sizeof(wchar_t), sizeof(LVITEMW));
    return Utf8(text.c_str());
}

int RowImage(const Quillet& app, int row)
{
    RemoteBuffer buffer(app.ProcessId(), sizeof(LVITEMW));
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    buffer.Write(&item, sizeof item);
    SendMessageW(app.Child(3002), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(buffer.Address()));
    buffer.Read(&item, sizeof item);
    return item.iImage;
}

void SendKeys(std::initializer_list<WORD> held, WORD key)
{
    std::vector<INPUT> inputs;
    auto add = [&](WORD vk, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    for (WORD vk : held) add(vk, false);
    add(key, false);
    add(key, true);
    for (auto it = held.end(); it != held.begin();) add(*--it, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

HWND WaitForDialog(const Quillet& app, const char* caption, DWORD timeoutMs)
{
    HWND found = nullptr;
    Quillet::WaitFor([&] {
        HWND w = nullptr;
        while ((w = FindWindowExA(nullptr, w, "#32770", caption)) != nullptr) {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid == app.ProcessId() && IsWindowVisible(w)) found = w;
        }
        return found != nullptr;
    }, timeoutMs);
    return found;
}

}  // namespace e2e

namespace e2e {

namespace {

constexpr UINT kTrayCallback = WM_APP + 0x100;

std::string UninstallPath(const std::string& subkey) { return std::string(kUninstallKey) + "\\" + subkey; }

void ReadTree(HKEY key, const std::string& path, RegistryTree& tree)
{
    auto& values = tree[path];
    for (DWORD i = 0;; ++i) {
        char name[16384];
        DWORD nameLength = sizeof name, type = 0, size = 0;
        if (RegEnumValueA(key, i, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
        std::string data(size, '\0');
        nameLength = sizeof name;
        RegEnumValueA(key, i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
        data.resize(size);
        values[std::string(name, nameLength)] = std::to_string(type) + ":" + data;
    }
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        const std::string child(name, length);
        HKEY sub;
        const std::string childPath = path.empty() ? child : path + "\\" + child;
        if (RegOpenKeyExA(key, child.c_str(), 0, KEY_READ | kView, &sub) != ERROR_SUCCESS) {
            tree[childPath]["<unreadable>"];
            continue;
        }
        ReadTree(sub, childPath, tree);
        RegCloseKey(sub);
    }
}

}  // namespace

std::string ExeDirectory()
{
    const std::string exe = ExePath();
    return exe.substr(0, exe.find_last_of('\\') + 1);
}

std::string ReadFileBytes(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool KeyExists(const std::string& subkey)
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, Utf16(UninstallPath(subkey)).c_str(), 0, KEY_READ | kView, &key) !=
        ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::string Ini(const char* section, const char* key)
{
    char value[2048];
    GetPrivateProfileStringA(section, key, "<none>", value, sizeof value, Quillet::SettingsPath().c_str());
    return value;
}

std::string StoredValue(const std::string& subkey, const char* name)
{
    char data[4096];
    DWORD size = sizeof data;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, UninstallPath(subkey).c_str(), 0, KEY_READ | kView, &key) != ERROR_SUCCESS)
        return "<none>";
    const LONG rc = RegGetValueA(key, nullptr, name, RRF_RT_REG_SZ, nullptr, data, &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? data : "<none>";
}

void SeedValue(const std::string& subkeyPath, const char* name, const std::string& value)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, UninstallPath(subkeyPath).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | kView,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot seed " + subkeyPath);
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

std::vector<std::string> UninstallSubkeys()
{
    std::vector<std::string> names;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ | kView, &key) != ERROR_SUCCESS) return names;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    RegCloseKey(key);
    return names;
}

RegistryTree ReadUninstallTree()
{
    RegistryTree tree;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ | kView, &key) != ERROR_SUCCESS) return tree;
    ReadTree(key, "", tree);
    RegCloseKey(key);
    return tree;
}

std::string ControlText(HWND control)
{
    char text[4096] = "";
    SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

void SetControlText(HWND control, const std::string& text)
{
    SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool BringToFront(const Quillet& app)
{
    SetForegroundWindow(app.Window());
    return Quillet::WaitFor([&] { return GetForegroundWindow() == app.Window(); });
}

void PostCommand(const Quillet& app, int id) { PostMessageA(app.Window(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

bool FocusRow(const Quillet& app, int row)
{
    app.PressKey(VK_HOME);
    for (int i = 0; i < row; ++i) app.PressKey(VK_DOWN);
    return Quillet::WaitFor([&] { return app.FocusedRow() == row; }, 5000);
}

int ArrowColumn(const Quillet& app)
{
    const std::pair<int, int> items[3] = {app.HeaderImage(0), app.HeaderImage(1), app.HeaderImage(2)};
    for (int column = 0; column < 3; ++column) {
        const auto& a = items[(column + 1) % 3];
        const auto& b = items[(column + 2) % 3];
        const auto& sorted = items[column];
        if ((sorted.first & HDF_IMAGE) && !(sorted.first & HDF_BITMAP_ON_RIGHT) && a.second == b.second &&
            sorted.second != a.second)
            return column;
    }
    return -1;
}

namespace {

struct TaskbarSearch {
    DWORD process;
    std::vector<HWND> found;
};

// A named callback: a lambda has the wrong calling convention in a 32-bit build.
BOOL CALLBACK AddTaskbarWindow(HWND w, LPARAM param)
{
    auto& s = *reinterpret_cast<TaskbarSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    const LONG_PTR ex = GetWindowLongPtrA(w, GWL_EXSTYLE);
    const bool button = (ex & WS_EX_APPWINDOW) || (!GetWindow(w, GW_OWNER) && !(ex & WS_EX_TOOLWINDOW));
    if (pid == s.process && IsWindowVisible(w) && button) s.found.push_back(w);
    return TRUE;
}

}  // namespace

std::vector<HWND> TaskbarWindows(const Quillet& app)
{
    TaskbarSearch search{app.ProcessId(), {}};
    EnumWindows(AddTaskbarWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND TrayWindow(const Quillet& app)
{
    HWND w = nullptr;
    while ((w = FindWindowExA(nullptr, w, "TRxTrayIconWindow", nullptr)) != nullptr) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == app.ProcessId()) return w;
    }
    return nullptr;
}

bool TrayMenuKeys(const Quillet& app, const std::vector<WORD>& keys)
{
    HWND tray = TrayWindow(app);
    if (!tray) return false;
    PostMessageA(tray, kTrayCallback, 0, WM_RBUTTONDOWN);
    PostMessageA(tray, kTrayCallback, 0, WM_RBUTTONUP);
    if (!Quillet::WaitFor([] { return FindWindowA("#32768", nullptr) != nullptr; }, 5000)) return false;
    for (WORD key : keys) {
        Sleep(150);
        PostMessageA(tray, WM_KEYDOWN, key, 0);
        PostMessageA(tray, WM_KEYUP, key, 0xC0000000);
    }
    return true;
}

}  // namespace e2e

namespace e2e {

std::vector<RECT> ItemRects(const Quillet& app, int listId, int part)
{
    HWND list = app.Child(listId);
    RemoteBuffer buffer(app.ProcessId(), sizeof(RECT));
    std::vector<RECT> rects;
    const int rows = ListView_GetItemCount(list);
    for (int row = 0; row < rows; ++row) {
        RECT r{part, 0, 0, 0};
        buffer.Write(&r, sizeof r);
        if (!SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(buffer.Address()))) r = RECT{};
        else buffer.Read(&r, sizeof r);
        rects.push_back(r);
    }
    return rects;
}

RECT RectIn(HWND window, HWND client)
{
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, client, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::vector<COLORREF> ScreenPixels(HWND window, const RECT& area)
{
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return {};
    POINT origin{area.left, area.top};
    ClientToScreen(window, &origin);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<COLORREF> pixels;
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
        GdiFlush();
        const auto* p = static_cast<const COLORREF*>(bits);
        pixels.assign(p, p + static_cast<size_t>(width) * height);
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

}  // namespace e2e
