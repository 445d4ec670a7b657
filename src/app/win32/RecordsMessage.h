#pragma once

namespace quillet::win32 {

// WM_COPYDATA from a command-line run to the running window: its log records,
// settings-file log lines in UTF-8, oldest first, one a line.
inline constexpr unsigned long kRecordsCopyData = 0x514C4F47;  // "QLOG"
// More is no run of ours: the log keeps 999 records.
inline constexpr unsigned long kRecordsMaxBytes = 4u << 20;

}  // namespace quillet::win32
