#pragma once
#include <stdexcept>
#include <string>

namespace quillet {

// A failure a command does not handle itself. The message is shown to the
// user as it stands (see ErrorBoxText), so it is always user-readable text.
class QuilletError : public std::runtime_error {
public:
    explicit QuilletError(const std::string& message) : std::runtime_error(message) {}
};

// "%s" in a template replaced by one argument, as the framework messages use.
std::string FormatText(const std::string& format, const std::string& arg);

// Text of the general error box: the message, with a full stop appended when
// its last character sorts above '.' (so "...!" or "..." stay as they are).
std::string ErrorBoxText(const std::string& message);

}  // namespace quillet
