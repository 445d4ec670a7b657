#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/win32/ProgramIcons.h"

using quillet::win32::ProgramIcons;

namespace {

// Only an icon of a file on a local drive, at its index, is read.
TEST(ProgramIcons, ReadsTheIconAtItsIndexOfALocalFileOnly)
{
    const std::pair<const char*, bool> cases[] = {
        {"%SystemRoot%\\system32\\shell32.dll,3", true},
        {"\"%SystemRoot%\\system32\\shell32.dll\"", true},
        {"%SystemRoot%\\system32\\shell32.dll,99999", false},
        {"%SystemRoot%\\system32", false},
        {"C:\\no\\such\\file.ico", false},
        {"\\\\localhost\\C$\\windows\\system32\\shell32.dll,3", false},
        {"shell32.dll,3", false},
    };
    for (const auto& [text, loads] : cases) {
        HICON big = nullptr, small = nullptr;
        EXPECT_EQ(ProgramIcons::Load(text, big, small), loads) << text;
        EXPECT_EQ(big != nullptr || small != nullptr, loads) << text;
        for (HICON icon : {big, small})
            if (icon) DestroyIcon(icon);
    }
}

// Asked for by a row, loaded by the thread, taken into both lists at the
// same index; meanwhile and for a file without one, the row's own picture.
TEST(ProgramIcons, ArriveInBothImageListsAtTheSameIndex)
{
    HWND window = CreateWindowA("STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    HIMAGELIST small = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 4);
    HIMAGELIST big = ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 4, 4);
    for (int i = 0; i < 3; ++i)
        for (HIMAGELIST list : {small, big}) ImageList_AddIcon(list, LoadIconA(nullptr, IDI_APPLICATION));
    const std::string shell = "%SystemRoot%\\system32\\shell32.dll,3", missing = "C:\\no\\such.ico";
    {
        constexpr UINT kArrived = WM_APP + 7;
        ProgramIcons icons(window, kArrived, small, big);
        EXPECT_EQ(icons.Image(shell, 1), 1);
        EXPECT_EQ(icons.Image(missing, 0), 0);
        int image = 1;
        for (DWORD start = GetTickCount(); image == 1 && GetTickCount() - start < 10000; Sleep(10)) {
            MSG msg;
            while (PeekMessageA(&msg, window, kArrived, kArrived, PM_REMOVE)) icons.TakeArrived();
            image = icons.Image(shell, 1);
        }
        EXPECT_EQ(image, 3);
        EXPECT_EQ(ImageList_GetImageCount(small), 4);
        EXPECT_EQ(ImageList_GetImageCount(big), 4);
        EXPECT_EQ(icons.Image(missing, 0), 0);
    }
    ImageList_Destroy(small);
    ImageList_Destroy(big);
    DestroyWindow(window);
}

}  // namespace
