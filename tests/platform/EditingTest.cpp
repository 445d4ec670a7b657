#include <windows.h>
#include <aclapi.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/MainFrm.h"
#include "common/win32/Resource.h"
#include "catalogue/win32/Win32FileSystem.h"
#include "catalogue/win32/Win32Registry.h"
#include "editing/win32/PropertiesDialog.h"
#include "editing/win32/Win32OpenDialog.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeMainView.h"

using namespace quillet;
using namespace quillet::win32;

namespace {

const std::string kBase = "Software\\QuilletEditingTests";
const std::string kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const std::string kDenied = kUninstall + "\\QuilletUndeletable";

bool Exists(HKEY root, const std::string& path)
{
    HKEY h;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

void MakeKey(HKEY root, const std::string& path)
{
    HKEY h;
    ASSERT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr), ERROR_SUCCESS);
    RegCloseKey(h);
}

void MakeEntry(const std::string& path, const std::string& name, const std::string& command)
{
    HKEY h;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(h, "DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                   static_cast<DWORD>(name.size() + 1));
    RegSetValueExA(h, "UninstallString", 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>(command.size() + 1));
    RegCloseKey(h);
}

// From now on everyone may read the key, nobody may change or delete it.
void MakeUndeletable(const std::string& path)
{
    HKEY h;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS, &h), ERROR_SUCCESS);
    char everyone[] = "EVERYONE";
    EXPLICIT_ACCESSA access[2]{};
    access[0].grfAccessPermissions = DELETE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY | WRITE_OWNER;
    access[0].grfAccessMode = DENY_ACCESS;
    access[1].grfAccessPermissions = KEY_READ;
    access[1].grfAccessMode = SET_ACCESS;
    for (auto& a : access) {
        a.grfInheritance = NO_INHERITANCE;
        a.Trustee.TrusteeForm = TRUSTEE_IS_NAME;
        a.Trustee.ptstrName = everyone;
    }
    PACL acl = nullptr;
    ASSERT_EQ(SetEntriesInAclA(2, access, nullptr, &acl), ERROR_SUCCESS);
    SECURITY_DESCRIPTOR sd;
    InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE);
    const LONG rc = RegSetKeySecurity(h, DACL_SECURITY_INFORMATION, &sd);
    LocalFree(acl);
    RegCloseKey(h);
    ASSERT_EQ(rc, ERROR_SUCCESS);
}

// Gives the key back to everyone so that it can go.
void RemoveUndeletable(const std::string& path)
{
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, WRITE_DAC, &h) == ERROR_SUCCESS) {
        SECURITY_DESCRIPTOR sd;
        InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
        SetSecurityDescriptorDacl(&sd, TRUE, nullptr, FALSE);  // no DACL: full access
        RegSetKeySecurity(h, DACL_SECURITY_INFORMATION, &sd);
        RegCloseKey(h);
    }
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, path.c_str());
}

TEST(EditingRegistryTest, KeyDeletedWholeAndExistenceIgnoresCase)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, kBase.c_str());
    MakeKey(HKEY_CURRENT_USER, kBase + "\\My_App\\A\\A1\\A11");
    MakeKey(HKEY_CURRENT_USER, kBase + "\\My_App\\A\\A2");
    MakeKey(HKEY_CURRENT_USER, kBase + "\\My_App\\B");
    MakeKey(HKEY_CURRENT_USER, kBase + "\\Neighbour");

    Win32Registry registry;
    registry.SetRootKey(RootKey::CurrentUser);
    ASSERT_TRUE(registry.OpenKey("\\" + kBase, true));
    EXPECT_TRUE(registry.KeyExists("my_app"));
    EXPECT_TRUE(registry.KeyExists("MY_APP"));
    EXPECT_FALSE(registry.KeyExists("My_App_0"));

    EXPECT_TRUE(registry.DeleteKey("MY_APP"));
    EXPECT_FALSE(Exists(HKEY_CURRENT_USER, kBase + "\\My_App"));
    EXPECT_FALSE(registry.KeyExists("My_App"));
    EXPECT_TRUE(Exists(HKEY_CURRENT_USER, kBase + "\\Neighbour"));
    EXPECT_FALSE(registry.DeleteKey("My_App"));  // gone already: nothing deleted
    RegDeleteTreeA(HKEY_CURRENT_USER, kBase.c_str());
}

class DeletionFailureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RemoveUndeletable(kDenied);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, (kUninstall + "\\QuilletDeletable").c_str());
        MakeEntry(kDenied, "Quillet Undeletable", "C:\\nowhere\\gone.exe");
        MakeEntry(kUninstall + "\\QuilletDeletable", "Quillet Deletable", "C:\\nowhere\\gone2.exe");
        main.Catalogue().ApplySortState(0, true);
        main.Catalogue().LoadPrograms();
        // The rights change after the list was read.
        MakeUndeletable(kDenied);
    }
    void TearDown() override
    {
        RemoveUndeletable(kDenied);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, (kUninstall + "\\QuilletDeletable").c_str());
        EXPECT_FALSE(Exists(HKEY_LOCAL_MACHINE, kDenied));
    }
    int RowOf(const std::string& caption) const
    {
        for (size_t i = 0; i < main.Rows().size(); ++i)
            if (main.Rows()[i].caption == caption) return static_cast<int>(i);
        return -1;
    }

    Win32Registry registry;
    fakes::FakeFileSystem files;
    fakes::FakeLocale locale;
    fakes::FakeClock clock;
    fakes::FakeDialogs dialogs;
    fakes::FakeRunner runner;
    fakes::FakeMainView view;
    TMain main{view, Ports{registry, files, locale, clock, dialogs, runner}};
};

TEST_F(DeletionFailureTest, AKeyWeMayNotDeleteIsNotReportedAsDeleted)
{
    // The premise: the accessor, which opens keys with full access, cannot
    // open this one. (Wine lets a bare DELETE handle through, so the plain
    // API call would succeed; the accessor's deletion does not.)
    HKEY probe;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kDenied.c_str(), 0, KEY_ALL_ACCESS, &probe), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(registry.KeyExists("\\" + kDenied));  // taken, though it cannot be opened for writing

    view.focused = RowOf("Quillet Undeletable");
    ASSERT_GE(view.focused, 0);
    const size_t rows = main.Rows().size();
    main.Guard([&] { main.Editing().DeleteClick(); });
    EXPECT_EQ(dialogs.failures,
              std::vector<std::string>{"Uninstall shortcut for \"Quillet Undeletable\" application could not be deleted."});
    EXPECT_TRUE(Exists(HKEY_LOCAL_MACHINE, kDenied));
    EXPECT_EQ(main.Rows().size(), rows);
    EXPECT_EQ(main.Log().Size(), 0u);

    // Delete bad goes on past it and deletes the other bad entry.
    dialogs.failures.clear();
    main.Guard([&] { main.Editing().DeleteBadBtnClick(); });
    EXPECT_FALSE(Exists(HKEY_LOCAL_MACHINE, kUninstall + "\\QuilletDeletable"));
    EXPECT_TRUE(Exists(HKEY_LOCAL_MACHINE, kDenied));
    EXPECT_GE(RowOf("Quillet Undeletable"), 0);
    EXPECT_EQ(RowOf("Quillet Deletable"), -1);
    ASSERT_FALSE(dialogs.failures.empty());
    EXPECT_NE(dialogs.failures.back().find("Quillet Undeletable"), std::string::npos);
    ASSERT_GE(main.Log().Size(), 1u);
    EXPECT_EQ(main.Log().Records()[0].message, "Uninstall shortcut for \"Quillet Deletable\" application deleted!");
}

// ---- Dialogs, driven from a helper thread while this one runs the modal loop

HWND WaitForWindow(const char* caption, HWND except = nullptr)
{
    for (int i = 0; i < 1000; ++i) {
        HWND w = nullptr;
        while ((w = FindWindowExA(nullptr, w, "#32770", caption)) != nullptr) {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (w != except && pid == GetCurrentProcessId() && IsWindowVisible(w)) return w;
        }
        Sleep(10);
    }
    return nullptr;
}

bool WaitGone(HWND window)
{
    for (int i = 0; i < 1000 && IsWindow(window) && IsWindowVisible(window); ++i) Sleep(10);
    return !IsWindow(window) || !IsWindowVisible(window);
}

