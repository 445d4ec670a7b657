#include "editing/TableText.h"

#include <cstdio>

#include "common/Unicode.h"

namespace quillet {

namespace {

// A stray byte is no character of any text: it becomes U+FFFD, so that the
// file stays UTF-8 throughout.
std::string ValidUtf8(const std::string& text)
{
    if (IsAscii(text)) return text;
    std::string out;
    for (size_t at = 0; at < text.size();) {
        bool valid = true;
        const char32_t c = NextCodePoint(text, at, valid);
        AppendUtf8(out, valid ? c : 0xFFFD);
    }
    return out;
}

std::string CsvField(const std::string& text)
{
    std::string field = ValidUtf8(text);
    if (!field.empty() && std::string("=+-@\t\r").find(field[0]) != std::string::npos) field.insert(0, "'");
    if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
    std::string quoted = "\"";
    for (char c : field) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

void AppendCsvLine(std::string& out, const std::vector<std::string>& fields)
{
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i) out += ',';
        out += CsvField(fields[i]);
    }
    out += "\r\n";
}

void AppendEscape(std::string& out, unsigned unit)
{
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\u%04x", unit & 0xFFFFu);
    out += hex;
}

std::string JsonString(const std::string& text)
{
    std::string out = "\"";
    for (size_t at = 0; at < text.size();) {
        bool valid = true;
        char32_t c = NextCodePoint(text, at, valid);
        if (!valid) c = 0xFFFD;
        switch (c) {
        case '"': out += "\\\""; continue;
        case '\\': out += "\\\\"; continue;
        case '\n': out += "\\n"; continue;
        case '\r': out += "\\r"; continue;
        case '\t': out += "\\t"; continue;
        default: break;
        }
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else if (c >= 0x10000) {
            AppendEscape(out, 0xD800 + ((c - 0x10000) >> 10));
            AppendEscape(out, 0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            AppendEscape(out, c);
        }
    }
    return out + '"';
}

std::string HtmlEscaped(const std::string& text)
{
    std::string out;
    for (size_t at = 0; at < text.size();) {
        bool valid = true;
        char32_t c = NextCodePoint(text, at, valid);
        // Control characters are not allowed in a page, not even as references.
        if (!valid || (c < 0x20 && c != '\t' && c != '\n' && c != '\r') || (c >= 0x7F && c < 0xA0)) c = 0xFFFD;
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: AppendUtf8(out, c);
        }
    }
    return out;
}

// Sorts the table by the clicked heading's column; a second click reverses.
constexpr const char* kSortScript = R"(<script>
(function () {
  var table = document.getElementById('list');
  var heads = table.tHead.rows[0].cells;
  var collator = new Intl.Collator(undefined, {numeric: true, sensitivity: 'base'});
  for (var i = 0; i < heads.length; i++) (function (column) {
    heads[column].onclick = function () {
      var ascending = this.getAttribute('aria-sort') !== 'ascending';
      for (var j = 0; j < heads.length; j++) heads[j].removeAttribute('aria-sort');
      this.setAttribute('aria-sort', ascending ? 'ascending' : 'descending');
      var body = table.tBodies[0];
      var rows = Array.prototype.slice.call(body.rows);
      rows.sort(function (a, b) {
        var order = collator.compare(a.cells[column].textContent, b.cells[column].textContent);
        return ascending ? order : -order;
      });
      rows.forEach(function (row) { body.appendChild(row); });
    };
  })(i);
})();
</script>
)";

}  // namespace

std::string CsvText(const TextTable& table)
{
    std::string out = "\xEF\xBB\xBF";
    std::vector<std::string> captions;
    for (const TextTable::Column& column : table.columns) captions.push_back(column.caption);
    AppendCsvLine(out, captions);
    for (const std::vector<std::string>& row : table.rows) AppendCsvLine(out, row);
    return out;
}

std::string JsonText(const TextTable& table)
{
    std::string out = "[";
    for (size_t r = 0; r < table.rows.size(); ++r) {
        out += r ? ",\n  {" : "\n  {";
        for (size_t i = 0; i < table.columns.size(); ++i) {
            if (i) out += ", ";
            const std::string& text = i < table.rows[r].size() ? table.rows[r][i] : std::string();
            out += JsonString(table.columns[i].key) + ": " + JsonString(text);
        }
        out += '}';
    }
    return out + (table.rows.empty() ? "]\n" : "\n]\n");
}

std::string HtmlText(const TextTable& table, const std::string& title)
{
    std::string out = "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>" + HtmlEscaped(title) +
                      "</title>\n<style>\n"
                      "body { font-family: sans-serif; }\n"
                      "table { border-collapse: collapse; }\n"
                      "th, td { border: 1px solid #999; padding: 2px 6px; text-align: left; white-space: pre-wrap; }\n"
                      "th { cursor: pointer; background: #eee; }\n"
                      "th[aria-sort=ascending]::after { content: ' \\25B2'; }\n"
                      "th[aria-sort=descending]::after { content: ' \\25BC'; }\n"
                      "</style>\n</head>\n<body>\n<table id=\"list\">\n<thead><tr>";
    for (const TextTable::Column& column : table.columns) out += "<th>" + HtmlEscaped(column.caption) + "</th>";
    out += "</tr></thead>\n<tbody>\n";
    for (const std::vector<std::string>& row : table.rows) {
        out += "<tr>";
        for (const std::string& text : row) out += "<td>" + HtmlEscaped(text) + "</td>";
        out += "</tr>\n";
    }
    return out + "</tbody>\n</table>\n" + kSortScript + "</body>\n</html>\n";
}

}  // namespace quillet
