#pragma once
#include <windows.h>

#include "editing/PropFrm.h"

namespace quillet::win32 {

// The system's open-file dialog with the settings of `dialog`; true when the
// user confirmed, and then `dialog.fileName` holds the chosen full path.
// Critical-error boxes are suppressed while it is open.
bool ExecuteOpenDialog(HWND owner, OpenDialogState& dialog);

}  // namespace quillet::win32
