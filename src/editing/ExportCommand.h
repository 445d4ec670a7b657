#pragma once
#include <string>

#include "catalogue/Catalogue.h"
#include "common/MessageBoxes.h"
#include "editing/Backup.h"
#include "editing/EditDialogs.h"

namespace quillet {

class FileWriter;

// File > Export list...: the list as the window shows it, to a CSV file or
// a web page, as the chosen name ends.
class ExportCommand {
public:
    ExportCommand(EntryCatalogue& catalogue, FileWriter* file, MessageBoxes& boxes, EditDialogs& dialogs)
        : catalogue_(catalogue), file_(file), boxes_(boxes), dialogs_(dialogs)
    {
    }

    void ExportClick();

    SaveDialog ExportDlg{"CSV file (*.csv)|*.csv|Web page (*.html)|*.html;*.htm|All files (*.*)|*.*", "csv", true,
                         true, true, "", "Installed programs.csv"};

private:
    EntryCatalogue& catalogue_;
    FileWriter* file_;
    MessageBoxes& boxes_;
    EditDialogs& dialogs_;
};

// A name ending in ".htm" or ".html" (in any case) gets the web page.
bool WantsWebPage(const std::string& fileName);

}  // namespace quillet
