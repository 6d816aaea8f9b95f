#pragma once

#include <string>
#include <vector>

namespace interop {

// Encodes the test sound with lame or twolame (the first word of options
// names the encoder) into a new file; throws std::runtime_error when the
// encoder fails.
void encodeTestSound(const std::string& wav, const std::vector<std::string>& encoder, const std::string& mp3);

// Copies source to target with an ID3v2 tag of the given kind in front (see
// tag_file.py); returns where the source's bytes begin in target.
int tagCopy(const std::string& source, const std::string& target, const std::string& kind);

// The frames that follow each other from offset, as an independent reading
// of the standard finds them, with the CRC check of protected frames.
struct FrameWalk {
    std::vector<int> offsets;
    int end = 0;
    int crcChecked = 0;
    int crcBad = 0;
};
FrameWalk walkFrames(const std::string& path, int offset);

// ffmpeg's complaints when it decodes every frame checking CRCs; empty when
// it has none.
std::string crcCheckingDecode(const std::string& path);

}  // namespace interop
