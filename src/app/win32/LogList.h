// The actions log pane: an owner-data list view over the log's records.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <functional>
#include <vector>

#include "app/win32/OwnerDataList.h"
#include "log/ActionsLog.h"

namespace quillet::win32 {

class LogList : public OwnerDataList {
public:
    LogList() = default;
    LogList(const LogList&) = delete;
    LogList& operator=(const LogList&) = delete;
    ~LogList() override;

    void Create(HWND parent, HFONT font);
    // A record came in at the top; `dropped` when the oldest went out.
    void Inserted(size_t count, bool dropped);
    void Cleared();
    // "Action" takes what "Time" and "Comment" leave.
    void FitActionColumn();
    // A notification from this list.
    void Notify(NMHDR* header);

    // What the list shows; the records outlive each call.
    std::function<const std::vector<LogRecord>&()> Records;

private:
    static LRESULT CALLBACK Proc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self);
    void Settle() override { FitActionColumn(); }

    HIMAGELIST images_ = nullptr;
    bool fitting_ = false;
};

}  // namespace quillet::win32
