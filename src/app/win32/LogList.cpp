// The actions log pane: an owner-data list view over the log's records.
#include "app/win32/LogList.h"

#include "common/win32/Resource.h"
#include "common/win32/Wide.h"

namespace quillet::win32 {

LogList::~LogList()
{
    if (images_) ImageList_Destroy(images_);
}

void LogList::Create(HWND parent, HFONT font)
{
    CreateList(parent, IDC_LOG, font, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    images_ = LoadImagePair(16, IDI_LOG_INFO, IDI_LOG_ERROR);
    ListView_SetImageList(list_, images_, LVSIL_SMALL);
    AddColumn(0, "Time", 150);
    AddColumn(1, "Action", 200);
    AddColumn(2, "Comment", 250);
    SetWindowSubclass(list_, Proc, 1, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK LogList::Proc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self)
{
    auto* pane = reinterpret_cast<LogList*>(self);
    const LRESULT result = DefSubclassProc(list, message, wParam, lParam);
    switch (message) {
    case WM_SIZE:
        // Also when the vertical scroll bar comes or goes: the client width changed.
        pane->FitActionColumn();
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(list, Proc, 1);
        break;
    }
    return result;
}

void LogList::Inserted(size_t count, bool dropped)
{
    const int focused = Focused();
    const int rows = static_cast<int>(count);
    const int to = focused < 0 || (dropped && focused + 1 >= rows) ? -1 : focused + 1;
    if (Defer(count, to)) return;
    ListView_SetItemCountEx(list_, rows, LVSICF_NOSCROLL);
    if (focused >= 0) MoveFocus(focused, to);
    FitActionColumn();
    InvalidateRect(list_, nullptr, TRUE);
}

void LogList::Cleared()
{
    Flush();
    ListView_DeleteAllItems(list_);
    ListView_SetItemCountEx(list_, 0, 0);
    FitActionColumn();
    InvalidateRect(list_, nullptr, TRUE);
}

void LogList::FitActionColumn()
{
    // Setting the width may take the horizontal bar away and resize us again.
    if (fitting_) return;
    fitting_ = true;
    RECT client;
    GetClientRect(list_, &client);
    const int action = client.right - ListView_GetColumnWidth(list_, 0) - ListView_GetColumnWidth(list_, 2);
    const int width = action > 50 ? action : 50;
    if (ListView_GetColumnWidth(list_, 1) != width) ListView_SetColumnWidth(list_, 1, width);
    fitting_ = false;
}

void LogList::Notify(NMHDR* header)
{
    switch (header->code) {
    case LVN_GETDISPINFOW: {
        if (!Records) return;
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
        const auto& records = Records();
        if (item.iItem < 0 || item.iItem >= static_cast<int>(records.size())) return;
        const LogRecord& record = records[item.iItem];
        if (item.mask & LVIF_TEXT) {
            const std::string& text =
                item.iSubItem == 0 ? record.time : item.iSubItem == 1 ? record.message : record.comment;
            CopyWide(text, item.pszText, item.cchTextMax);
        }
        if (item.mask & LVIF_IMAGE) item.iImage = record.image;
        break;
    }
    case NM_DBLCLK:
        if (OnDblClick) OnDblClick();
        break;
    case NM_SETFOCUS:
        if (OnFocus) OnFocus();
        break;
    }
}

}  // namespace quillet::win32
