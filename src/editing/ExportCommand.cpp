#include "editing/ExportCommand.h"

#include "common/Text.h"
#include "editing/FileWriter.h"
#include "editing/ListTable.h"
#include "editing/TableText.h"

namespace quillet {

bool WantsWebPage(const std::string& fileName)
{
    std::string tail = fileName.substr(fileName.size() > 5 ? fileName.size() - 5 : 0);
    for (char& c : tail) c = AsciiLower(c);
    return tail == ".html" || (tail.size() >= 4 && tail.compare(tail.size() - 4, 4, ".htm") == 0);
}

void ExportCommand::ExportClick()
{
    if (!file_ || !dialogs_.Execute(ExportDlg)) return;
    const std::string name = ExportDlg.FileName;
    catalogue_.NeedAllDetails();
    const TextTable table = ListTable(catalogue_.Rows());
    const std::string bytes = WantsWebPage(name) ? HtmlText(table, "Installed programs") : CsvText(table);
    if (!file_->Create(name) || !file_->Write(bytes) || !file_->Close()) {
        const std::string reason = file_->LastError();
        file_->Close();
        boxes_.ShowErrorBox("Cannot write \"" + name + "\": " + reason);
        return;
    }
    catalogue_.SayStatus(std::to_string(table.rows.size()) + " entries written to \"" + name + "\".");
}

}  // namespace quillet
