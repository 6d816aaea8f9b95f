#pragma once

#include "mpeg/frame_header.h"
#include "mpeg/vbr_header.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace platform {
class File;
}

namespace autoedit {

// The Xing, Info or VBRI frame at the first header of a file, at or in
// front of the audio start: it stays the first frame whatever is cut.
struct HeadFrame {
    std::int64_t at = 0;
    std::vector<std::uint8_t> bytes;
    mpeg::VbrHeader header;

    std::int64_t end() const { return at + static_cast<std::int64_t>(bytes.size()); }
};

std::optional<HeadFrame> findHeadFrame(platform::File& in, std::int64_t fileSize, std::int64_t audioStart);

// The head frame as it goes in front of the audio frames of [from, end): its
// header bits as asked, its counts, seek table and the LAME tag's encoder
// delay and padding those of the frames kept, where they differ from what it
// says, and the LAME tag's check word made right again.
std::vector<std::uint8_t> rewrittenHeadFrame(const HeadFrame& head, platform::File& in, std::int64_t from,
                                             std::int64_t end, bool rewriteHeaders, mpeg::HeaderWord bitsFrom);

}  // namespace autoedit
