#include "entry/text_field.h"

#include <algorithm>

void TextField::assign(std::string_view text)
{
    size_ = 0;
    buffer_[0] = '\0';
    append(text);
}

void TextField::append(std::string_view text)
{
    const auto nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);
    const std::size_t count = std::min(text.size(), kMaxLength - size_);
    std::copy_n(text.data(), count, buffer_.data() + size_);
    size_ += count;
    buffer_[size_] = '\0';
}
