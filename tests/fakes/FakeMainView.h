#pragma once
#include <map>
#include <string>
#include <vector>

#include "app/MainView.h"

namespace quillet::fakes {

class FakeMainView : public MainView {
public:
    size_t rowCount = 0;
    int focused = -1;
    bool programsActive = false;
    std::map<Button, bool> buttons;
    std::map<MenuItem, bool> menuItems;
    std::map<int, std::string> panels;
    std::vector<std::string> errors;

    void ProgramsReplaced(size_t count) override
    {
        rowCount = count;
        focused = -1;  // removing every row drops the focus
    }
    int FocusedProgram() const override { return focused; }
    void FocusProgram(int index) override { focused = index; }
    void ActivatePrograms() override { programsActive = true; }
    void EnableButton(Button button, bool enabled) override { buttons[button] = enabled; }
    bool ButtonEnabled(Button button) const override
    {
        const auto it = buttons.find(button);
        return it == buttons.end() || it->second;
    }
    void EnableMenuItem(MenuItem item, bool enabled) override { menuItems[item] = enabled; }
    void SetStatusPanel(int panel, const std::string& text) override { panels[panel] = text; }
    void ShowError(const std::string& text) override { errors.push_back(text); }
};

}  // namespace quillet::fakes
