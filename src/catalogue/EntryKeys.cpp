#include "catalogue/EntryKeys.h"

#include "catalogue/Registry.h"

namespace quillet {

QuilletError EntryKeyError(Registry& registry, const std::string& path, const std::string& caption)
{
    if (registry.KeyExists(path)) return QuilletError("Cannot open the registry key \"" + path + "\"");
    return QuilletError("Uninstall shortcut for \"" + caption + "\" application no longer exists");
}

}  // namespace quillet
