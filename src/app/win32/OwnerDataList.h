// What the two owner-data list panes share: the control, its focused row and its columns.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <vector>

namespace quillet::win32 {

class OwnerDataList {
public:
    HWND hwnd() const { return list_; }

    int Focused() const;
    void Focus(int index);
    // The selected rows from the top down; Ctrl+A selects every row.
    std::vector<int> Selected() const;
    void SelectAll();
    void RedrawRow(int index);
    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int pixels);
    // Stops drawing during a long run of changes, and draws it all at the end.
    // Meanwhile the row count and the focus are kept here and given to the
    // control once, at Redraw: each change told at once costs a walk over
    // the control's rows.
    void StopRedraw();
    void Redraw();
    virtual ~OwnerDataList() = default;

    std::function<void()> OnFocus;
    std::function<void()> OnDblClick;

protected:
    void CreateList(HWND parent, int id, HFONT font, DWORD extendedStyle, bool multiple = false);
    void AddColumn(int index, const char* caption, int width);
    // An owner-data list keeps its states by position: move the focus (and
    // the selection with it) from one row to another.
    void MoveFocus(int from, int to);
    // The rows now number `count` and the focus moved to `to`: true when
    // that is kept for Redraw, false when the caller tells the control.
    bool Defer(size_t count, int to);
    // Gives the control what was kept, before a change that is told at once.
    void Flush();
    static HIMAGELIST LoadImagePair(int size, int first, int second);
    // What a run of changes put off, done once when drawing resumes.
    virtual void Settle() {}
    bool Redrawing() const { return !pending_.stopped; }

    HWND list_ = nullptr;

private:
    struct Pending {
        bool stopped = false;  // between StopRedraw and Redraw
        bool changed = false;  // count and focus kept, not yet told
        int from = -1;         // the control's focused row
        int to = -1;
        size_t count = 0;
    } pending_;
};

}  // namespace quillet::win32
