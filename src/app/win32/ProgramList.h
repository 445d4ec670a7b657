// The list of uninstall entries: an owner-data list view over the rows, with the sort arrows in its header.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/MainView.h"
#include "app/win32/OwnerDataList.h"
#include "app/win32/ProgramIcons.h"
#include "catalogue/EntryRow.h"
#include "catalogue/win32/SortHeader.h"

namespace quillet::win32 {

class ProgramList : public OwnerDataList {
public:
    ProgramList() = default;
    ProgramList(const ProgramList&) = delete;
    ProgramList& operator=(const ProgramList&) = delete;
    ~ProgramList() override;

    void Create(HWND parent, HFONT font);
    // The rows' pictures, 16 pixels: the verdicts' two first, then the
    // bad mark (kBadMarkImage), then the programs' own icons as they load.
    static constexpr int kBadMarkImage = 2;
    HIMAGELIST SmallImages() const { return smallImages_; }
    HWND TipWindow() const { return tip_; }

    void Replaced(size_t count);
    void Added(size_t count);
    void Removed(int index, size_t count);
    void Reordered(int focused);
    // The first row shown (the origin's height in the icon views), and back there.
    int ScrollPosition() const;
    void RestoreScroll(int position);
    void UpdateHeaderImages(int sortColumn, bool ascending);
    void SetViewStyle(ViewStyle style);
    // A notification from this list or its tooltip; the answer it needs.
    LRESULT Notify(NMHDR* header);
    // The header's menu: each detail column shown or hidden (width 0).
    void HeaderMenu(POINT screen);
    // The row under a point of the screen, or -1.
    int RowAt(POINT screen) const;

    // The row the list shows at an index, its details read; nullptr when
    // there is none. It outlives each call.
    std::function<const EntryRow*(int)> Row;
    // A row's text in a column, as shown.
    std::function<std::string(const EntryRow&, int)> Text;
    std::function<void()> OnChange;
    // A row's tooltip; empty: none.
    std::function<std::string(int)> InfoTip;
    std::function<void()> OnClick;
    std::function<void(int)> OnColumnClick;
    // The header was drawn again and needs its arrow.
    std::function<void()> OnHeaderRepaint;

private:
    static LRESULT CALLBACK Proc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self);
    void OnDispInfo(NMLVDISPINFOW* info);
    int RowImage(const EntryRow& row);
    void DrawBadMark(const NMLVCUSTOMDRAW& draw);
    void AddDetailColumns();
    LRESULT CustomDraw(NMLVCUSTOMDRAW* draw);
    void CreateTip(HWND parent);
    void OnTipText(NMTTDISPINFOW* info);
    int RowAtClient(POINT client) const;
    void PlaceRows();
    void Settle() override { PlaceRows(); }

    HIMAGELIST smallImages_ = nullptr;
    HIMAGELIST bigImages_ = nullptr;
    std::unique_ptr<ProgramIcons> icons_;
    SortHeader sortHeader_;
    HWND tip_ = nullptr;  // the rows' tooltip
    int tipRow_ = -1;     // the row the pointer was last on
    std::wstring tipText_;
};

}  // namespace quillet::win32
