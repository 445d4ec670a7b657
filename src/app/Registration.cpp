#include "app/Registration.h"

#include <cstdint>
#include <cstring>

#include "catalogue/Registry.h"

namespace quillet {

namespace {

// Days from 1970-01-01 to a civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, int m, int d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

}  // namespace

double DateTimeValue(const LocalTime& t)
{
    static const int64_t kEpoch = DaysFromCivil(1899, 12, 30);
    const double days = static_cast<double>(DaysFromCivil(t.year, t.month, t.day) - kEpoch);
    return days + (t.hour * 3600 + t.minute * 60 + t.second) / 86400.0;
}

std::string DateTimeBytes(const LocalTime& time)
{
    const double value = DateTimeValue(time);
    uint64_t bits;
    static_assert(sizeof bits == sizeof value, "an IEEE 754 double");
    std::memcpy(&bits, &value, sizeof bits);
    std::string bytes(8, '\0');
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
    return bytes;
}

void RegisterApp(Registry& registry, const LocalTime& now, const std::string& title, const std::string& version,
                 const std::string& path)
{
    registry.SetRootKey(RootKey::LocalMachine);
    // The open's result is not looked at: a key that is not open makes the
    // first write fail, and that failure is the report.
    registry.OpenKey("\\Software\\Marrowby\\" + title, true);
    registry.WriteString("Path", path);
    registry.WriteString("Version", version);
    registry.WriteBinary("LastRun", DateTimeBytes(now));
    registry.CloseKey();
}

}  // namespace quillet
