#pragma once
#include <string>

namespace quillet {

// The notification-area icon as the program drives it.
class TrayIcon {
public:
    virtual ~TrayIcon() = default;
    virtual void SetHint(const std::string& hint) = 0;
    virtual void SetAnimated(bool animated) = 0;
    // The menu's "Uninstall" item.
    virtual void EnableUninstall(bool enabled) = 0;
};

}  // namespace quillet
