// The settings file's integer readers against a plain reading of the same
// rules: decimal with an optional sign, hexadecimal after "0x"/"0X" (longer
// than two characters) or "$", and the caller's default for anything that is
// not a 32-bit number. Written numbers always read back.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cerrno>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "Check.h"
#include "app/Settings.h"

using namespace quillet;

namespace {

std::optional<int> Reading(const std::string& text)
{
    std::string digits;
    bool hex = false;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        hex = true;
        digits = text.substr(2);
    } else if (!text.empty() && text[0] == '$') {
        hex = true;
        digits = text.substr(1);
    }
    if (hex) {
        if (digits.empty() || digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            return std::nullopt;
        errno = 0;
        const unsigned long long value = std::strtoull(digits.c_str(), nullptr, 16);
        if (errno == ERANGE || value > 0xFFFFFFFFull) return std::nullopt;
        // All 32 bits: $FFFFFFFF is -1.
        return static_cast<int32_t>(static_cast<uint32_t>(value));
    }
    const size_t sign = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (text.size() == sign || text.find_first_not_of("0123456789", sign) != std::string::npos) return std::nullopt;
    errno = 0;
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (errno == ERANGE || value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<int>(value);
}

std::vector<std::string> Words(const std::string& text)
{
    std::vector<std::string> words;
    std::string word;
    for (char c : text + ',') {
        if (c == ',' || c == ' ') {
            if (!word.empty()) words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    return words;
}

std::string Hex(int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%" PRIX32, static_cast<uint32_t>(value));
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    std::array<int, 4> fallback;
    for (int& f : fallback) f = input.ConsumeIntegral<int>();
    const std::string text = input.ConsumeRemainingBytesAsString();

    // One value.
    const std::optional<int> expected = Reading(text);
    FUZZ_CHECK(ReadIntegerText(text, fallback[0]) == expected.value_or(fallback[0]));
    // A default that cannot be told apart from a read value hides nothing here:
    // the other default must give the same answer for a good text.
    if (expected) FUZZ_CHECK(ReadIntegerText(text, ~fallback[0]) == *expected);

    // Four values: word n or its own default.
    const std::vector<std::string> words = Words(text);
    std::array<int, 4> four = fallback;
    for (size_t n = 0; n < 4 && n < words.size(); ++n) four[n] = Reading(words[n]).value_or(fallback[n]);
    FUZZ_CHECK(ReadFourIntegers(text, fallback) == four);

    // What the program writes reads back, whatever the default.
    for (int value : fallback) {
        FUZZ_CHECK(ReadIntegerText(std::to_string(value), ~value) == value);
        FUZZ_CHECK(ReadIntegerText("$" + Hex(value), ~value) == value);
        FUZZ_CHECK(ReadIntegerText("0x" + Hex(value), ~value) == value);
    }
    const std::array<int, 4> inverted{~fallback[0], ~fallback[1], ~fallback[2], ~fallback[3]};
    FUZZ_CHECK(ReadFourIntegers(FourIntegersText(fallback), inverted) == fallback);
    return 0;
}
