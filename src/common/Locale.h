#pragma once

namespace quillet {

// The user's ANSI code page and locale rules, as the platform answers them.
class Locale {
public:
    virtual ~Locale() = default;
    // True when the byte starts a two-byte character in the ANSI code page.
    virtual bool IsLeadByte(unsigned char byte) const = 0;
};

}  // namespace quillet
