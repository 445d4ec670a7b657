#pragma once
#include <cstdint>

namespace quillet {

// Colours as 0x00RRGGBB.
struct ButtonColors {
    uint32_t shadow, highlight, face;
};

// The header arrows are drawn in black, white and grey; engraved into the
// header they take the button shadow, highlight and face colours.
inline uint32_t ColorizePixel(uint32_t rgb, const ButtonColors& colors)
{
    rgb &= 0xFFFFFF;
    if (rgb == 0x000000) return colors.shadow;
    if (rgb == 0xFFFFFF) return colors.highlight;
    return colors.face;
}

}  // namespace quillet
