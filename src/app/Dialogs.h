#pragma once
#include <string>

namespace quillet {

struct LogRecord;
class TPropertiesForm;
struct SaveDialog;
struct TFindForm;
struct TSearchResultForm;

// Message boxes, the program's dialogs and its beep. Every box is modal and
// centred on the screen.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // The general error display: title "Quillet", the text as given.
    virtual void ShowFailure(const std::string& text) = 0;
    // Title "Information" / "Error", one "OK" button.
    virtual void ShowInformation(const std::string& text) = 0;
    virtual void ShowErrorBox(const std::string& text) = 0;
    // Title "Confirm", question icon, "&Yes" (default) and "&No"; Escape is No.
    virtual bool Confirm(const std::string& text) = 0;
    // The Edit log dialog filled from the record; true on OK with the comment as typed.
    virtual bool EditLog(const LogRecord& record, std::string& comment) = 0;
    // The properties dialog shown modally for the form's texts and caption;
    // true on OK. The texts as they stand are in the form afterwards.
    virtual bool ShowProperties(TPropertiesForm& form) = 0;
    // The default system beep.
    virtual void Beep() = 0;
    // The save-file dialog with these settings; true when a file was chosen,
    // its full name then in FileName.
    virtual bool Execute(SaveDialog& dialog) = 0;
    // The Find dialog shown with the form's state; true on OK with the state as left.
    virtual bool ShowFindForm(TFindForm& form) = 0;
    // The result dialog with its list and selected line; true on OK with the line then selected.
    virtual bool ShowSearchResultForm(TSearchResultForm& form) = 0;
};

}  // namespace quillet
