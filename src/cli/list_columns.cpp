#include "cli/list_columns.h"

#include "platform/text.h"

#include <algorithm>
#include <string>

namespace cli {

std::optional<int> parseListColumn(std::string_view text)
{
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    if (!text.empty() && text.size() <= 2 && std::all_of(text.begin(), text.end(), isDigit)) {
        const int column = std::stoi(std::string(text));
        if (column < kColumnCount)
            return column;
        return std::nullopt;
    }
    for (std::size_t column = 0; column < kListColumnNames.size(); ++column) {
        if (platform::equalsIgnoreAsciiCase(text, kListColumnNames[column]))
            return static_cast<int>(column);
    }
    return std::nullopt;
}

}  // namespace cli
