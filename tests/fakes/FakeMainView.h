#pragma once
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/Dialogs.h"
#include "app/MainView.h"
#include "editing/PropFrm.h"
#include "catalogue/Find.h"
#include "editing/Backup.h"
#include "log/ActionsLog.h"

namespace quillet::fakes {

class FakeMainView : public MainView {
public:
    size_t rowCount = 0;
    int focused = -1;
    bool programsActive = false;
    int sortArrowColumn = -2;  // -2: never drawn
    bool sortArrowAscending = false;
    int reorders = 0;
    std::vector<int> changedRows;
    size_t logRows = 0;
    int logFocused = -1;
    std::map<Button, bool> buttons;
    std::map<MenuItem, bool> menuItems;
    std::map<MenuItem, bool> checks;
    std::map<int, std::string> panels;

    void ProgramsReplaced(size_t count) override
    {
        rowCount = count;
        focused = -1;  // removing every row drops the focus
        scroll = 0;    // and scrolls to the top
    }
    int scroll = 0;
    int ScrollPosition() const override { return scroll; }
    void RestoreScroll(int position) override { scroll = position; }
    int FocusedProgram() const override { return focused; }
    // Several rows selected; empty: the focused one alone.
    std::vector<int> selected;
    std::vector<int> SelectedPrograms() const override
    {
        return selected.empty() ? ProgramsView::SelectedPrograms() : selected;
    }
    void FocusProgram(int index) override { focused = index; }
    void ProgramAdded(size_t count) override { rowCount = count; }
    void ProgramRemoved(int index, size_t count) override
    {
        rowCount = count;
        if (focused == index) focused = -1;
        else if (focused > index) --focused;
    }
    void ProgramChanged(int index) override { changedRows.push_back(index); }
    void ActivatePrograms() override { programsActive = true; }
    void UpdateHeaderImages(int column, bool ascending) override
    {
        sortArrowColumn = column;
        sortArrowAscending = ascending;
    }
    void RowsReordered(int newFocus) override
    {
        ++reorders;
        focused = newFocus;
    }
    void LogInserted(bool dropped) override
    {
        logRows += dropped ? 0 : 1;
        if (logFocused >= 0) logFocused = dropped && logFocused + 1 >= static_cast<int>(logRows) ? -1 : logFocused + 1;
    }
    void LogCleared() override
    {
        logRows = 0;
        logFocused = -1;
    }
    void LogRowChanged(size_t) override {}
    int FocusedLogRow() const override { return logFocused; }
    void EnableButton(Button button, bool enabled) override { buttons[button] = enabled; }
    bool ButtonEnabled(Button button) const override
    {
        const auto it = buttons.find(button);
        return it == buttons.end() || it->second;
    }
    void EnableMenuItem(MenuItem item, bool enabled) override { menuItems[item] = enabled; }
    bool MenuItemEnabled(MenuItem item) const override
    {
        const auto it = menuItems.find(item);
        return it == menuItems.end() || it->second;
    }
    void CheckMenuItem(MenuItem item, bool checked) override { checks[item] = checked; }
    void SetMenuItemText(MenuItem item, const std::string& text) override { menuTexts[item] = text; }
    std::map<MenuItem, std::string> menuTexts;
    bool MenuItemChecked(MenuItem item) const override
    {
        const auto it = checks.find(item);
        return it != checks.end() && it->second;
    }
    // The window as it starts: every switch on, large icons checked in the View
    // menu and the Views drop-down, the list itself in details.
    std::map<Pane, bool> panes{{Pane::ToolBar, true}, {Pane::Log, true}, {Pane::StatusBar, true}};
    bool textLabels = true;
    ViewStyle viewStyle = ViewStyle::Report;
    void ShowPane(Pane pane, bool visible) override { panes[pane] = visible; }
    void SetTextLabels(bool on) override { textLabels = on; }
    void SetViewStyle(ViewStyle style) override { viewStyle = style; }
    void StartChecks()
    {
        for (MenuItem item : {MenuItem::ToolBarMM, MenuItem::LogMM, MenuItem::StatusMM, MenuItem::TextLabelsMM,
                              MenuItem::TextLabelsPM, MenuItem::LargeIconsMM, MenuItem::LargeIconsPM})
            checks[item] = true;
    }
    void SetStatusPanel(int panel, const std::string& text) override { panels[panel] = text; }
    void SetStatusText(const std::string& text) override { statusText = text; }
    void SetLed(bool on) override { led = on; }

    std::string statusText = "Ready...";
    bool led = false;

    bool logActive = false;  // the log list has the focus
    bool logVisible = true;
    bool LogActive() const override { return logActive; }
    void FocusLogRow(int index) override { logFocused = index; }
    bool ActivateLog() override
    {
        if (!logVisible) return false;
        logActive = true;
        programsActive = false;
        return true;
    }

