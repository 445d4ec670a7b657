#pragma once
#include "common/Locale.h"

namespace quillet::win32 {

class Win32Locale : public Locale {
public:
    bool IsLeadByte(unsigned char byte) const override;
};

}  // namespace quillet::win32
