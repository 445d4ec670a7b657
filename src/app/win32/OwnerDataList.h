// What the two owner-data list panes share: the control, its focused row and its columns.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>

namespace quillet::win32 {

class OwnerDataList {
public:
    HWND hwnd() const { return list_; }

    int Focused() const;
    void Focus(int index);
    void RedrawRow(int index);
    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int pixels);
    // Stops drawing during a long run of changes, and draws it all at the end.
    void StopRedraw();
    void Redraw();
    virtual ~OwnerDataList() = default;

    std::function<void()> OnFocus;
    std::function<void()> OnDblClick;

protected:
    void CreateList(HWND parent, int id, HFONT font, DWORD extendedStyle);
    void AddColumn(int index, const char* caption, int width);
    // An owner-data list keeps its states by position: move the focus (and
    // the selection with it) from one row to another.
    void MoveFocus(int from, int to);
    static HIMAGELIST LoadImagePair(int size, int first, int second);
    // What a run of changes put off, done once when drawing resumes.
    virtual void Settle() {}
    bool Redrawing() const { return redrawing_; }

    HWND list_ = nullptr;

private:
    bool redrawing_ = true;
};

}  // namespace quillet::win32
