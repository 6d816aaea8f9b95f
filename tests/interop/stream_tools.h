#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace interop {

// Encodes the test sound with lame or twolame (the first word of options
// names the encoder) into a new file; throws std::runtime_error when the
// encoder fails.
void encodeTestSound(const std::string& wav, const std::vector<std::string>& encoder, const std::string& mp3);

// Where a tagged copy's parts lie: the source's bytes begin at audioStart;
// backTags bytes of tags stand in front of its ID3v1 tag (none when 0).
struct TaggedCopy {
    int audioStart = 0;
    int backTags = 0;
};
// Copies source to target with tags of the given kind (see tag_file.py).
TaggedCopy tagCopy(const std::string& source, const std::string& target, const std::string& kind);

// The frames that follow each other from offset, as an independent reading
// of the standard finds them, with the CRC check of protected frames.
struct FrameWalk {
    std::vector<int> offsets;
    int end = 0;
    int crcChecked = 0;
    int crcBad = 0;
};
// With resync, stray bytes between frames are passed over.
FrameWalk walkFrames(const std::string& path, int offset, bool resync = false);

// Whether frame b of before and frame a of after are the same bytes but for
// the original and copyright bits and, in protected frames, the check word,
// and after's copyright bit is clear and its original bit set; what differs
// otherwise.
std::string frameDifference(const std::vector<std::uint8_t>& before, int b, const std::vector<std::uint8_t>& after,
                            int a, int length);

// What mutagen reads from the file's ID3v2 tag (id3v2_probe.py): "version"
// ("2.3.0", or "none") and one entry per frame, by mutagen's key; the items
// of an APEv2 tag as "APE:KEY".
std::map<std::string, std::string> id3v2Frames(const std::string& path);

// The title ffprobe finds in the file's tags.
std::string ffprobeTitle(const std::string& path);

// ffmpeg's complaints when it decodes every frame checking CRCs; empty when
// it has none.
std::string crcCheckingDecode(const std::string& path);

}  // namespace interop
