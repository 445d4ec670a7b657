#pragma once

namespace quillet {

class TPropertiesForm;
struct SaveDialog;

// The dialogs of the editing commands.
class EditDialogs {
public:
    virtual ~EditDialogs() = default;
    // The properties dialog shown modally for the form's texts and caption;
    // true on OK. The texts as they stand are in the form afterwards.
    virtual bool ShowProperties(TPropertiesForm& form) = 0;
    // The save-file dialog with these settings; true when a file was chosen,
    // its full name then in FileName.
    virtual bool Execute(SaveDialog& dialog) = 0;
};

}  // namespace quillet
