// EscapeRegString: the escaped text, read as a REGEDIT4 string body, has no
// quote that would end the string early, and unescaping gives back exactly
// the input (control characters, CR and LF included: they are copied).
#include <cstdint>
#include <optional>
#include <string>

#include "Check.h"
#include "editing/Backup.h"

using namespace quillet;

namespace {

// Reads the body as the registry editor does: a backslash takes the next
// byte literally; a bare quote would end the string. nullopt for a bare
// quote or a backslash with nothing after it.
std::optional<std::string> Unescape(const std::string& body)
{
    std::string out;
    for (size_t i = 0; i < body.size(); ++i) {
        if (body[i] == '"') return std::nullopt;
        if (body[i] == '\\') {
            if (++i == body.size()) return std::nullopt;
            if (body[i] != '\\' && body[i] != '"') return std::nullopt;  // nothing else is escaped
        }
        out += body[i];
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::string escaped = input;
    EscapeRegString(escaped);

    const std::optional<std::string> back = Unescape(escaped);
    FUZZ_CHECK(back.has_value());
    FUZZ_CHECK(*back == input);
    size_t specials = 0;
    for (char c : input) specials += c == '\\' || c == '"';
    FUZZ_CHECK(escaped.size() == input.size() + specials);
    FUZZ_CHECK(escaped.empty() == input.empty());
    return 0;
}
