#pragma once
#include <map>
#include <string>

#include "catalogue/EntrySource.h"

namespace quillet::fakes {

// Account names as the system would give them; a SID not in the map has none.
class FakeAccounts : public UserAccounts {
public:
    std::string current;
    std::map<std::string, std::string> names;
    int namesAsked = 0;
    std::string CurrentSid() override { return current; }
    std::string NameOf(const std::string& sid) override
    {
        ++namesAsked;
        const auto it = names.find(sid);
        return it == names.end() ? std::string() : it->second;
    }
};

}  // namespace quillet::fakes
