// ReplaceAll against a reference built on std::string::find: left to right,
// no overlaps, replaced text never searched again. A replacement that holds
// the searched text must still end (libFuzzer's -timeout catches a loop).
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "Check.h"
#include "common/Text.h"

using namespace quillet;

namespace {

std::string Reference(const std::string& text, const std::string& find, const std::string& replacement, size_t& hits)
{
    hits = 0;
    if (find.empty()) return text;
    std::string out;
    size_t from = 0;
    for (size_t at; (at = text.find(find, from)) != std::string::npos; from = at + find.size()) {
        out.append(text, from, at - from);
        out += replacement;
        ++hits;
    }
    out.append(text, from, std::string::npos);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::string find = input.ConsumeRandomLengthString(16);
    const std::string replacement = input.ConsumeRandomLengthString(32);
    const std::string text = input.ConsumeRemainingBytesAsString();

    size_t hits = 0;
    const std::string expected = Reference(text, find, replacement, hits);
    std::string result = text;
    ReplaceAll(result, find, replacement);
    FUZZ_CHECK(result == expected);
    FUZZ_CHECK(result.size() + hits * find.size() == text.size() + hits * replacement.size());

    // Replacing a text by itself changes nothing; so does an empty search.
    std::string same = text;
    ReplaceAll(same, find, find);
    FUZZ_CHECK(same == text);
    same = text;
    ReplaceAll(same, "", replacement);
    FUZZ_CHECK(same == text);

    // A replacement that holds the searched text (a doubling) ends and grows
    // by exactly the searched text once per hit.
    if (!find.empty()) {
        std::string doubled = text;
        ReplaceAll(doubled, find, find + find);
        FUZZ_CHECK(doubled.size() == text.size() + hits * find.size());
    }
    return 0;
}