std::string Text(HWND control)
{
    char text[1024];
    GetWindowTextA(control, text, sizeof text);
    return text;
}

HWND FocusOf(DWORD thread)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(thread, &info);
    return info.hwndFocus;
}

class OpenDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        dir = std::string(temp) + "Quillet Browse";
        CreateDirectoryA(dir.c_str(), nullptr);
        file = dir + "\\unins000.exe";
        HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(h);
    }
    void TearDown() override
    {
        DeleteFileA(file.c_str());
        RemoveDirectoryA(dir.c_str());
    }
    std::string dir, file;
};

TEST_F(OpenDialogTest, TitledBrowseQuietWhileOpenAndReturnsTheChosenPath)
{
    SetErrorMode(0);
    OpenDialogState state;
    state.initialDir = dir + "\\";
    std::atomic<UINT> modeWhileOpen{0};
    std::string title;
    std::thread helper([&] {
        HWND dialog = WaitForWindow("Browse");
        if (!dialog) return;
        title = Text(dialog);
        modeWhileOpen = GetErrorMode();
        // The file name field of the system's dialog.
        HWND name = GetDlgItem(dialog, 0x47c);  // cmb13
        if (!name) name = GetDlgItem(dialog, 0x480);  // edt1
        SetWindowTextA(name, "unins000.exe");
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    const bool confirmed = ExecuteOpenDialog(nullptr, state);
    helper.join();
    EXPECT_EQ(title, "Browse");
    EXPECT_EQ(modeWhileOpen.load() & 0x8001u, 0x8001u);
    EXPECT_EQ(GetErrorMode() & 0x8001u, 0u);  // restored
    ASSERT_TRUE(confirmed);
    EXPECT_EQ(CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, state.fileName.c_str(), -1, file.c_str(), -1),
              CSTR_EQUAL)
        << state.fileName;

    // Cancelled: false, and the file name it held stays.
    std::thread cancel([] {
        if (HWND dialog = WaitForWindow("Browse")) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    const std::string before = state.fileName;
    EXPECT_FALSE(ExecuteOpenDialog(nullptr, state));
    cancel.join();
    EXPECT_EQ(state.fileName, before);
}

class PropertiesDialogTest : public OpenDialogTest {
protected:
    Win32FileSystem files;
    TPropertiesForm form{files};
    DWORD thread = GetCurrentThreadId();
};

TEST_F(PropertiesDialogTest, ShowsTheFormFocusesTheNameAndRefusesEmptyFields)
{
    form.Caption = "\"Alpha\" properties";
    form.Display = "Alpha";
    form.Uninstall.Text = "C:\\App\\remove.exe /S";
    std::string caption, display, command;
    RECT client{}, frame{};
    HWND focus = nullptr, displayEdit = nullptr;
    bool keptOpen = false;
    std::string box;
    LRESULT limits[2] = {};
    std::thread helper([&] {
        HWND dialog = WaitForWindow("\"Alpha\" properties");
        if (!dialog) return;
        Sleep(200);  // the focus moves once the dialog shows
        caption = Text(dialog);
        display = Text(GetDlgItem(dialog, IDC_PROP_DISPLAY));
        command = Text(GetDlgItem(dialog, IDC_PROP_UNINSTALL));
        GetClientRect(dialog, &client);
        GetWindowRect(dialog, &frame);
        displayEdit = GetDlgItem(dialog, IDC_PROP_DISPLAY);
        focus = FocusOf(thread);
        limits[0] = SendDlgItemMessageA(dialog, IDC_PROP_DISPLAY, EM_GETLIMITTEXT, 0, 0);
        limits[1] = SendDlgItemMessageA(dialog, IDC_PROP_UNINSTALL, EM_GETLIMITTEXT, 0, 0);

        // Emptied name, then Enter: the box, and OK in it keeps the dialog.
        SetWindowTextA(displayEdit, "");
        PostMessageA(GetDlgItem(dialog, IDC_PROP_UNINSTALL), WM_KEYDOWN, VK_RETURN, 1);
        HWND info = WaitForWindow("Information");
        if (!info) return;
        box = Text(info);
        PostMessageA(info, WM_COMMAND, IDOK, 0);
        WaitGone(info);
        Sleep(100);
        keptOpen = IsWindowVisible(dialog) != FALSE;
        // OK again, and Cancel in the box closes the dialog as cancelled.
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        info = WaitForWindow("Information");
        if (info) PostMessageA(info, WM_COMMAND, IDCANCEL, 0);
    });
    const bool ok = ShowPropertiesDialog(nullptr, form);
    helper.join();
    EXPECT_FALSE(ok);
    EXPECT_EQ(caption, "\"Alpha\" properties");
    EXPECT_EQ(display, "Alpha");
    EXPECT_EQ(command, "C:\\App\\remove.exe /S");
    EXPECT_EQ(client.right, 350);
    EXPECT_EQ(client.bottom, 165);
    EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 2);
    EXPECT_EQ(focus, displayEdit);
    EXPECT_EQ(box, "Information");
    EXPECT_TRUE(keptOpen);
    for (LRESULT limit : limits) EXPECT_GT(limit, 0x10000000);  // no limit of the fields' own
    EXPECT_EQ(form.Display, "");  // texts as they stood
    EXPECT_EQ(form.Uninstall.Text, "C:\\App\\remove.exe /S");
}

TEST_F(PropertiesDialogTest, EscapeClosesWithoutAWordAndEnterConfirms)
{
    form.Caption = "New shortcut";
    std::thread escape([] {
        HWND dialog = WaitForWindow("New shortcut");
        if (!dialog) return;
        Sleep(100);
        PostMessageA(GetDlgItem(dialog, IDC_PROP_DISPLAY), WM_KEYDOWN, VK_ESCAPE, 1);
    });
    EXPECT_FALSE(ShowPropertiesDialog(nullptr, form));
    escape.join();

    std::thread enter([] {
        HWND dialog = WaitForWindow("New shortcut");
        if (!dialog) return;
        SetWindowTextA(GetDlgItem(dialog, IDC_PROP_DISPLAY), "My App");
        SetWindowTextA(GetDlgItem(dialog, IDC_PROP_UNINSTALL), "\"C:\\My App\\u.exe\" /x");
        PostMessageA(GetDlgItem(dialog, IDC_PROP_DISPLAY), WM_KEYDOWN, VK_RETURN, 1);
    });
    EXPECT_TRUE(ShowPropertiesDialog(nullptr, form));
    enter.join();
    EXPECT_EQ(form.Display, "My App");
    EXPECT_EQ(form.Uninstall.Text, "\"C:\\My App\\u.exe\" /x");
}

TEST_F(PropertiesDialogTest, AltDownBrowsesAndAConfirmedPathWithABlankIsQuoted)
{
    form.Caption = "New shortcut";
    form.Uninstall.Text = "\"" + file + "\" /S";  // the field's file starts the dialog
    std::string startedIn;
    std::string display, command;
    std::thread helper([&] {
        HWND dialog = WaitForWindow("New shortcut");
        if (!dialog) return;
        HWND edit = GetDlgItem(dialog, IDC_PROP_UNINSTALL);
        PostMessageA(edit, WM_SYSKEYDOWN, VK_DOWN, 0x20000001);
        HWND browse = WaitForWindow("Browse");
        if (!browse) return;
        HWND name = GetDlgItem(browse, 0x47c);
        if (!name) name = GetDlgItem(browse, 0x480);
        startedIn = Text(name);
        PostMessageA(browse, WM_COMMAND, IDOK, 0);
        WaitGone(browse);
        Sleep(200);
        display = Text(GetDlgItem(dialog, IDC_PROP_DISPLAY));
        command = Text(edit);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_TRUE(ShowPropertiesDialog(nullptr, form));
    helper.join();
    EXPECT_NE(startedIn.find("unins000.exe"), std::string::npos) << startedIn;
    EXPECT_EQ(display, "unins000.exe");
    EXPECT_EQ(form.Display, "unins000.exe");
    ASSERT_GE(form.Uninstall.Text.size(), 2u);
    EXPECT_EQ(form.Uninstall.Text.front(), '"');  // the temporary folder's name holds a blank
    EXPECT_EQ(form.Uninstall.Text.back(), '"');
    EXPECT_EQ(command, form.Uninstall.Text);
    EXPECT_EQ(form.Uninstall.Text.find(" /S"), std::string::npos);  // the arguments went
}

}  // namespace
