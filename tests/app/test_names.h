#pragma once

#include <string>

namespace apptest {

// A row's description as a test name: every character that is not an ASCII
// letter or digit becomes "_" ("NEIN, Return" gives "NEIN__Return").
inline std::string testName(std::string description)
{
    for (char& character : description) {
        const bool plain = (character >= 'a' && character <= 'z') || (character >= 'A' && character <= 'Z') ||
                           (character >= '0' && character <= '9');
        if (!plain)
            character = '_';
    }
    return description;
}

}  // namespace apptest
