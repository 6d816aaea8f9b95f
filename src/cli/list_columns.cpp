#include "cli/list_columns.h"

#include "platform/text.h"

#include <algorithm>
#include <string>

namespace cli {

std::optional<Column> parseListColumn(std::string_view text)
{
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    if (!text.empty() && text.size() <= 2 && std::all_of(text.begin(), text.end(), isDigit))
        return columnAt(std::stoi(std::string(text)));
    for (const Column column : allColumns()) {
        if (platform::equalsIgnoreAsciiCase(text, columnHeader(column)))
            return column;
    }
    return std::nullopt;
}

std::string columnNumberRange()
{
    return "0-" + std::to_string(kColumnCount - 1);
}

std::string columnHeaderList()
{
    std::string list;
    for (const Column column : allColumns())
        list.append(list.empty() ? "" : ", ").append(columnHeader(column));
    return list;
}

}  // namespace cli
