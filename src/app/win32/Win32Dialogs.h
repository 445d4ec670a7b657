#pragma once
#include <windows.h>

#include "app/Dialogs.h"

namespace quillet::win32 {

// Message boxes centred on the screen, the Edit log, save, Find and Search
// result dialogs, and the beep.
class Win32Dialogs : public Dialogs {
public:
    void SetOwner(HWND owner) { owner_ = owner; }

    void ShowFailure(const std::string& text) override;
    void ShowInformation(const std::string& text) override;
    void ShowErrorBox(const std::string& text) override;
    bool Confirm(const std::string& text) override;
    bool EditLog(const LogRecord& record, std::string& comment) override;
    bool ShowProperties(TPropertiesForm& form) override;
    void Beep() override { MessageBeep(0); }
    bool Execute(SaveDialog& dialog) override;
    bool ShowFindForm(TFindForm& form) override;
    bool ShowSearchResultForm(TSearchResultForm& form) override;
    bool ConfirmQueue(const std::string& text, bool& quietly) override;

private:
    HWND owner_ = nullptr;
};

}  // namespace quillet::win32
