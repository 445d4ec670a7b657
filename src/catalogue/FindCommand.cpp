#include "catalogue/FindCommand.h"

#include <vector>

#include "common/Error.h"
#include "common/Locale.h"

namespace quillet {

void FindCommand::FindMMClick()
{
    FindForm.SearchType = logView_.LogActive() ? kSearchLog : kSearchShortcuts;
    if (!dialogs_.ShowFindForm(FindForm)) return;
    const SearchIn list = FindForm.SearchType == kSearchLog ? kSearchLog : kSearchShortcuts;
    const std::string text = locale_.LowerCase(FindForm.Edit);

    std::vector<SearchRow> rows;
    std::vector<std::string> texts;  // what the rows' views show; reserved, so never moved
    if (list == kSearchLog) {
        rows.reserve(log_.Size());
        for (const LogRecord& r : log_.Records()) rows.push_back({r.time, r.message, r.comment});
    } else {
        // Every column the list shows, as it shows it: a column added later is searched too.
        const int columns = catalogue_.Programs.ColumnCount();
        catalogue_.NeedAllDetails();
        texts.reserve(catalogue_.Rows().size() * static_cast<size_t>(columns));
        rows.reserve(catalogue_.Rows().size());
        for (const EntryRow& r : catalogue_.Rows()) {
            SearchRow& row = rows.emplace_back();
            for (int column = 0; column < columns; ++column)
                row.push_back(texts.emplace_back(catalogue_.Programs.ColumnText(r, column)));
        }
    }
    const std::vector<std::string> found = FindCaptions(rows, text, locale_);
    if (found.empty()) {
        boxes_.ShowInformation(NotFoundText(text));
        return;
    }
    if (found.size() == 1) {
        SelectByCaption(list, found.front());
        return;
    }
    SearchResultForm.List = found;
    SearchResultForm.ItemIndex = 0;
    if (!dialogs_.ShowSearchResultForm(SearchResultForm)) return;
    const int chosen = SearchResultForm.ItemIndex;
    if (chosen < 0 || chosen >= static_cast<int>(found.size()))
        throw QuilletError("List index out of bounds (" + std::to_string(chosen) + ")");
    SelectByCaption(list, SearchResultForm.List[chosen]);
}

void FindCommand::SelectByCaption(SearchIn list, const std::string& caption)
{
    std::vector<std::string_view> captions;
    if (list == kSearchLog)
        for (const LogRecord& r : log_.Records()) captions.push_back(r.time);
    else
        for (const EntryRow& r : catalogue_.Rows()) captions.push_back(r.caption);
    const int row = RowByCaption(captions, caption);
    if (row < 0) return;
    if (list == kSearchLog) {
        logView_.FocusLogRow(row);
        if (!logView_.ActivateLog()) throw QuilletError("Cannot focus a disabled or invisible window");
    } else {
        programs_.FocusProgram(row);
        programs_.ActivatePrograms();
    }
}

}  // namespace quillet
