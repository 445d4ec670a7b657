#pragma once
#include <cstddef>
#include <string>

namespace quillet {

// The notification-area icon as the program drives it.
class TrayIcon {
public:
    // What the notification area shows of a tip, in UTF-16 units.
    static constexpr size_t kTipUnits = 63;

    virtual ~TrayIcon() = default;
    virtual void SetHint(const std::string& hint) = 0;
    virtual void SetAnimated(bool animated) = 0;
    // The menu's "Uninstall" item.
    virtual void EnableUninstall(bool enabled) = 0;
};

}  // namespace quillet
