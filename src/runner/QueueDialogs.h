#pragma once
#include <string>

namespace quillet {

// The question before a run of several uninstallers.
class QueueDialogs {
public:
    virtual ~QueueDialogs() = default;
    // Title "Confirm", the text, a checkbox "Quietly where the program allows
    // it" showing `quietly` and leaving it as the user left it; true on Yes.
    virtual bool ConfirmQueue(const std::string& text, bool& quietly) = 0;
};

}  // namespace quillet