    std::map<Size, int> sizes{{Size::LogHeight, 102}, {Size::TimeWidth, 150}, {Size::CommentWidth, 250},
                              {Size::NameWidth, 200}, {Size::CmdLineWidth, 200}, {Size::SubKeyWidth, 120},
                              {Size::PlatformWidth, 70}, {Size::PublisherWidth, 120}, {Size::VersionWidth, 70},
                              {Size::InstalledWidth, 80}, {Size::SizeWidth, 70}};
    int GetSize(Size size) const override { return sizes.at(size); }
    void SetSize(Size size, int pixels) override { sizes[size] = pixels; }
    bool applicationShown = true;
    int broughtToFront = 0;
    void ShowApplication(bool shown) override { applicationShown = shown; }
    void BringToFront() override { ++broughtToFront; }

    // The window placement: centred 642 x 505 on a 1024 x 768 screen at first.
    WindowPlacement placement{0, 1, {-1, -1, -1, -1}, {191, 131, 833, 636}};
    std::vector<WindowPlacement> placements;  // every placement applied
    bool visible = false;
    bool minimised = false;
    ScreenInfo screen;
    WindowPlacement GetPlacement() const override { return placement; }
    void SetPlacement(const WindowPlacement& p) override
    {
        placement = p;
        placements.push_back(p);
    }
    bool WindowVisible() const override { return visible; }
    bool AppMinimised() const override { return minimised; }
    ScreenInfo Screen() const override { return screen; }
};

// Records every box and answers confirmations and the log editor as told.
class FakeDialogs : public Dialogs {
public:
    std::vector<std::string> failures, information, errorBoxes, confirmations;
    bool answerYes = true;
    bool editOk = true;
    std::string typedComment;
    std::vector<LogRecord> edited;
    int beeps = 0;
    // The properties dialog: what it showed, then the user's part, then OK or Cancel.
    struct Shown {
        std::string caption, display, uninstall;
    };
    std::vector<Shown> properties;
    std::function<void(TPropertiesForm&)> onProperties;
    bool propertiesOk = true;
    // What happens while a confirmation, the log editor or the properties
    // dialog is open (the window keeps serving messages meanwhile).
    std::function<void()> whileOpen;

    void ShowFailure(const std::string& text) override { failures.push_back(text); }
    void ShowInformation(const std::string& text) override { information.push_back(text); }
    void ShowErrorBox(const std::string& text) override { errorBoxes.push_back(text); }
    bool Confirm(const std::string& text) override
    {
        confirmations.push_back(text);
        if (whileOpen) whileOpen();
        return answerYes;
    }
    bool EditLog(const LogRecord& record, std::string& comment) override
    {
        edited.push_back(record);
        if (whileOpen) whileOpen();
        comment = typedComment;  // the user types, then OK or Cancel
        return editOk;
    }
    // The queue's question: what it said, then the checkbox as the user leaves it.
    std::vector<std::string> queueQuestions;
    std::optional<bool> quietChoice;
    bool ConfirmQueue(const std::string& text, bool& quietly) override
    {
        queueQuestions.push_back(text);
        if (quietChoice) quietly = *quietChoice;
        if (whileOpen) whileOpen();
        return answerYes;
    }
    bool ShowProperties(TPropertiesForm& form) override
    {
        properties.push_back({form.Caption, form.Display, form.Uninstall.Text});
        if (onProperties) onProperties(form);
        if (whileOpen) whileOpen();
        return propertiesOk;
    }
    void Beep() override { ++beeps; }

    // The save dialog: what it was shown with; the user picks `savedAs`
    // (empty: cancels).
    std::vector<SaveDialog> saveDialogs;
    std::string savedAs;
    bool Execute(SaveDialog& dialog) override
    {
        saveDialogs.push_back(dialog);
        if (savedAs.empty()) return false;
        dialog.FileName = savedAs;
        return true;
    }
    // The Find dialog: what it was shown with; the user types `findText`
    // (unless unset), picks `findIn` (unless -1), then OK or Cancel.
    std::vector<TFindForm> findForms;
    std::optional<std::string> findText;
    int findIn = -1;
    bool findOk = true;
    bool ShowFindForm(TFindForm& form) override
    {
        findForms.push_back(form);
        if (findText) form.Edit = *findText;
        if (findIn >= 0) form.SearchType = findIn;
        return findOk;
    }
    // The result dialog: what it was shown with; the user picks line `resultLine` (unless -1).
    std::vector<TSearchResultForm> resultForms;
    int resultLine = -1;
    bool resultOk = true;
    bool ShowSearchResultForm(TSearchResultForm& form) override
    {
        resultForms.push_back(form);
        if (resultLine >= 0) form.ItemIndex = resultLine;
        return resultOk;
    }
};

}  // namespace quillet::fakes
