// The program list's detail columns: their texts, the grey of system entries
// and the header's menu that hides and shows them.
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

// In the user's short date format; empty for no date.
std::string DateText(int32_t yyyymmdd)
{
    if (yyyymmdd == 0) return {};
    SYSTEMTIME day{};
    day.wYear = static_cast<WORD>(yyyymmdd / 10000);
    day.wMonth = static_cast<WORD>(yyyymmdd / 100 % 100);
    day.wDay = static_cast<WORD>(yyyymmdd % 100);
    wchar_t text[64];
    const int length = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &day, nullptr, text, 64);
    return length > 1 ? Utf8(text, static_cast<size_t>(length - 1)) : std::string();
}

}  // namespace

void ProgramList::AddDetailColumns()
{
    for (const DetailColumn& column : kDetailColumns) AddColumn(column.index, column.caption, column.width);
    wchar_t separator[8] = L".";
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
    decimal_ = separator[0] && separator[0] < 0x80 ? static_cast<char>(separator[0]) : '.';
}

std::string ProgramList::ColumnText(const EntryRow& row, int column) const
{
    switch (column) {
    case 0: return row.caption;
    case 1: return row.command;
    case TSTListView::kSourceColumn: return row.SourceName();
    case TSTListView::kPublisherColumn: return row.details.publisher;
    case TSTListView::kVersionColumn: return row.details.version;
    case TSTListView::kInstalledColumn: return DateText(row.details.installDate);
    case TSTListView::kSizeColumn: return SizeText(row.details.sizeKiB, decimal_);
    default: return row.subkey;
    }
}

LRESULT ProgramList::CustomDraw(NMLVCUSTOMDRAW* draw)
{
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (!Rows) return CDRF_DODEFAULT;
    const auto& rows = Rows();
    const size_t index = draw->nmcd.dwItemSpec;
    if (index >= rows.size()) return CDRF_DODEFAULT;
    const EntryRow& row = rows[index];
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
