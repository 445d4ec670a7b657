#include "catalogue/win32/SortHeader.h"

#include <commctrl.h>

#include <vector>

#include "catalogue/Colorize.h"

namespace quillet::win32 {

namespace {

uint32_t SysColor(int index)
{
    const COLORREF c = GetSysColor(index);  // 0x00BBGGRR
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

HBITMAP LoadColorized(const char* name)
{
    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), name);
    if (bitmap) ColorizeBitmap(bitmap);
    return bitmap;
}

}  // namespace

void ColorizeBitmap(HBITMAP bitmap)
{
    BITMAP info;
    if (!GetObjectA(bitmap, sizeof info, &info)) return;
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = info.bmWidth;
    format.bmiHeader.biHeight = -info.bmHeight;  // top-down
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> pixels(static_cast<size_t>(info.bmWidth) * info.bmHeight);  // 0x00RRGGBB in BGRA order

    HDC screen = GetDC(nullptr);
    if (GetDIBits(screen, bitmap, 0, info.bmHeight, pixels.data(), &format, DIB_RGB_COLORS)) {
        const ButtonColors colors{SysColor(COLOR_BTNSHADOW), SysColor(COLOR_BTNHIGHLIGHT), SysColor(COLOR_BTNFACE)};
        for (uint32_t& p : pixels) p = ColorizePixel(p, colors);
        SetDIBits(screen, bitmap, 0, info.bmHeight, pixels.data(), &format, DIB_RGB_COLORS);
    }
    ReleaseDC(nullptr, screen);
}

void SortHeader::Load()
{
    up_.reset(LoadColorized("STUP"));
    down_.reset(LoadColorized("STDOWN"));
    blank_.reset(LoadColorized("STNO"));
}

void SortHeader::Update(HWND list, int sortColumn, bool ascending) const
{
    HWND header = ListView_GetHeader(list);
    const int count = Header_GetItemCount(header);
    if (count <= 0) return;
    if (sortColumn < 0) sortColumn = 0;
    for (int i = 0; i < count; ++i) {
        const HGDIOBJ wanted = i != sortColumn ? blank_.get() : ascending ? down_.get() : up_.get();
        HDITEMA item{};
        item.mask = HDI_FORMAT | HDI_BITMAP;
        Header_GetItem(header, i, &item);
        const int format = (item.fmt | HDF_BITMAP) & ~HDF_BITMAP_ON_RIGHT;
        // Only a change is written: this runs at every paint of the list.
        if (item.fmt == format && item.hbm == wanted) continue;
        item.fmt = format;
        item.hbm = static_cast<HBITMAP>(wanted);
        Header_SetItem(header, i, &item);
    }
}

}  // namespace quillet::win32
