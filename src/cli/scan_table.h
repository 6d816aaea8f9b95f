#pragma once

#include <string>
#include <string_view>

class CLiedkramEntry;

namespace cli {

// Tab, CR, LF and backslash as \t, \r, \n and \\, so a field never breaks
// the table's tabs and lines.
std::string escapeField(std::string_view text);

// The column names, tab-separated, ending in a newline.
std::string scanHeader();
// The entry's fields in the order of the header, ending in a newline.
std::string scanRow(const CLiedkramEntry& entry);

// The table of fix: the scan columns, then the proposed new name.
std::string fixHeader();
std::string fixRow(const CLiedkramEntry& entry);

}  // namespace cli
