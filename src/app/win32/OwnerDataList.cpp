// What the two owner-data list panes share: the control, its focused row and its columns.
#include "app/win32/OwnerDataList.h"

#include <commctrl.h>

namespace quillet::win32 {

void OwnerDataList::CreateList(HWND parent, int id, HFONT font, DWORD extendedStyle, bool multiple)
{
    // Auto-arranged: in the icon views the rows flow again when the width changes.
    list_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA |
                                (multiple ? 0 : LVS_SINGLESEL) | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS |
                                LVS_AUTOARRANGE,
                            0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            GetModuleHandleW(nullptr), nullptr);
    SendMessageA(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    ListView_SetExtendedListViewStyle(list_, extendedStyle);
}

void OwnerDataList::AddColumn(int index, const char* caption, int width)
{
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<char*>(caption);
    column.cx = width;
    column.iSubItem = index;
    ListView_InsertColumn(list_, index, &column);
}

HIMAGELIST OwnerDataList::LoadImagePair(int size, int first, int second)
{
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 2, 0);
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    for (int id : {first, second}) {
        auto icon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
        ImageList_AddIcon(list, icon);
        DestroyIcon(icon);
    }
    return list;
}

int OwnerDataList::Focused() const
{
    if (pending_.changed) return pending_.to;
    return ListView_GetNextItem(list_, -1, LVNI_FOCUSED);
}

void OwnerDataList::Focus(int index)
{
    Flush();
    ListView_SetItemState(list_, index, LVIS_FOCUSED, LVIS_FOCUSED);
    ListView_SetItemState(list_, index, LVIS_SELECTED, LVIS_SELECTED);
    ListView_EnsureVisible(list_, index, TRUE);
}

void OwnerDataList::MoveFocus(int from, int to)
{
    const bool selected = from >= 0 && (ListView_GetItemState(list_, from, LVIS_SELECTED) & LVIS_SELECTED);
    // Only the rows that hold a state: a clear of all rows visits every row,
    // on each of thousands of removals. A selection of several goes whole.
    for (int row = ListView_GetNextItem(list_, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(list_, row, LVNI_SELECTED))
        ListView_SetItemState(list_, row, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (from >= 0) ListView_SetItemState(list_, from, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (to >= 0) {
        ListView_SetItemState(list_, to, LVIS_FOCUSED | (selected ? LVIS_SELECTED : 0), LVIS_FOCUSED | LVIS_SELECTED);
    }
}

std::vector<int> OwnerDataList::Selected() const
{
    std::vector<int> rows;
    if (pending_.changed) return rows;  // the selection went with the rows
    for (int row = ListView_GetNextItem(list_, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(list_, row, LVNI_SELECTED))
        rows.push_back(row);
    return rows;
}

void OwnerDataList::SelectAll() { ListView_SetItemState(list_, -1, LVIS_SELECTED, LVIS_SELECTED); }

void OwnerDataList::RedrawRow(int index)
{
    Flush();
    ListView_RedrawItems(list_, index, index);
}

bool OwnerDataList::Defer(size_t count, int to)
{
    if (!pending_.stopped) return false;
    if (!pending_.changed) pending_.from = ListView_GetNextItem(list_, -1, LVNI_FOCUSED);
    pending_.changed = true;
    pending_.count = count;
    pending_.to = to;
    return true;
}

void OwnerDataList::Flush()
{
    if (!pending_.changed) return;
    pending_.changed = false;
    const int from = pending_.from;
    // The selection goes with the focus; read it while its row is still counted.
    const bool selected = from >= 0 && (ListView_GetItemState(list_, from, LVIS_SELECTED) & LVIS_SELECTED);
    MoveFocus(from, -1);
    ListView_SetItemCountEx(list_, static_cast<int>(pending_.count), LVSICF_NOSCROLL);
    if (pending_.to >= 0)
        ListView_SetItemState(list_, pending_.to, LVIS_FOCUSED | (selected ? LVIS_SELECTED : 0),
                              LVIS_FOCUSED | LVIS_SELECTED);
    InvalidateRect(list_, nullptr, TRUE);
}

int OwnerDataList::ColumnWidth(int column) const
{
    // Kept by the columns in every view style.
    LVCOLUMNA info{};
    info.mask = LVCF_WIDTH;
    return ListView_GetColumn(list_, column, &info) ? info.cx : 0;
}

void OwnerDataList::SetColumnWidth(int column, int pixels) { ListView_SetColumnWidth(list_, column, pixels); }

void OwnerDataList::StopRedraw()
{
    // Each removal would redraw the lists' scroll bars and headers at once.
    SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    pending_ = Pending{};
    pending_.stopped = true;
}

void OwnerDataList::Redraw()
{
    Flush();
    pending_.stopped = false;
    SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    Settle();
    RedrawWindow(list_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

}  // namespace quillet::win32
