#include "common/Error.h"

namespace quillet {

std::string FormatText(const std::string& format, const std::string& arg)
{
    std::string out = format;
    const auto at = out.find("%s");
    if (at != std::string::npos) out.replace(at, 2, arg);
    return out;
}

std::string ErrorBoxText(const std::string& message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
    return message;
}

}  // namespace quillet
