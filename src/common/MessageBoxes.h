#pragma once
#include <string>

namespace quillet {

// Message boxes and the beep. Every box is modal and centred on the screen.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // The general error display: title "Quillet", the text as given.
    virtual void ShowFailure(const std::string& text) = 0;
    // Title "Information" / "Error", one "OK" button.
    virtual void ShowInformation(const std::string& text) = 0;
    virtual void ShowErrorBox(const std::string& text) = 0;
    // Title "Confirm", question icon, "&Yes" (default) and "&No"; Escape is No.
    virtual bool Confirm(const std::string& text) = 0;
    // The default system beep.
    virtual void Beep() = 0;
};

}  // namespace quillet
