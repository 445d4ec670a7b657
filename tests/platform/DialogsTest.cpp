#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "platform/AnswerDialog.h"

#include "common/win32/Resource.h"
#include "app/win32/Win32Dialogs.h"
#include "log/ActionsLog.h"

using quillet::LogRecord;
using quillet::win32::Win32Dialogs;

namespace {

using platform_test::Answer;

void PressKey(HWND dialog, WORD key)
{
    HWND focus = GetDlgItem(dialog, IDYES);
    PostMessageA(focus ? focus : dialog, WM_KEYDOWN, key, 1);
    PostMessageA(focus ? focus : dialog, WM_KEYUP, key, 0xC0000001);
}

TEST(DialogsTest, ConfirmationIsCentredAndEscapeAnswersNo)
{
    Win32Dialogs dialogs;
    RECT where{};
    auto helper = Answer("Confirm", [](HWND box) { PressKey(box, VK_ESCAPE); }, &where);
    EXPECT_FALSE(dialogs.Confirm("Are you really want to clear actions log?"));
    helper.join();
    const int cx = (where.left + where.right) / 2, cy = (where.top + where.bottom) / 2;
    EXPECT_NEAR(cx, GetSystemMetrics(SM_CXSCREEN) / 2, 2);
    EXPECT_NEAR(cy, GetSystemMetrics(SM_CYSCREEN) / 2, 2);

    // Enter takes the default button, Yes.
    helper = Answer("Confirm", [](HWND box) { PressKey(box, VK_RETURN); });
    EXPECT_TRUE(dialogs.Confirm("Sure?"));
    helper.join();
}

TEST(DialogsTest, EditLogShowsTheRecordAndReturnsTheComment)
{
    Win32Dialogs dialogs;
    const LogRecord record{"05.01.2027 07:08:09", "Shortcut for \"A & B\" application added.", "old", 0};
    std::string seenTime, seenMessage, seenComment;
    RECT where{};
    auto helper = Answer("Edit log", [&](HWND dialog) {
        char text[256];
        GetDlgItemTextA(dialog, IDC_TIME, text, sizeof text);
        seenTime = text;
        GetDlgItemTextA(dialog, IDC_MSG, text, sizeof text);
        seenMessage = text;
        GetDlgItemTextA(dialog, IDC_COMMENT, text, sizeof text);
        seenComment = text;
        SendDlgItemMessageA(dialog, IDC_COMMENT, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("checked by hand"));
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    }, &where);
    std::string comment = record.comment;
    EXPECT_TRUE(dialogs.EditLog(record, comment));
    helper.join();
    EXPECT_EQ(comment, "checked by hand");
    EXPECT_EQ(seenTime, record.time);
    EXPECT_EQ(seenMessage, record.message);
    EXPECT_EQ(seenComment, "old");
    EXPECT_EQ(where.left, 594);
    EXPECT_EQ(where.top, 252);

    // Cancel leaves the caller's comment alone.
    helper = Answer("Edit log", [](HWND dialog) {
        SendDlgItemMessageA(dialog, IDC_COMMENT, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("typed"));
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_FALSE(dialogs.EditLog(record, comment));
    helper.join();
    EXPECT_EQ(comment, "checked by hand");
}

}  // namespace
