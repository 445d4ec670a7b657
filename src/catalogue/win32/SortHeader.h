#pragma once
#include <windows.h>
#include <commctrl.h>

#include "common/win32/Handles.h"

namespace quillet::win32 {

// Recolours a bitmap in place to the system's button colours.
void ColorizeBitmap(HBITMAP bitmap);

struct ImageListTraits {
    using Type = HIMAGELIST;
    static HIMAGELIST Null() { return nullptr; }
    static void Close(HIMAGELIST images) { ImageList_Destroy(images); }
};
using ImageList = Owned<ImageListTraits>;

// The list header's sort arrows: the bitmaps "STUP", "STDOWN" and "STNO",
// recoloured, with their grey masked out so that only the engraved edges lie
// on the header, whatever colour the header is drawn in. They are kept in an
// image list of the header, reloaded when the system colours change.
class SortHeader {
public:
    SortHeader() { Load(); }
    void Load();
    void Update(HWND list, int sortColumn, bool ascending) const;

private:
    ImageList images_;
};

}  // namespace quillet::win32
