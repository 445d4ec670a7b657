// The list of uninstall entries: an owner-data list view over the rows, with the sort arrows in its header.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <functional>
#include <vector>

#include "app/MainView.h"
#include "app/win32/OwnerDataList.h"
#include "catalogue/EntryRow.h"
#include "catalogue/win32/SortHeader.h"

namespace quillet::win32 {

class ProgramList : public OwnerDataList {
public:
    ProgramList() = default;
    ProgramList(const ProgramList&) = delete;
    ProgramList& operator=(const ProgramList&) = delete;
    ~ProgramList() override;

    // The Platform column is there only where two registry views are listed.
    void Create(HWND parent, HFONT font, bool platformColumn);
    // The rows' two pictures, 16 pixels.
    HIMAGELIST SmallImages() const { return smallImages_; }

    void Replaced(size_t count);
    void Added(size_t count);
    void Removed(int index, size_t count);
    void Reordered(int focused);
    void UpdateHeaderImages(int sortColumn, bool ascending);
    void SetViewStyle(ViewStyle style);
    // A notification from this list.
    void Notify(NMHDR* header);

    // What the list shows; the rows outlive each call.
    std::function<const std::vector<EntryRow>&()> Rows;
    std::function<void()> OnChange;
    std::function<void()> OnClick;
    std::function<void(int)> OnColumnClick;
    // The header was drawn again and needs its arrow.
    std::function<void()> OnHeaderRepaint;

private:
    static LRESULT CALLBACK Proc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self);
    void OnDispInfo(NMLVDISPINFOA* info);
    void PlaceRows();
    void Settle() override { PlaceRows(); }

    HIMAGELIST smallImages_ = nullptr;
    HIMAGELIST bigImages_ = nullptr;
    SortHeader sortHeader_;
};

}  // namespace quillet::win32
