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

private:
    HWND owner_ = nullptr;
};

// A message box centred on the screen; for a question Escape answers No.
int ShowCentredBox(HWND owner, const std::string& text, const char* title, UINT type, bool question = false);

}  // namespace quillet::win32
