#pragma once
#include <windows.h>

#include "editing/PropFrm.h"

namespace quillet::win32 {

// Shows the properties dialog modally for the form's caption and texts;
// true on OK. The texts as they stood when it closed are in the form.
bool ShowPropertiesDialog(HWND owner, TPropertiesForm& form);

}  // namespace quillet::win32
