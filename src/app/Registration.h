#pragma once
#include <string>

#include "common/Locale.h"

namespace quillet {

class Registry;

// Days since 1899-12-30 00:00, the fraction being the time of day.
double DateTimeValue(const LocalTime& time);
// That value as the 8 bytes of an IEEE 754 double, little-endian.
std::string DateTimeBytes(const LocalTime& time);

// The registration record under HKEY_LOCAL_MACHINE\Software\Marrowby\TITLE:
// Path, Version, LastRun. Raises "Failed to set data for 'Path'" when the key
// cannot be opened; nothing is written then.
void RegisterApp(Registry& registry, const LocalTime& now, const std::string& title, const std::string& version,
                 const std::string& path);

}  // namespace quillet
