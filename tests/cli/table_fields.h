#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace clitest {

// The tab-separated fields of one table line, without its newline.
inline std::vector<std::string> fieldsOf(std::string_view line)
{
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    std::vector<std::string> fields(1);
    for (const char c : line) {
        if (c == '\t')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

}  // namespace clitest
