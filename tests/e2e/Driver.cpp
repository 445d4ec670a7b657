#include "e2e/Driver.h"

#include <commctrl.h>

#include <stdexcept>

namespace e2e {

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
    void Read(void* data, size_t size) const { ReadProcessMemory(process_, memory_, data, size, nullptr); }
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

void DeleteTree(HKEY root, const std::string& path) { RegDeleteTreeA(root, path.c_str()); }

}  // namespace

void SeedUninstallKey(const std::vector<Entry>& entries)
{
    DeleteTree(HKEY_LOCAL_MACHINE, kUninstallKey);
    for (const Entry& e : entries) {
        HKEY key;
        const std::string path = std::string(kUninstallKey) + "\\" + e.subkey;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            throw std::runtime_error("cannot seed " + path);
        RegSetValueExA(key, "DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE*>(e.name.c_str()),
                       static_cast<DWORD>(e.name.size() + 1));
        RegSetValueExA(key, "UninstallString", 0, REG_SZ, reinterpret_cast<const BYTE*>(e.command.c_str()),
                       static_cast<DWORD>(e.command.size() + 1));
        RegCloseKey(key);
    }
}

void DeleteEntry(const std::string& subkey)
{
    DeleteTree(HKEY_LOCAL_MACHINE, std::string(kUninstallKey) + "\\" + subkey);
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
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_))
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
    char text[4096];
    GetWindowTextA(dialog, text, sizeof text);
    std::string out = std::string(text) + "|";
    HWND child = nullptr;
    while ((child = FindWindowExA(dialog, child, "Static", nullptr)) != nullptr) {
        GetWindowTextA(child, text, sizeof text);
        out += text;
    }
    return out;
}

void SeedRawEntry(const std::string& subkey, DWORD nameType, const std::string& name, DWORD commandType,
                  const std::string& command)
{
    HKEY key;
    const std::string path = std::string(kUninstallKey) + "\\" + subkey;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
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

std::pair<int, HBITMAP> Quillet::HeaderImage(int column) const
{
    HWND header = ListView_GetHeader(Child(3002));
    RemoteBuffer buffer(process_.dwProcessId, sizeof(HDITEMA));
    HDITEMA item{};
    item.mask = HDI_FORMAT | HDI_BITMAP;
    buffer.Write(&item, sizeof item);
    SendMessageA(header, HDM_GETITEMA, column, reinterpret_cast<LPARAM>(buffer.Address()));
    buffer.Read(&item, sizeof item);
    return {item.fmt, item.hbm};
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
    RemoteBuffer buffer(app.ProcessId(), sizeof(LVITEMA) + kText);
    LVITEMA item{};
    item.iSubItem = column;
    item.cchTextMax = static_cast<int>(kText);
    item.pszText = static_cast<char*>(buffer.Address(sizeof(LVITEMA)));
    buffer.Write(&item, sizeof item);
    SendMessageA(app.Child(listId), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(buffer.Address()));
    return buffer.ReadString(sizeof(LVITEMA));
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
