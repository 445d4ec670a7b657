#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <map>
#include <vector>

#include "platform/AnswerDialog.h"

#include "app/win32/AboutForm.h"
#include "common/win32/Resource.h"
#include "app/win32/Win32Dialogs.h"
#include "catalogue/win32/SortHeader.h"
#include "catalogue/win32/Win32FileSystem.h"
#include "editing/PropFrm.h"
#include "editing/win32/PropertiesDialog.h"
#include "log/ActionsLog.h"

using namespace quillet;

namespace {

// Pixels as 0xRRGGBB, top row first.
struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> rgb;
    uint32_t At(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
};

BITMAPINFO TopDown32(int width, int height)
{
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    return format;
}

Picture Read(HBITMAP bitmap)
{
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    Picture picture{info.bmWidth, info.bmHeight, {}};
    picture.rgb.resize(static_cast<size_t>(info.bmWidth) * info.bmHeight);
    BITMAPINFO format = TopDown32(info.bmWidth, info.bmHeight);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, info.bmHeight, picture.rgb.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    for (uint32_t& p : picture.rgb) p &= 0xFFFFFF;
    return picture;
}

// The window's client area, as it paints itself into a bitmap of ours
// (WM_PRINTCLIENT), or as it stands on the screen once its paints are done:
// some controls draw parts of themselves straight onto their window.
Picture Grab(HWND window, bool fromScreen)
{
    for (int round = 0; fromScreen && round < 5; ++round) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        UpdateWindow(window);
        Sleep(20);
    }
    RECT client{};
    GetClientRect(window, &client);
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO format = TopDown32(client.right, client.bottom);
    void* bits = nullptr;
    HBITMAP canvas = CreateDIBSection(memory, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, canvas);
    if (fromScreen) {
        BitBlt(memory, 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
    } else {
        FillRect(memory, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT | PRF_ERASEBKGND);
    }
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    Picture picture = Read(canvas);
    DeleteObject(canvas);
    return picture;
}

// The colour that most of the rectangle has.
uint32_t Commonest(const Picture& picture, RECT area)
{
    std::map<uint32_t, int> counts;
    for (int y = std::max(0L, area.top); y < std::min<LONG>(picture.height, area.bottom); ++y)
        for (int x = std::max(0L, area.left); x < std::min<LONG>(picture.width, area.right); ++x)
            ++counts[picture.At(x, y)];
    uint32_t best = 0;
    int most = 0;
    for (const auto& [colour, count] : counts)
        if (count > most) best = colour, most = count;
    return best;
}

struct LabelGround {
    int id;
    uint32_t label, page;  // the label's background, and the page's where the label stands
};

// Each label's own background beside the page's colour under it.
std::vector<LabelGround> LabelsOnThePage(HWND dialog, int pageId, std::initializer_list<int> labels)
{
    HWND page = GetDlgItem(dialog, pageId);
    const Picture pagePicture = Grab(page, false);
    std::vector<LabelGround> grounds;
    for (int id : labels) {
        HWND label = GetDlgItem(dialog, id);
        RECT place{};
        GetClientRect(label, &place);
        MapWindowPoints(label, page, reinterpret_cast<POINT*>(&place), 2);
        const Picture picture = Grab(label, false);
        grounds.push_back({id, Commonest(picture, {0, 0, picture.width, picture.height}),
                           Commonest(pagePicture, place)});
    }
    return grounds;
}

void ExpectOnThePage(const std::vector<LabelGround>& grounds, size_t count)
{
    ASSERT_EQ(grounds.size(), count);
    for (const LabelGround& ground : grounds)
        EXPECT_EQ(ground.label, ground.page) << "label " << ground.id;
}

TEST(DialogDrawing, EditLogLabelsStandOnThePagesOwnColour)
{
    win32::Win32Dialogs dialogs;
    const LogRecord record{"05.01.2027 07:08:09", "Started.", "", 0};
    std::vector<LabelGround> grounds;
    auto helper = platform_test::Answer("Edit log", [&](HWND dialog) {
        grounds = LabelsOnThePage(dialog, IDC_PAGES, {IDC_TIMELABEL, IDC_MSGLABEL, IDC_COMMENTLABEL});
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    std::string comment;
    dialogs.EditLog(record, comment);
    helper.join();
    ExpectOnThePage(grounds, 3);
}

TEST(DialogDrawing, PropertiesLabelsStandOnThePagesOwnColour)
{
    win32::Win32FileSystem files;
    TPropertiesForm form{files};
    form.Caption = "Labels";
    std::vector<LabelGround> grounds;
    auto helper = platform_test::Answer("Labels", [&](HWND dialog) {
        grounds = LabelsOnThePage(dialog, IDC_PROP_PAGES, {IDC_PROP_NAMELABEL, IDC_PROP_COMMANDLABEL});
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    win32::ShowPropertiesDialog(nullptr, form);
    helper.join();
    ExpectOnThePage(grounds, 2);
}

TEST(SortHeaderDrawing, BlankShowsNothingAndTheArrowOnlyItsEdges)
{
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_POPUP | WS_VISIBLE | LVS_REPORT, 200, 200, 400, 200, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(list, nullptr);
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_WIDTH;
        column.cx = 100;
        ListView_InsertColumn(list, i, &column);
    }
    HWND header = ListView_GetHeader(list);
    const Picture bare = Grab(header, true);
    win32::SortHeader arrows;
    arrows.Update(list, 1, true);
    const Picture sorted = Grab(header, true);
    ASSERT_EQ(sorted.rgb.size(), bare.rgb.size());

    // Per column: pixels that changed, and of those the ones made darker.
    int changed[3] = {}, darker[3] = {};
    for (int i = 0; i < 3; ++i) {
        RECT item{};
        Header_GetItemRect(header, i, &item);
        for (int y = item.top; y < std::min<LONG>(item.bottom, bare.height); ++y)
            for (int x = item.left; x < std::min<LONG>(item.right, bare.width); ++x) {
                const uint32_t was = bare.At(x, y), now = sorted.At(x, y);
                if (was == now) continue;
                ++changed[i];
                auto sum = [](uint32_t c) { return (c >> 16 & 0xFF) + (c >> 8 & 0xFF) + (c & 0xFF); };
                if (sum(now) < sum(was)) ++darker[i];
            }
    }
    EXPECT_EQ(changed[0], 0);
    EXPECT_EQ(changed[2], 0);
    // The triangle's 23 edge pixels at most, its 17 dark ones at least: no square of grey.
    EXPECT_LE(changed[1], 23);
    EXPECT_GE(darker[1], 17);
    DestroyWindow(list);
}

TEST(AboutDrawing, BothLinksLieWhollyOnTheBadgesBlueFace)
{
    win32::TAboutForm about;
    ASSERT_TRUE(about.Create(nullptr));
    HWND box = about.hwnd();
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(box, region), ERROR);
    RECT frame{};
    GetWindowRect(box, &frame);
    const double cx = (frame.right - frame.left) / 2.0, cy = (frame.bottom - frame.top) / 2.0;
    int links = 0;
    for (HWND link = GetWindow(box, GW_CHILD); link; link = GetWindow(link, GW_HWNDNEXT)) {
        ++links;
        RECT r{};
        GetWindowRect(link, &r);
        OffsetRect(&r, -frame.left, -frame.top);
        EXPECT_GT(r.right - r.left, 100);  // sized to its caption
        for (POINT corner : {POINT{r.left, r.top}, POINT{r.right - 1, r.top}, POINT{r.left, r.bottom - 1},
                             POINT{r.right - 1, r.bottom - 1}}) {
            EXPECT_TRUE(PtInRegion(region, corner.x, corner.y)) << "link " << links;
            // Beyond nine tenths of the ellipse the picture has its rims, where white text is lost.
            const double e = std::hypot((corner.x + 0.5 - cx) / cx, (corner.y + 0.5 - cy) / cy);
            EXPECT_LE(e, 0.9) << "link " << links << " corner " << corner.x << "," << corner.y;
        }
    }
    EXPECT_EQ(links, 2);
    DeleteObject(region);
}

TEST(TrayPicture, ASmallWindowWithARedAndABlueGreenShapeAlsoInTheFirstFrame)
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    auto icon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_TRAY), IMAGE_ICON, 16, 16, 0));
    ASSERT_NE(icon, nullptr);
    ICONINFO parts{};
    ASSERT_TRUE(GetIconInfo(icon, &parts));
    const Picture colour = Read(parts.hbmColor), mask = Read(parts.hbmMask);
    DeleteObject(parts.hbmColor);
    DeleteObject(parts.hbmMask);
    DestroyIcon(icon);
    ASSERT_EQ(colour.width, 16);
    ASSERT_EQ(mask.width, 16);

    auto strip = static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(IDB_TRAYFRAMES), IMAGE_BITMAP, 0, 0,
                                                 LR_CREATEDIBSECTION));
    ASSERT_NE(strip, nullptr);
    const Picture frames = Read(strip);
    DeleteObject(strip);
    ASSERT_EQ(frames.width, 16 * 27);

    int red = 0, blueGreen = 0, frameDiffers = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool shown = mask.At(x, y) == 0;
            const uint32_t c = colour.At(x, y);
            const int r = c >> 16 & 0xFF, g = c >> 8 & 0xFF, b = c & 0xFF;
            if (shown && r >= 0xC0 && g < 0x40 && b < 0x40) ++red;
            if (shown && r < 0x40 && g >= 0x60 && b >= 0x60 && std::abs(g - b) < 0x20) ++blueGreen;
            if (frames.At(x, y) != (shown ? c : 0xFF00FFu)) ++frameDiffers;  // magenta: transparent
        }
    EXPECT_GE(red, 6);
    EXPECT_GE(blueGreen, 6);
    EXPECT_EQ(frameDiffers, 0);
}

}  // namespace
