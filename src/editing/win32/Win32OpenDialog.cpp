#include "editing/win32/Win32OpenDialog.h"

#include <commdlg.h>

#include <vector>

#include "common/win32/SafeProcess.h"

namespace quillet::win32 {

bool ExecuteOpenDialog(HWND owner, OpenDialogState& dialog)
{
    // "a|b|c|d" to "a\0b\0c\0d\0\0".
    std::string filter = dialog.filter;
    for (char& c : filter)
        if (c == '|') c = '\0';
    filter.append(2, '\0');

    std::vector<char> file(32768, '\0');
    dialog.fileName.copy(file.data(), file.size() - 1);

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(dialog.filterIndex);
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = dialog.initialDir.empty() ? nullptr : dialog.initialDir.c_str();
    ofn.lpstrTitle = dialog.title.c_str();
    // The current directory stays the system directory, where relative names are looked for.
    ofn.Flags = OFN_NOCHANGEDIR | (dialog.hideReadOnly ? OFN_HIDEREADONLY : 0);

    BOOL confirmed;
    {
        QuietErrors quiet;  // a floppy drive without a disk must not stop the user
        confirmed = GetOpenFileNameA(&ofn);
    }
    if (!confirmed) return false;
    dialog.fileName = file.data();
    dialog.filterIndex = static_cast<int>(ofn.nFilterIndex);
    return true;
}

}  // namespace quillet::win32
