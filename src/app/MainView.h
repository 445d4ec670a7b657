#pragma once
#include <cstddef>
#include <string>

#include "app/FormStorage.h"
#include "catalogue/STListView.h"

namespace quillet {

enum class Button { AddRemove, Delete, Properties, New, DeleteBad, Refresh, Views };

enum class MenuItem {
    // File menu and the list's popup menu
    DeleteBadMM, AddRemovePM, DeletePM, PropertiesPM,
    AddRemoveMM, DeleteMM, PropertiesMM, NewMM, FindMM,
    // the two "Sort by" submenus
    NameMM, CommandLineMM, SubkeyMM, ReversedorderMM,
    NamePM, CommandLinePM, SubkeyPM, ReversedorderPM,
    // the log commands in the Edit menu and the log's popup menu
    EditlogMM, ClearLogMM, EditlogPM, ClearLogPM,
    // View menu switches and the toolbar's popup menu
    ToolBarMM, LogMM, StatusMM, TextLabelsMM, TextLabelsPM,
    // the view styles in the View menu, the list menu's View submenu and the Views drop-down
    LargeIconsMM, SmalliconsMM, ListMM, DetailsMM,
    LargeIconsPM2, SmalliconsPM2, ListPM2, ReportPM2,
    LargeIconsPM, SmallIconsPM, ListPM, ReportPM,
};

enum class ViewStyle { LargeIcons, SmallIcons, List, Report };
enum class Pane { ToolBar, Log, StatusBar };

// What the main window's behaviour needs of the window on screen.
class MainView : public SortHeaderView, public PlacementWindow {
public:
    // The program rows were rebuilt; the list shows `count` rows from the model.
    virtual void ProgramsReplaced(size_t count) = 0;
    // Index of the program list's focused row, or -1.
    virtual int FocusedProgram() const = 0;
    // Focus and select that row and scroll it into view.
    virtual void FocusProgram(int index) = 0;
    // One row appended at the end (the list now has `count` rows), or removed
    // at `index`; the focus stays with its row, and is gone with a removed one.
    virtual void ProgramAdded(size_t count) = 0;
    virtual void ProgramRemoved(int index, size_t count) = 0;
    // The texts or the image of one row changed.
    virtual void ProgramChanged(int index) = 0;
    // Make the program list the window's active control.
    virtual void ActivatePrograms() = 0;

    // The log got a record on top (and lost its oldest one when `dropped`);
    // the focus stays on the record it was on.
    virtual void LogInserted(bool dropped) = 0;
    virtual void LogCleared() = 0;
    // Many rows change at once (Delete bad): the lists may skip drawing
    // until the end, then show the outcome once.
    virtual void BeginBulkChange() {}
    virtual void EndBulkChange() {}
    virtual void LogRowChanged(size_t row) = 0;
    virtual int FocusedLogRow() const = 0;

    virtual void EnableButton(Button button, bool enabled) = 0;
    virtual bool ButtonEnabled(Button button) const = 0;
    virtual void EnableMenuItem(MenuItem item, bool enabled) = 0;
    virtual bool MenuItemEnabled(MenuItem item) const = 0;
    virtual void CheckMenuItem(MenuItem item, bool checked) = 0;
    virtual bool MenuItemChecked(MenuItem item) const = 0;
    virtual void ShowPane(Pane pane, bool visible) = 0;
    // Captions on, tooltips off; or captions off, 28 x 27 buttons, tooltips on.
    virtual void SetTextLabels(bool on) = 0;
    virtual void SetViewStyle(ViewStyle style) = 0;
    virtual void SetStatusPanel(int panel, const std::string& text) = 0;

    // The strip above the program list: its text and its lamp.
    virtual void SetStatusText(const std::string& text) = 0;
    virtual void SetLed(bool on) = 0;
    // The log list holds the keyboard focus (is the window's active control).
    virtual bool LogActive() const = 0;
    // Focus and select that log row and scroll it into view.
    virtual void FocusLogRow(int index) = 0;
    // Make the log list the active control; false when it cannot take the
    // focus (hidden or disabled).
    virtual bool ActivateLog() = 0;

    // Sizes the settings file keeps, in pixels.
    enum class Size { LogHeight, TimeWidth, CommentWidth, NameWidth, CmdLineWidth, SubKeyWidth };
    virtual int GetSize(Size size) const = 0;
    virtual void SetSize(Size size, int pixels) = 0;
    // The application's taskbar button (hidden while in the notification area).
    virtual void ShowApplication(bool shown) = 0;
    // Restores a minimised application and brings its window to the front.
    virtual void BringToFront() = 0;
};

}  // namespace quillet
