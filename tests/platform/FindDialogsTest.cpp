#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "platform/AnswerDialog.h"

#include "common/win32/Resource.h"
#include "app/win32/Win32Dialogs.h"
#include "catalogue/Find.h"

using namespace quillet;
using quillet::win32::Win32Dialogs;

namespace {

using platform_test::Answer;

void PostKey(HWND to, WORD key)
{
    PostMessageA(to, WM_KEYDOWN, key, 1);
    PostMessageA(to, WM_KEYUP, key, 0xC0000001);
}

TEST(FindDialogsTest, FindShowsTheLastTextSelectedAndReturnsTheChoice)
{
    Win32Dialogs dialogs;
    TFindForm form;
    form.Edit = "last text";
    form.SearchType = kSearchLog;
    DWORD selection = 0;
    bool editFocused = false, logChecked = false;
    auto helper = Answer("Find Text", [&](HWND dialog) {
        HWND edit = GetDlgItem(dialog, IDC_FINDEDIT);
        selection = static_cast<DWORD>(SendMessageA(edit, EM_GETSEL, 0, 0));
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
        editFocused = info.hwndFocus == edit;
        logChecked = IsDlgButtonChecked(dialog, IDC_SEARCHLOG) == BST_CHECKED;
        SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("  UnInSt "));
        SendDlgItemMessageA(dialog, IDC_SEARCHSHORTCUTS, BM_CLICK, 0, 0);
        PostKey(edit, VK_RETURN);  // the default button
    });
    EXPECT_TRUE(dialogs.ShowFindForm(form));
    helper.join();
    EXPECT_EQ(LOWORD(selection), 0);
    EXPECT_EQ(HIWORD(selection), 9);
    EXPECT_TRUE(editFocused);
    EXPECT_TRUE(logChecked);
    EXPECT_EQ(form.Edit, "  UnInSt ");  // as typed, nothing trimmed
    EXPECT_EQ(form.SearchType, kSearchShortcuts);

    // Escape cancels; the text typed stays for the next time, the list choice does not.
    helper = Answer("Find Text", [](HWND dialog) {
        SendDlgItemMessageA(dialog, IDC_FINDEDIT, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("other"));
        SendDlgItemMessageA(dialog, IDC_SEARCHLOG, BM_CLICK, 0, 0);
        PostKey(GetDlgItem(dialog, IDC_FINDEDIT), VK_ESCAPE);
    });
    EXPECT_FALSE(dialogs.ShowFindForm(form));
    helper.join();
    EXPECT_EQ(form.Edit, "other");
    EXPECT_EQ(form.SearchType, kSearchShortcuts);
}

TEST(FindDialogsTest, ResultListIgnoresEscapeAndTakesADoubleClickAsOk)
{
    Win32Dialogs dialogs;
    TSearchResultForm form{{"Tool", "Zip", "Caf\xE9"}, 0};
    int count = 0, selected = -1;
    bool openAfterEscape = false;
    auto helper = Answer("Search result", [&](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_RESULTLIST);
        count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
        selected = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
        PostKey(list, VK_ESCAPE);
        Sleep(300);
        openAfterEscape = IsWindowVisible(dialog) != FALSE;
        RECT item{};
        SendMessageA(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
        const LPARAM at = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
        PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(list, WM_LBUTTONUP, 0, at);
        PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        PostMessageA(list, WM_LBUTTONUP, 0, at);
    });
    EXPECT_TRUE(dialogs.ShowSearchResultForm(form));
    helper.join();
    EXPECT_EQ(count, 3);
    EXPECT_EQ(selected, 0);
    EXPECT_TRUE(openAfterEscape);
    EXPECT_EQ(form.ItemIndex, 2);

    helper = Answer("Search result",
                    [](HWND dialog) { SendDlgItemMessageA(dialog, IDC_RESULTCANCEL, BM_CLICK, 0, 0); });
    EXPECT_FALSE(dialogs.ShowSearchResultForm(form));
    helper.join();
}

}  // namespace
