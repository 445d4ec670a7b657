#pragma once
#include <windows.h>

#include <string>

#include "app/MainFrm.h"

namespace quillet::win32 {

// Edit's Remove quietly, Stop after this one, Modify and Repair, and the
// log's Open folder: true when `id` was one of them. `logRow` is the log's
// focused row.
bool QueueCommand(TMain& core, int id, int logRow);
// Their items enabled as the job and the focused rows allow, in whichever menu holds them.
void EnableQueueItems(TMain& core, HMENU menu, int logRow);

// The question before a run of several uninstallers, with its checkbox.
bool ShowQueueDialog(HWND owner, const std::string& text, bool& quietly);

}  // namespace quillet::win32
