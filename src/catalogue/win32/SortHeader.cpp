#include "catalogue/win32/SortHeader.h"

#include <vector>

#include "catalogue/Colorize.h"

namespace quillet::win32 {

namespace {

enum Image { kUp, kDown, kBlank };

uint32_t SysColor(int index)
{
    const COLORREF c = GetSysColor(index);  // 0x00BBGGRR
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// The bitmap's pixels as 0x00RRGGBB, top row first, and a format to write them back.
struct Pixels {
    BITMAPINFO format{};
    std::vector<uint32_t> rgb;
    int width = 0, height = 0;
};

bool ReadPixels(HBITMAP bitmap, Pixels& pixels)
{
    BITMAP info;
    if (!GetObjectA(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return false;
    pixels.width = info.bmWidth;
    pixels.height = info.bmHeight;
    pixels.format.bmiHeader.biSize = sizeof pixels.format.bmiHeader;
    pixels.format.bmiHeader.biWidth = info.bmWidth;
    pixels.format.bmiHeader.biHeight = -info.bmHeight;  // top-down
    pixels.format.bmiHeader.biPlanes = 1;
    pixels.format.bmiHeader.biBitCount = 32;
    pixels.format.bmiHeader.biCompression = BI_RGB;
    pixels.rgb.assign(static_cast<size_t>(info.bmWidth) * info.bmHeight, 0);
    HDC screen = GetDC(nullptr);
    const bool read = GetDIBits(screen, bitmap, 0, info.bmHeight, pixels.rgb.data(), &pixels.format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    for (uint32_t& p : pixels.rgb) p &= 0xFFFFFF;
    return read;
}

// A monochrome mask that is set (transparent) wherever the picture is neither
// black nor white: the grey is the header's own face.
HBITMAP FaceMask(const Pixels& pixels)
{
    const int stride = (pixels.width + 15) / 16 * 2;  // rows of whole words
    std::vector<BYTE> bits(static_cast<size_t>(stride) * pixels.height, 0);
    for (int y = 0; y < pixels.height; ++y)
        for (int x = 0; x < pixels.width; ++x) {
            const uint32_t p = pixels.rgb[static_cast<size_t>(y) * pixels.width + x];
            if (p != 0x000000 && p != 0xFFFFFF) bits[static_cast<size_t>(y) * stride + x / 8] |= 0x80 >> (x % 8);
        }
    return CreateBitmap(pixels.width, pixels.height, 1, 1, bits.data());
}

// One image: the picture recoloured to the button colours, its face left out.
void AddArrow(HIMAGELIST images, const char* name)
{
    GdiObject picture(LoadBitmapA(GetModuleHandleA(nullptr), name));
    Pixels pixels;
    if (!picture || !ReadPixels(static_cast<HBITMAP>(picture.get()), pixels)) {
        // Without its picture the image stays empty: the header shows nothing there.
        picture.reset(CreateBitmap(16, 16, 1, 32, nullptr));
        pixels.width = pixels.height = 16;
        pixels.rgb.assign(256, 0xC0C0C0);
    }
    GdiObject mask(FaceMask(pixels));
    ColorizeBitmap(static_cast<HBITMAP>(picture.get()));
    ImageList_Add(images, static_cast<HBITMAP>(picture.get()), static_cast<HBITMAP>(mask.get()));
}

}  // namespace

void ColorizeBitmap(HBITMAP bitmap)
{
    Pixels pixels;
    if (!ReadPixels(bitmap, pixels)) return;
    const ButtonColors colors{SysColor(COLOR_BTNSHADOW), SysColor(COLOR_BTNHIGHLIGHT), SysColor(COLOR_BTNFACE)};
    for (uint32_t& p : pixels.rgb) p = ColorizePixel(p, colors);
    HDC screen = GetDC(nullptr);
    SetDIBits(screen, bitmap, 0, pixels.height, pixels.rgb.data(), &pixels.format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
}

void SortHeader::Load()
{
    // Refilled in place: the header keeps the same list.
    if (!images_) images_.reset(ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 3, 0));
    else ImageList_RemoveAll(images_.get());
    if (!images_) return;
    AddArrow(images_.get(), "STUP");
    AddArrow(images_.get(), "STDOWN");
    AddArrow(images_.get(), "STNO");
}

void SortHeader::Update(HWND list, int sortColumn, bool ascending) const
{
    HWND header = ListView_GetHeader(list);
    const int count = Header_GetItemCount(header);
    if (count <= 0 || !images_) return;
    if (reinterpret_cast<HIMAGELIST>(SendMessageA(header, HDM_GETIMAGELIST, 0, 0)) != images_.get())
        SendMessageA(header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.get()));
    if (sortColumn < 0) sortColumn = 0;
    for (int i = 0; i < count; ++i) {
        const int wanted = i != sortColumn ? kBlank : ascending ? kDown : kUp;
        HDITEMA item{};
        item.mask = HDI_FORMAT | HDI_IMAGE;
        Header_GetItem(header, i, &item);
        const int format = (item.fmt | HDF_IMAGE) & ~(HDF_BITMAP | HDF_BITMAP_ON_RIGHT);
        // Only a change is written: this runs at every paint of the list.
        if (item.fmt == format && item.iImage == wanted) continue;
        item.fmt = format;
        item.iImage = wanted;
        Header_SetItem(header, i, &item);
    }
}

}  // namespace quillet::win32
