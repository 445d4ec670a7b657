#include "catalogue/EntryReader.h"

#include "common/Error.h"
#include "common/Text.h"
#include "common/Unicode.h"

namespace quillet {

namespace {

// The value's text as ReadString reads it; a value that may have been cut,
// or one past the values read, is read whole.
std::string WholeText(Registry& registry, const std::vector<RegistryValue>& values, const char* name)
{
    for (const RegistryValue& value : values) {
        if (!SameName(value.name, name)) continue;
        if (value.data.size() >= kDetailBytes) return registry.ReadString(name);
        if (value.data.empty()) return std::string();
        if (value.type != kRegSz && value.type != kRegExpandSz) throw QuilletError(FormatText(kInvalidDataType, name));
        return StringValueText(value);
    }
    return values.size() >= Registry::kMaxValuesRead ? registry.ReadString(name) : std::string();
}

}  // namespace

std::string StringValueText(const RegistryValue& value)
{
    if (value.type != kRegSz && value.type != kRegExpandSz) return std::string();
    std::string text;
    // An odd last byte is no character, as the wide call drops it.
    Utf8FromUtf16Le(std::string_view(value.data).substr(0, value.data.size() & ~size_t{1}), text);
    return text.substr(0, text.find('\0'));
}

bool ReadEntry(Registry& registry, EntryRow& row, std::vector<RegistryValue>& values)
{
    registry.ReadValuesCut(kDetailBytes, values);
    row.caption = WholeText(registry, values, "DisplayName");
    row.command = WholeText(registry, values, "UninstallString");
    if (row.caption.empty() || row.command.empty()) return false;
    row.details = DetailsFrom(values);
    return true;
}

bool ReadEntryNames(Registry& registry, EntryRow& row)
{
    // Both read, as above: a command of the wrong type raises even without a caption.
    row.caption = registry.ReadString("DisplayName");
    row.command = registry.ReadString("UninstallString");
    row.detailsRead = false;
    return !row.caption.empty() && !row.command.empty();
}

void ReadEntryDetails(Registry& registry, EntryRow& row)
{
    thread_local std::vector<RegistryValue> values;
    registry.ReadValuesCut(kDetailBytes, values);
    row.details = DetailsFrom(values);
}

}  // namespace quillet
