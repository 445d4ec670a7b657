// The program list's detail columns: the grey of system entries, the bad mark
// over programs' own icons and the header's menu that hides and shows them.
#include "app/win32/ProgramList.h"

#include <algorithm>

#include "catalogue/STListView.h"
#include "common/win32/Wide.h"

namespace quillet::win32 {

namespace {

struct DetailColumn {
    int index;
    const char* caption;
    int width;
};
constexpr DetailColumn kDetailColumns[] = {
    {TSTListView::kSourceColumn, "Source", 96},      {TSTListView::kPublisherColumn, "Publisher", 120},
    {TSTListView::kVersionColumn, "Version", 70},    {TSTListView::kInstalledColumn, "Installed", 80},
    {TSTListView::kSizeColumn, "Size", 70},
};

}  // namespace

void ProgramList::AddDetailColumns()
{
    for (const DetailColumn& column : kDetailColumns) AddColumn(column.index, column.caption, column.width);
}

LRESULT ProgramList::CustomDraw(NMLVCUSTOMDRAW* draw)
{
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    const EntryRow* drawn = Row ? Row(static_cast<int>(draw->nmcd.dwItemSpec)) : nullptr;
    if (!drawn) return CDRF_DODEFAULT;
    const EntryRow& row = *drawn;
    if (draw->nmcd.dwDrawStage == CDDS_ITEMPOSTPAINT) {
        DrawBadMark(*draw);
        return CDRF_DODEFAULT;
    }
    if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
    // System components and updates are listed, but in grey.
    if (row.details.SystemOrUpdate()) draw->clrText = GetSysColor(COLOR_GRAYTEXT);
    // A bad entry drawn with its program's icon gets the mark over it.
    return row.image == kImageBad && RowImage(row) > kBadMarkImage ? CDRF_NOTIFYPOSTPAINT : CDRF_DODEFAULT;
}

void ProgramList::DrawBadMark(const NMLVCUSTOMDRAW& draw)
{
    RECT icon{};
    const int item = static_cast<int>(draw.nmcd.dwItemSpec);
    if (!ListView_GetItemRect(list_, item, &icon, LVIR_ICON)) return;
    const bool big = (static_cast<DWORD>(GetWindowLongPtrW(list_, GWL_STYLE)) & LVS_TYPEMASK) == LVS_ICON;
    const int size = big ? 32 : 16;
    // Where the list centres the icon in its rectangle.
    const int x = icon.left + std::max(0, static_cast<int>(icon.right - icon.left - size) / 2);
    const int y = icon.top + std::max(0, static_cast<int>(icon.bottom - icon.top - size) / 2);
    ImageList_Draw(big ? bigImages_ : smallImages_, kBadMarkImage, draw.nmcd.hdc, x, y, ILD_TRANSPARENT);
}

void ProgramList::HeaderMenu(POINT screen)
{
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    for (const DetailColumn& column : kDetailColumns)
        AppendMenuW(menu, MF_STRING | (ColumnWidth(column.index) > 0 ? MF_CHECKED : 0),
                    static_cast<UINT_PTR>(column.index + 1), Wide(column.caption).c_str());
    const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, list_, nullptr);
    DestroyMenu(menu);
    for (const DetailColumn& column : kDetailColumns) {
        if (chosen != column.index + 1) continue;
        // A hidden column keeps no width: the settings file keeps the 0.
        const int width = ColumnWidth(column.index);
        SetColumnWidth(column.index, width > 0 ? 0 : column.width);
    }
}

}  // namespace quillet::win32
