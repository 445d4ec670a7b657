#pragma once
#include <string>

namespace quillet {

enum class Button { AddRemove, Delete, Properties, New, DeleteBad, Refresh, Views };
enum class MenuItem { DeleteBadMM };

// What the main window's behaviour needs of the window on screen.
class MainView {
public:
    virtual ~MainView() = default;

    // The program rows were rebuilt; the list shows `count` rows from the model.
    virtual void ProgramsReplaced(size_t count) = 0;
    // Index of the program list's focused row, or -1.
    virtual int FocusedProgram() const = 0;
    // Focus and select that row and scroll it into view.
    virtual void FocusProgram(int index) = 0;
    // Make the program list the window's active control.
    virtual void ActivatePrograms() = 0;

    virtual void EnableButton(Button button, bool enabled) = 0;
    virtual bool ButtonEnabled(Button button) const = 0;
    virtual void EnableMenuItem(MenuItem item, bool enabled) = 0;
    virtual void SetStatusPanel(int panel, const std::string& text) = 0;

    // The general error display: an error box titled with the application title.
    virtual void ShowError(const std::string& text) = 0;
};

}  // namespace quillet
