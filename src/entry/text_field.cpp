#include "entry/text_field.h"

#include <algorithm>

void TextField::assign(std::string_view text)
{
    text_.clear();
    append(text);
}

void TextField::append(std::string_view text)
{
    const auto nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);
    text_.append(text.substr(0, std::min(text.size(), kMaxLength - text_.size())));
}
