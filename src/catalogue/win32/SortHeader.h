#pragma once
#include <windows.h>

#include "common/win32/Handles.h"

namespace quillet::win32 {

// Recolours a bitmap in place to the system's button colours.
void ColorizeBitmap(HBITMAP bitmap);

// The list header's sort arrows: the bitmaps "STUP", "STDOWN" and "STNO",
// recoloured, owned, reloaded when the system colours change, and handed to
// the header items of a list view.
class SortHeader {
public:
    SortHeader() { Load(); }
    void Load();
    void Update(HWND list, int sortColumn, bool ascending) const;

private:
    GdiObject up_, down_, blank_;
};

}  // namespace quillet::win32
