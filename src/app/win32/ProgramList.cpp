// The list of uninstall entries: an owner-data list view over the rows, with the sort arrows in its header.
#include "app/win32/ProgramList.h"

#include <algorithm>

#include "catalogue/STListView.h"
#include "common/win32/Resource.h"
#include "common/win32/Wide.h"

namespace quillet::win32 {

namespace {

constexpr UINT kIconsArrived = WM_APP + 0x90;

}  // namespace

ProgramList::~ProgramList()
{
    icons_.reset();  // its thread ends before the lists go
    for (HIMAGELIST list : {smallImages_, bigImages_})
        if (list) ImageList_Destroy(list);
}

void ProgramList::Create(HWND parent, HFONT font)
{
    CreateList(parent, IDC_PROGRAMS, font, LVS_EX_FULLROWSELECT, true);
    smallImages_ = LoadImagePair(16, IDI_ENTRY, IDI_ENTRY_BAD);
    bigImages_ = LoadImagePair(32, IDI_ENTRY, IDI_ENTRY_BAD);
    // A bad entry with an icon of its own shows the mark over it (drawn
    // after the row: not every list draws overlays over icons with alpha).
    for (HIMAGELIST images : {smallImages_, bigImages_}) {
        const int size = images == smallImages_ ? 16 : 32;
        auto mark = static_cast<HICON>(
            LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_BAD_MARK), IMAGE_ICON, size, size, 0));
        ImageList_AddIcon(images, mark);
        DestroyIcon(mark);
    }
    ListView_SetImageList(list_, smallImages_, LVSIL_SMALL);
    ListView_SetImageList(list_, bigImages_, LVSIL_NORMAL);
    icons_ = std::make_unique<ProgramIcons>(list_, kIconsArrived, smallImages_, bigImages_);
    AddColumn(0, "Name", 200);
    AddColumn(1, "Command Line", 200);
    AddColumn(2, "Subkey", 120);
    AddDetailColumns();
    SetWindowSubclass(list_, Proc, 1, reinterpret_cast<DWORD_PTR>(this));
    CreateTip(parent);
}

void ProgramList::CreateTip(HWND parent)
{
    // A tooltip of our own rather than the list's info tips, which not every
    // list control shows: one tool for the whole list, its text asked for
    // each time it shows, for the row then under the pointer.
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
    if (!tip_) return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = parent;
    tool.uId = reinterpret_cast<UINT_PTR>(list_);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageA(tip_, TTM_SETMAXTIPWIDTH, 0, 600);  // long paths wrap
}

LRESULT CALLBACK ProgramList::Proc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self)
{
    auto* pane = reinterpret_cast<ProgramList*>(self);
    switch (message) {
    case WM_PAINT:
        // Whatever rebuilt the header (a view style, columns, widths), the arrow stays.
        if (pane->OnHeaderRepaint) pane->OnHeaderRepaint();
        break;
    case WM_MOUSEMOVE: {
        // Another row: its own tip, after the usual wait.
        const int row = pane->RowAtClient({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        if (row != pane->tipRow_ && pane->tip_) SendMessageA(pane->tip_, TTM_POP, 0, 0);
        pane->tipRow_ = row;
        break;
    }
    case WM_KEYDOWN:
        if (wParam == 'A' && GetKeyState(VK_CONTROL) < 0) {
            pane->SelectAll();
            return 0;
        }
        break;
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) == ListView_GetHeader(list)) {
            POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            if (lParam == -1) GetCursorPos(&at);
            pane->HeaderMenu(at);
            return 0;
        }
        break;
    case kIconsArrived:
        if (pane->icons_ && pane->icons_->TakeArrived()) InvalidateRect(list, nullptr, FALSE);
        return 0;
    case WM_SYSCOLORCHANGE:
        pane->sortHeader_.Load();
        if (pane->OnHeaderRepaint) pane->OnHeaderRepaint();
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(list, Proc, 1);
        break;
    }
    return DefSubclassProc(list, message, wParam, lParam);
}

LRESULT ProgramList::Notify(NMHDR* header)
{
    switch (header->code) {
    case NM_CUSTOMDRAW:
        if (header->hwndFrom == list_) return CustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(header));
        break;
    case LVN_GETDISPINFOW:
        OnDispInfo(reinterpret_cast<NMLVDISPINFOW*>(header));
        break;
    case TTN_GETDISPINFOW:
        OnTipText(reinterpret_cast<NMTTDISPINFOW*>(header));
        break;
    case LVN_ITEMCHANGED:
        if (OnChange) OnChange();
        break;
    case NM_CLICK:
        if (OnClick) OnClick();
        break;
    case NM_DBLCLK:
        if (OnDblClick) OnDblClick();
        break;
    case LVN_COLUMNCLICK:
        if (OnColumnClick) OnColumnClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
        break;
    case NM_SETFOCUS:
        if (OnFocus) OnFocus();
        break;
    }
    return 0;
}

