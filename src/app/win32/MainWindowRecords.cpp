#include "app/win32/MainWindow.h"
#include "app/win32/RecordsMessage.h"

namespace quillet::win32 {

LRESULT MainWindow::OnCopyData(const COPYDATASTRUCT* data)
{
    // Any program may send this message: only our records, and only text.
    if (!data || data->dwData != kRecordsCopyData || data->cbData > kRecordsMaxBytes || (data->cbData && !data->lpData))
        return FALSE;
    const std::string lines(static_cast<const char*>(data->lpData), data->cbData);
    core_.Guard([&] { core_.RecordsArrived(lines); });
    return TRUE;
}

}  // namespace quillet::win32
