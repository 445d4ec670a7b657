#pragma once

namespace quillet {

// Which of the registry's views a key is read in. Native is the program's
// own, the only one a 32-bit Windows has; on 64-bit Windows the uninstall
// entries live in two views, and a 32-bit program sees only the 32-bit one
// unless it asks.
enum class RegistryView { Native, Bits64, Bits32 };

// The Platform column's text: "64-bit", "32-bit", or nothing for the only view.
inline const char* PlatformText(RegistryView view)
{
    switch (view) {
    case RegistryView::Bits64: return "64-bit";
    case RegistryView::Bits32: return "32-bit";
    case RegistryView::Native: break;
    }
    return "";
}

}  // namespace quillet
