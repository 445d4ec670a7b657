#pragma once
#include <cstddef>
#include <vector>

#include "catalogue/STListView.h"

namespace quillet {

struct TFindForm;
struct TSearchResultForm;

// The program list pane on screen: it shows rows from the catalogue's model.
class ProgramsView : public SortHeaderView {
public:
    // The program rows were rebuilt; the list shows `count` rows from the model.
    virtual void ProgramsReplaced(size_t count) = 0;
    // Index of the program list's focused row, or -1.
    virtual int FocusedProgram() const = 0;
    // The selected rows from the top down; a list of single selection has the focused one.
    virtual std::vector<int> SelectedPrograms() const
    {
        const int focused = FocusedProgram();
        return focused < 0 ? std::vector<int>() : std::vector<int>{focused};
    }
    // Focus and select that row and scroll it into view.
    virtual void FocusProgram(int index) = 0;
    // One row appended at the end (the list now has `count` rows), or removed
    // at `index`; the focus stays with its row, and is gone with a removed one.
    virtual void ProgramAdded(size_t count) = 0;
    virtual void ProgramRemoved(int index, size_t count) = 0;
    // The texts or the image of one row changed.
    virtual void ProgramChanged(int index) = 0;
    // Where the list is scrolled to, in the view's own terms, and back there.
    virtual int ScrollPosition() const { return 0; }
    virtual void RestoreScroll(int) {}
    // Make the program list the window's active control.
    virtual void ActivatePrograms() = 0;
    // Many rows change at once (Delete bad): the lists may skip drawing
    // until the end, then show the outcome once.
    virtual void BeginBulkChange() {}
    virtual void EndBulkChange() {}
};

// The Find dialog and its result list.
class FindDialogs {
public:
    virtual ~FindDialogs() = default;
    // The Find dialog shown with the form's state; true on OK with the state as left.
    virtual bool ShowFindForm(TFindForm& form) = 0;
    // The result dialog with its list and selected line; true on OK with the line then selected.
    virtual bool ShowSearchResultForm(TSearchResultForm& form) = 0;
};

}  // namespace quillet
