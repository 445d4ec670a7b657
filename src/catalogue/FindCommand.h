#pragma once
#include <string>

#include "catalogue/Catalogue.h"
#include "catalogue/Find.h"
#include "common/MessageBoxes.h"
#include "log/ActionsLog.h"
#include "log/LogView.h"

namespace quillet {

// Find: a text looked up in the program list or in the log, and the row found focused.
class FindCommand {
public:
    FindCommand(const EntryCatalogue& catalogue, const ActionsLog& log, const Locale& locale, FindDialogs& dialogs,
                MessageBoxes& boxes, ProgramsView& programs, LogView& logView)
        : catalogue_(catalogue), log_(log), locale_(locale), dialogs_(dialogs), boxes_(boxes), programs_(programs),
          logView_(logView)
    {
    }

    void FindMMClick();
    void SelectByCaption(SearchIn list, const std::string& caption);

    TFindForm FindForm;
    TSearchResultForm SearchResultForm;

private:
    const EntryCatalogue& catalogue_;
    const ActionsLog& log_;
    const Locale& locale_;
    FindDialogs& dialogs_;
    MessageBoxes& boxes_;
    ProgramsView& programs_;
    LogView& logView_;
};

}  // namespace quillet
