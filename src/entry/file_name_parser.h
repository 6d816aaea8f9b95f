#pragma once

#include <string>
#include <string_view>

namespace entry {

struct NameParts {
    std::string artist;
    std::string title;
};

// Derives artist and title from a file name such as "01 - the beatles -
// let it be.mp3": a track prefix is skipped, "(Artist)" and "[Artist]" are
// understood, "_" reads as a blank, words start with capitals and "_n_"
// becomes "&". The name is Windows-1252 text; its last four characters (the
// extension) are never part of a result.
NameParts parseFileName(std::string_view name);

}  // namespace entry
