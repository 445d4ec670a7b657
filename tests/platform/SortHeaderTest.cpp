#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "catalogue/win32/SortHeader.h"

using quillet::win32::ColorizeBitmap;

namespace {

// The bitmap's pixels as 0xRRGGBB, row by row from the top.
std::vector<uint32_t> Pixels(HBITMAP bitmap)
{
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = 16;
    format.bmiHeader.biHeight = -16;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    std::vector<uint32_t> pixels(256);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, 16, pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    for (auto& p : pixels) p &= 0xFFFFFF;
    return pixels;
}

uint32_t Sys(int index)
{
    const COLORREF c = GetSysColor(index);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

TEST(SortHeaderTest, ArrowsAreDrawnAsGivenAndRecolouredToTheButtonColours)
{
    HBITMAP down = LoadBitmapA(GetModuleHandleA(nullptr), "STDOWN");
    ASSERT_NE(down, nullptr);
    const auto before = Pixels(down);
    EXPECT_EQ(before[4 * 16 + 3], 0x000000u);   // base from (3,4)
    EXPECT_EQ(before[4 * 16 + 12], 0x000000u);  // to (12,4)
    EXPECT_EQ(before[5 * 16 + 11], 0xFFFFFFu);  // right edge white
    EXPECT_EQ(before[11 * 16 + 7], 0x000000u);  // apex (7,11)
    EXPECT_EQ(before[0], 0xC0C0C0u);

    ColorizeBitmap(down);
    const auto after = Pixels(down);
    for (size_t i = 0; i < after.size(); ++i) {
        const uint32_t expected = before[i] == 0 ? Sys(COLOR_BTNSHADOW)
                                  : before[i] == 0xFFFFFF ? Sys(COLOR_BTNHIGHLIGHT)
                                                          : Sys(COLOR_BTNFACE);
        ASSERT_EQ(after[i], expected) << "pixel " << i % 16 << "," << i / 16;
    }
    DeleteObject(down);

    HBITMAP up = LoadBitmapA(GetModuleHandleA(nullptr), "STUP");
    const auto upPixels = Pixels(up);
    EXPECT_EQ(upPixels[4 * 16 + 7], 0x000000u);   // apex (7,4)
    EXPECT_EQ(upPixels[10 * 16 + 11], 0xFFFFFFu); // (11,10) white
    DeleteObject(up);
    HBITMAP blank = LoadBitmapA(GetModuleHandleA(nullptr), "STNO");
    for (uint32_t p : Pixels(blank)) ASSERT_EQ(p, 0xC0C0C0u);
    DeleteObject(blank);
}

}  // namespace