void ProgramList::OnDispInfo(NMLVDISPINFOW* info)
{
    LVITEMW& item = info->item;
    const EntryRow* shown = Row ? Row(item.iItem) : nullptr;
    if (!shown) return;
    const EntryRow& row = *shown;
    if ((item.mask & LVIF_TEXT) && Text) CopyWide(Text(row, item.iSubItem), item.pszText, item.cchTextMax);
    if (item.mask & LVIF_IMAGE) item.iImage = RowImage(row);
}

int ProgramList::RowImage(const EntryRow& row)
{
    // The program's own icon where it has one.
    return icons_ ? icons_->Image(row.details.displayIcon, row.image) : row.image;
}

void ProgramList::OnTipText(NMTTDISPINFOW* info)
{
    const DWORD at = GetMessagePos();
    const int row = RowAt({static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))});
    tipText_ = Wide(InfoTip && row >= 0 ? InfoTip(row) : std::string());
    // An empty text shows no tip.
    info->lpszText = tipText_.data();
    info->hinst = nullptr;
}

int ProgramList::RowAt(POINT screen) const
{
    ScreenToClient(list_, &screen);
    return RowAtClient(screen);
}

int ProgramList::RowAtClient(POINT client) const
{
    LVHITTESTINFO hit{};
    hit.pt = client;
    const int row = ListView_HitTest(list_, &hit);
    return row >= 0 && (hit.flags & LVHT_ONITEM) ? row : -1;
}

void ProgramList::Replaced(size_t count)
{
    if (icons_) icons_->ForgetMissing();
    Flush();
    ListView_DeleteAllItems(list_);
    ListView_SetItemCountEx(list_, static_cast<int>(count), 0);
    PlaceRows();
}

void ProgramList::Added(size_t count)
{
    // Appended at the end: the states of the rows before it stay in place.
    Flush();
    ListView_SetItemCountEx(list_, static_cast<int>(count), LVSICF_NOSCROLL);
    PlaceRows();
}

void ProgramList::Removed(int index, size_t count)
{
    // An owner-data list keeps its states by position: follow the rows.
    const int focused = Focused();
    const int to = focused == index ? -1 : focused > index ? focused - 1 : focused;
    if (Defer(count, to)) return;
    MoveFocus(focused, to);
    ListView_SetItemCountEx(list_, static_cast<int>(count), LVSICF_NOSCROLL);
    PlaceRows();
}

void ProgramList::PlaceRows()
{
    // In the icon views a row grown by the count has no place of its own yet
    // (some controls put every such row on the first one's): lay all out in order.
    // Once per run of changes, not once per removed row.
    if (!Redrawing()) return;
    const DWORD view = static_cast<DWORD>(GetWindowLongPtrA(list_, GWL_STYLE)) & LVS_TYPEMASK;
    if (view == LVS_ICON || view == LVS_SMALLICON) ListView_Arrange(list_, LVA_DEFAULT);
    InvalidateRect(list_, nullptr, TRUE);
}

void ProgramList::Reordered(int focused)
{
    // An owner-data list keeps its states by position: move them with the row.
    Flush();
    MoveFocus(Focused(), focused);
    InvalidateRect(list_, nullptr, TRUE);
}

namespace {

bool IconView(HWND list)
{
    const DWORD view = static_cast<DWORD>(GetWindowLongPtrA(list, GWL_STYLE)) & LVS_TYPEMASK;
    return view == LVS_ICON || view == LVS_SMALLICON;
}

}  // namespace

int ProgramList::ScrollPosition() const
{
    if (!IconView(list_)) return ListView_GetTopIndex(list_);
    POINT origin{};
    ListView_GetOrigin(list_, &origin);
    return origin.y;
}

void ProgramList::RestoreScroll(int position)
{
    if (IconView(list_)) {
        POINT origin{};
        ListView_GetOrigin(list_, &origin);
        if (position != origin.y) ListView_Scroll(list_, 0, position - origin.y);
        return;
    }
    const int count = ListView_GetItemCount(list_);
    if (count == 0 || position <= 0) return;
    const int top = std::min(position, count - 1);
    const DWORD view = static_cast<DWORD>(GetWindowLongPtrA(list_, GWL_STYLE)) & LVS_TYPEMASK;
    if (view == LVS_REPORT) {
        RECT row{};
        ListView_GetItemRect(list_, 0, &row, LVIR_BOUNDS);
        ListView_Scroll(list_, 0, (top - ListView_GetTopIndex(list_)) * (row.bottom - row.top));
    } else {
        // The list view scrolls by columns: from the end back to the row, which then leads.
        ListView_EnsureVisible(list_, count - 1, FALSE);
        ListView_EnsureVisible(list_, top, FALSE);
    }
}

void ProgramList::UpdateHeaderImages(int sortColumn, bool ascending)
{
    sortHeader_.Update(list_, sortColumn, ascending);
}

void ProgramList::SetViewStyle(ViewStyle style)
{
    static constexpr DWORD kStyles[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    const DWORD current = static_cast<DWORD>(GetWindowLongPtrA(list_, GWL_STYLE));
    SetWindowLongPtrA(list_, GWL_STYLE, (current & ~LVS_TYPEMASK) | kStyles[static_cast<int>(style)]);
    PlaceRows();
    const int focused = Focused();
    if (focused >= 0) ListView_EnsureVisible(list_, focused, FALSE);
}

}  // namespace quillet::win32
