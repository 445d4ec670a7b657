#include "editing/win32/Win32OpenDialog.h"

#include <commdlg.h>

#include <vector>

#include "common/win32/SafeProcess.h"
#include "common/win32/Wide.h"

namespace quillet::win32 {

bool ExecuteOpenDialog(HWND owner, OpenDialogState& dialog)
{
    // "a|b|c|d" to "a\0b\0c\0d\0\0".
    std::wstring filter = Wide(dialog.filter);
    for (wchar_t& c : filter)
        if (c == L'|') c = L'\0';
    filter.append(2, L'\0');

    const std::wstring proposed = Wide(dialog.fileName), initialDir = Wide(dialog.initialDir),
                       title = Wide(dialog.title);
    std::vector<wchar_t> file(32768, L'\0');
    proposed.copy(file.data(), file.size() - 1);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(dialog.filterIndex);
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
    ofn.lpstrTitle = title.c_str();
    // The current directory stays the system directory, where relative names are looked for.
    ofn.Flags = OFN_NOCHANGEDIR | (dialog.hideReadOnly ? OFN_HIDEREADONLY : 0);

    BOOL confirmed;
    {
        QuietErrors quiet;  // a floppy drive without a disk must not stop the user
        confirmed = GetOpenFileNameW(&ofn);
    }
    if (!confirmed) return false;
    dialog.fileName = Utf8(file.data());
    dialog.filterIndex = static_cast<int>(ofn.nFilterIndex);
    return true;
}

}  // namespace quillet::win32
