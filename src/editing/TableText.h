#pragma once
#include <string>

#include "editing/ListTable.h"

namespace quillet {

// Every text in these files comes from some installer and is written so
// that no reader takes it for anything but text.

// RFC 4180: UTF-8 with its byte-order mark (so that a spreadsheet reads it
// as UTF-8), CRLF, a field quoted when it holds a comma, a quote or a line
// break. A field that begins with '=', '+', '-', '@', a tab or a CR gets a
// leading apostrophe, so that a spreadsheet does not run it as a formula.
std::string CsvText(const TextTable& table);
// An array of objects named by the columns' keys; ASCII only, every other
// character and every control character as a \u escape.
std::string JsonText(const TextTable& table);
// A page of its own with the table, sorted by a click on a heading (an
// inline script, nothing fetched); every text escaped.
std::string HtmlText(const TextTable& table, const std::string& title);

}  // namespace quillet
