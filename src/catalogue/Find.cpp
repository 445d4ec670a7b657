#include "catalogue/Find.h"

#include <unordered_map>

#include "common/Locale.h"

namespace quillet {

std::vector<std::string> FindCaptions(const std::vector<SearchRow>& rows, const std::string& loweredText,
                                      const Locale& locale)
{
    std::vector<std::string> found;
    if (loweredText.empty()) return found;
    // Captions found so far by their comparison key: asking the comparison
    // against every earlier caption takes seconds when thousands of rows match.
    std::unordered_multimap<std::string, size_t> known;
    for (const SearchRow& row : rows) {
        if (row.empty()) continue;
        for (std::string_view field : row) {
            if (locale.LowerCase(std::string(field)).find(loweredText) == std::string::npos) continue;
            const std::string caption(row.front());
            const std::string key = locale.CaseBlindKey(caption);
            bool seen = false;
            for (auto [at, end] = known.equal_range(key); at != end && !seen; ++at)
                seen = locale.SameTextIgnoreCase(found[at->second], caption);
            if (!seen) {
                known.emplace(key, found.size());
                found.push_back(caption);
            }
            break;  // a row gives its caption at most once
        }
    }
    return found;
}

std::string NotFoundText(const std::string& loweredText) { return "Search string \"" + loweredText + "\" not found!"; }

int RowByCaption(const std::vector<std::string_view>& captions, const std::string& caption)
{
    for (size_t i = 0; i < captions.size(); ++i)
        if (captions[i] == caption) return static_cast<int>(i);
    return static_cast<int>(captions.size()) - 1;
}

}  // namespace quillet
