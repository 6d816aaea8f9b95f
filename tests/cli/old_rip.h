#pragma once

#include "support/mp3_builder.h"

#include <string>

namespace clitest {

// A file as an old ripper left it: an ID3v2 tag and junk in front, every
// frame header with the copyright bit set and the original bit clear, an
// ID3v1 tag behind; and the content fix must make of it with the default
// settings: the frames alone from offset 0 with copyright clear and original
// set, then one fresh ID3v1 tag.
struct OldRip {
    std::string name;
    std::string repairedName;  // what the default pattern "$Artist-$Title" gives
    testsupport::Bytes bytes;
    testsupport::Bytes repaired;
    int frameCount = 0;
    std::size_t junkSize = 0;  // bytes in front of the first frame
};

// "the beatles - let it be.mp3": MPEG-1 frames; the tag has neither artist
// nor title (both come from the name) and a two-digit year.
OldRip beatlesRip(int frameCount = 400);
// "nena irgendwie.mp3": MPEG-2 frames; artist and title from the tag.
OldRip nenaRip();

}  // namespace clitest
