#pragma once
#include "catalogue/EntrySource.h"

namespace quillet::win32 {

// Account names from the security database, else from the profile list
// (the last part of the profile's folder); the current user from the
// process token.
class Win32UserAccounts : public UserAccounts {
public:
    std::string CurrentSid() override;
    std::string NameOf(const std::string& sid) override;
};

}  // namespace quillet::win32
