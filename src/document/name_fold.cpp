#include "document/name_fold.h"

#include "platform/text.h"

#include <string_view>

namespace document {

void NameFolder::put(char c)
{
    if (c == ' ' || c == ',' || c == '_') {
        if (!separated_)
            out_.push_back(c);
        separated_ = true;
    } else if (std::string_view("!#'*+-.?").find(c) != std::string_view::npos) {
        return;
    } else if (const char* plain = platform::spelledAccent(c)) {
        for (; *plain; ++plain)
            out_.push_back(platform::asciiUpper(*plain));
        separated_ = false;
    } else {
        out_.push_back(static_cast<char>(static_cast<unsigned char>(c) & ~0x20u));
        separated_ = false;
    }
}

}  // namespace document
