#include "app/win32/QueueCommands.h"

#include <shellapi.h>

#include "common/win32/DialogParts.h"
#include "common/win32/Resource.h"
#include "common/win32/Wide.h"
#include "runner/EntryCommands.h"

namespace quillet::win32 {

namespace {

// The folder a leftover record names, while it is still there.
std::string RecordFolder(TMain& core, int logRow)
{
    const auto& records = core.Log().Records();
    if (logRow < 0 || logRow >= static_cast<int>(records.size())) return std::string();
    const std::string folder = LeftFolder(records[static_cast<size_t>(logRow)].comment);
    if (folder.empty()) return folder;
    const DWORD attributes = GetFileAttributesW(Wide(folder).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? folder : std::string();
}

struct QueueState {
    std::string text;
    bool quietly;
};

INT_PTR CALLBACK QueueProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* state = reinterpret_cast<QueueState*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        state = reinterpret_cast<QueueState*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        SetItemText(dialog, IDC_QUEUE_TEXT, state->text);
        SendDlgItemMessageW(dialog, IDC_QUEUE_ICON, STM_SETICON,
                            reinterpret_cast<WPARAM>(LoadIconW(nullptr, MAKEINTRESOURCEW(32514))), 0);
        CheckDlgButton(dialog, IDC_QUEUE_QUIET, state->quietly ? BST_CHECKED : BST_UNCHECKED);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDYES || LOWORD(wParam) == IDNO || LOWORD(wParam) == IDCANCEL) {
            state->quietly = IsDlgButtonChecked(dialog, IDC_QUEUE_QUIET) == BST_CHECKED;
            EndDialog(dialog, LOWORD(wParam) == IDYES ? IDYES : IDNO);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

bool ShowQueueDialog(HWND owner, const std::string& text, bool& quietly)
{
    QueueState state{text, quietly};
    const INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_CONFIRMQUEUE), owner,
                                           QueueProc, reinterpret_cast<LPARAM>(&state));
    if (result != IDYES) return false;
    quietly = state.quietly;
    return true;
}

bool QueueCommand(TMain& core, int id, int logRow)
{
    switch (id) {
    case IDM_REMOVEQUIETLY:
        core.Guard([&] { core.Job().RemoveQuietlyClick(); });
        return true;
    case IDM_STOPQUEUE:
        core.Guard([&] { core.Job().StopClick(); });
        return true;
    case IDM_MODIFY:
        core.Guard([&] { core.Job().ModifyClick(); });
        return true;
    case IDM_REPAIR:
        core.Guard([&] { core.Job().RepairClick(); });
        return true;
    case IDM_OPENFOLDER: {
        // Explorer shows it; Quillet itself never deletes a file.
        const std::string folder = RecordFolder(core, logRow);
        if (!folder.empty())
            ShellExecuteW(nullptr, L"explore", Wide(folder).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        return true;
    }
    }
    return false;
}

void EnableQueueItems(TMain& core, HMENU menu, int logRow)
{
    const auto enable = [menu](int id, bool on) { EnableMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); };
    core.Guard([&] {
        const bool idle = !core.Job().Busy() && core.Catalogue().FocusedRow();
        enable(IDM_REMOVEQUIETLY, idle);
        enable(IDM_STOPQUEUE, core.Job().CanStop());
        enable(IDM_MODIFY, core.Job().CanModify());
        enable(IDM_REPAIR, core.Job().CanRepair());
    });
    enable(IDM_OPENFOLDER, !RecordFolder(core, logRow).empty());
}

}  // namespace quillet::win32
