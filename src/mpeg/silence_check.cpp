#include "mpeg/silence_check.h"

#include "mpeg/frame_crc.h"
#include "mpeg/frame_decoder.h"
#include "platform/random_reader.h"

#include <algorithm>
#include <vector>

namespace mpeg {

namespace {

// Frames decoded in front of the first one judged at the end, so that the
// bytes its data lies in (up to 511 of them) and the overlap of the frame
// before it reach the decoder.
constexpr int kLeadFrames = 4;
constexpr std::int64_t kLeadBytes = 2048;
// Zero frames in a row after which the decoder holds nothing of the sound
// before: the overlap of the last granule and the synthesis filter's history
// are flushed.
constexpr int kFlushingZeroFrames = 2;

// How many bytes in front of its own main data a Layer III frame takes its
// data from; 0 for other layers, which keep no reservoir.
int mainDataBegin(std::span<const std::uint8_t> frame, HeaderWord word)
{
    if (layerField(word) != kLayer3)
        return 0;
    const std::size_t at = 4 + (protectionBit(word) == 0 ? kCrcSize : 0);
    if (at + 2 > frame.size())
        return 0;
    if (versionField(word) == kVersion1)
        return frame[at] << 1 | frame[at + 1] >> 7;
    return frame[at];
}

int mainDataSize(const WalkedFrame& frame)
{
    const std::size_t fixed = 4 + (protectionBit(frame.word) == 0 ? kCrcSize : 0) + sideInformationSize(frame.word);
    return std::max(0, frame.length - static_cast<int>(fixed));
}

class FrameBytes {
public:
    FrameBytes(platform::RandomReader& file, std::int64_t audioStart, std::span<const WalkedFrame> frames)
        : first_(frames.empty() ? 0 : frames.front().offset)
    {
        if (frames.empty())
            return;
        bytes_.resize(static_cast<std::size_t>(frames.back().offset + frames.back().length - first_));
        bytes_.resize(file.readAt(audioStart + first_, bytes_));
    }

    // The frame's bytes; fewer when the file ended early.
    std::span<const std::uint8_t> of(const WalkedFrame& frame) const
    {
        const auto at = static_cast<std::size_t>(frame.offset - first_);
        if (at >= bytes_.size())
            return {};
        return std::span(bytes_).subspan(at, std::min(bytes_.size() - at, static_cast<std::size_t>(frame.length)));
    }

private:
    std::int64_t first_;
    std::vector<std::uint8_t> bytes_;
};

// A frame of zeros behind its header (and check word) holds no sound and
// borrows none: at the start of a stream it plays silence.
bool isZeroFrame(std::span<const std::uint8_t> frame, HeaderWord word)
{
    const std::size_t fixed = 4 + (protectionBit(word) == 0 ? kCrcSize : 0);
    return frame.size() >= fixed && std::all_of(frame.begin() + static_cast<std::ptrdiff_t>(fixed), frame.end(),
                                                 [](std::uint8_t b) { return b == 0; });
}

// Where decoding must begin so that frame `at` is heard as it is played.
std::size_t leadIn(std::span<const WalkedFrame> frames, std::size_t at)
{
    std::size_t lead = at;
    while (lead > 0 && (at - lead < std::size_t{kLeadFrames} || frames[at].offset - frames[lead].offset < kLeadBytes))
        --lead;
    return lead;
}

bool audible(FrameDecoder& decoder, std::span<const std::uint8_t> frame)
{
    // What the decoder cannot play is no proof of silence.
    const auto loudest = decoder.loudestSample(frame);
    return !loudest || *loudest > kInaudibleAmplitude;
}

}  // namespace

std::int64_t audibleFront(platform::RandomReader& file, std::int64_t audioStart, std::span<const WalkedFrame> frames,
                          std::int64_t proposedFront, FrameDecoder& decoder)
{
    const auto end = std::ranges::find_if(frames, [&](const WalkedFrame& f) { return f.offset >= proposedFront; });
    const auto judged = frames.first(static_cast<std::size_t>(end - frames.begin()));
    if (judged.empty())
        return proposedFront;
    const FrameBytes bytes(file, audioStart, judged);
    // Zero frames at the start are silent without decoding; the decoder
    // starts early enough before the first other one to hold the bytes it
    // may borrow from them.
    std::size_t first = 0;
    while (first < judged.size() && isZeroFrame(bytes.of(judged[first]), judged[first].word))
        ++first;
    if (first == judged.size())
        return proposedFront;
    decoder.restart();
    for (std::size_t lead = leadIn(judged, first); lead < first; ++lead)
        decoder.loudestSample(bytes.of(judged[lead]));
    while (first < judged.size() && !audible(decoder, bytes.of(judged[first])))
        ++first;
    if (first == judged.size())
        return proposedFront;
    // The first audible frame keeps the frames its data lies in.
    int borrowed = mainDataBegin(bytes.of(judged[first]), judged[first].word);
    while (borrowed > 0 && first > 0) {
        --first;
        borrowed -= mainDataSize(judged[first]);
    }
    return judged[first].offset;
}

std::int64_t audibleEnd(platform::RandomReader& file, std::int64_t audioStart, std::span<const WalkedFrame> frames,
                        std::int64_t proposedEnd, std::int64_t audioLength, FrameDecoder& decoder)
{
    if (frames.empty() || proposedEnd < frames.front().offset)
        return audioLength;
    const auto firstJudged = std::ranges::find_if(frames, [&](const WalkedFrame& f) { return f.offset >= proposedEnd; });
    if (firstJudged == frames.end())
        return proposedEnd;
    const auto lead = frames.begin() + static_cast<std::ptrdiff_t>(
                                            leadIn(frames, static_cast<std::size_t>(firstJudged - frames.begin())));
    // Without the frames in front, the first ones could not be heard as they are played.
    if (lead == firstJudged && firstJudged->offset > 0)
        return audioLength;
    const auto heard = frames.subspan(static_cast<std::size_t>(lead - frames.begin()));
    const FrameBytes bytes(file, audioStart, heard);
    // Digital silence behind the music: zero frames play only what the frames
    // in front left in the decoder, and a flushing run of them plays it out.
    // That run is kept and the rest cut without decoding.
    const auto judged = std::span(firstJudged, frames.end());
    if (std::ranges::all_of(judged, [&](const WalkedFrame& f) { return isZeroFrame(bytes.of(f), f.word); })) {
        const WalkedFrame& lastKept = judged[std::min<std::size_t>(kFlushingZeroFrames, judged.size()) - 1];
        return lastKept.offset + lastKept.length;
    }
    decoder.restart();
    std::int64_t end = proposedEnd;
    int zeroRun = 0;
    bool skipped = false;
    for (std::size_t i = 0; i < heard.size(); ++i) {
        const WalkedFrame& frame = heard[i];
        const bool zero = isZeroFrame(bytes.of(frame), frame.word);
        // Behind a flushing run of zero frames another zero frame plays nothing.
        if (zero && zeroRun >= kFlushingZeroFrames) {
            skipped = true;
            continue;
        }
        zeroRun = zero ? zeroRun + 1 : 0;
        if (skipped) {
            // The frames passed over were zeros: a decoder fed a few of them is where it would be.
            decoder.restart();
            for (std::size_t fed = leadIn(heard, i); fed < i; ++fed)
                decoder.loudestSample(bytes.of(heard[fed]));
            skipped = false;
        }
        if (audible(decoder, bytes.of(frame)) && frame.offset >= proposedEnd)
            end = frame.offset + frame.length;
    }
    return end;
}

}  // namespace mpeg
