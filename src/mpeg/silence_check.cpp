#include "mpeg/silence_check.h"

#include "mpeg/frame_crc.h"
#include "mpeg/frame_decoder.h"
#include "platform/random_reader.h"

#include <algorithm>
#include <cassert>
#include <memory>
#include <vector>

namespace mpeg {

namespace {

// Frames decoded in front of the first one judged at the end, so that the
// bytes its data lies in (up to 511 of them) and the overlap of the frame
// before it reach the decoder.
constexpr int kLeadFrames = 4;
constexpr std::int64_t kLeadBytes = 2048;
// Frames without sound in a row after which the decoder holds nothing of the sound
// before: the overlap of the last granule and the synthesis filter's history
// are flushed.
constexpr int kFlushingSoundlessFrames = 2;

int mainDataSize(const WalkedFrame& frame)
{
    const std::size_t fixed = sideInformationStart(frame.word) + sideInformationSize(frame.word);
    return std::max(0, frame.length - static_cast<int>(fixed));
}

// The bytes of the frames, read when first asked for: most judgments need
// no decoding.
class FrameBytes {
public:
    FrameBytes(platform::RandomReader& file, std::int64_t audioStart, std::span<const WalkedFrame> frames)
        : file_(file), audioStart_(audioStart), frames_(frames)
    {
    }

    // The frame's bytes; fewer when the file ended early.
    std::span<const std::uint8_t> of(const WalkedFrame& frame)
    {
        if (!buffer_)
            readAll();
        const auto at = static_cast<std::size_t>(frame.offset - frames_.front().offset);
        if (at >= bytes_.size())
            return {};
        return bytes_.subspan(at, std::min(bytes_.size() - at, static_cast<std::size_t>(frame.length)));
    }

private:
    void readAll()
    {
        assert(!frames_.empty());
        const std::int64_t first = frames_.front().offset;
        const auto wanted = static_cast<std::size_t>(frames_.back().offset + frames_.back().length - first);
        // Not zero-filled: clearing the buffer would cost as much as reading it.
        buffer_ = std::make_unique_for_overwrite<std::uint8_t[]>(wanted);
        bytes_ = std::span(buffer_.get(), file_.readAt(audioStart_ + first, std::span(buffer_.get(), wanted)));
    }

    platform::RandomReader& file_;
    std::int64_t audioStart_;
    std::span<const WalkedFrame> frames_;
    std::unique_ptr<std::uint8_t[]> buffer_;
    std::span<const std::uint8_t> bytes_;
};

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
    const auto judgedCount = static_cast<std::size_t>(end - frames.begin());
    if (judgedCount == 0)
        return proposedFront;
    // With the frame at proposedFront, which may take its data from the judged ones.
    const auto candidates = frames.first(std::min(judgedCount + 1, frames.size()));
    const auto judged = frames.first(judgedCount);
    FrameBytes bytes(file, audioStart, judged);
    // Frames without sound at the start are silent without decoding; the
    // decoder starts early enough before the first other one to hold the
    // bytes it may borrow from them.
    std::size_t first = 0;
    while (first < judged.size() && judged[first].content.holdsNoSound)
        ++first;
    if (first < judged.size()) {
        decoder.restart();
        for (std::size_t lead = leadIn(judged, first); lead < first; ++lead)
            decoder.loudestSample(bytes.of(judged[lead]));
        while (first < judged.size() && !audible(decoder, bytes.of(judged[first])))
            ++first;
    }
    if (first == candidates.size())
        return proposedFront;
    // The first kept frame keeps the frames its data lies in.
    int borrowed = candidates[first].content.mainDataBegin;
    while (borrowed > 0 && first > 0) {
        --first;
        borrowed -= mainDataSize(candidates[first]);
    }
    return candidates[first].offset;
}

std::int64_t audibleEnd(platform::RandomReader& file, std::int64_t audioStart, std::span<const WalkedFrame> frames,
                        std::int64_t proposedEnd, std::int64_t audioLength, FrameDecoder& decoder)
{
    if (frames.empty() || proposedEnd < frames.front().offset)
        return audioLength;
    const auto firstJudged =
        std::ranges::find_if(frames, [&](const WalkedFrame& f) { return f.offset >= proposedEnd; });
    if (firstJudged == frames.end())
        return proposedEnd;
    const auto lead = frames.begin() + static_cast<std::ptrdiff_t>(
                                           leadIn(frames, static_cast<std::size_t>(firstJudged - frames.begin())));
    // Without the frames in front, the first ones could not be heard as they are played.
    if (lead == firstJudged && firstJudged->offset > 0)
        return audioLength;
    const auto heard = frames.subspan(static_cast<std::size_t>(lead - frames.begin()));
    FrameBytes bytes(file, audioStart, heard);
    // Digital silence behind the music: frames without sound play only what
    // the frames in front left in the decoder, and a flushing run of them
    // plays it out.
    // That run is kept and the rest cut without decoding.
    const auto judged = std::span(firstJudged, frames.end());
    if (std::ranges::all_of(judged, [](const WalkedFrame& f) { return f.content.holdsNoSound; })) {
        const WalkedFrame& lastKept = judged[std::min<std::size_t>(kFlushingSoundlessFrames, judged.size()) - 1];
        return lastKept.offset + lastKept.length;
    }
    decoder.restart();
    std::int64_t end = proposedEnd;
    int soundlessRun = 0;
    bool skipped = false;
    for (std::size_t i = 0; i < heard.size(); ++i) {
        const WalkedFrame& frame = heard[i];
        const bool soundless = frame.content.holdsNoSound;
        // Behind a flushing run of frames without sound another one plays nothing.
        if (soundless && soundlessRun >= kFlushingSoundlessFrames) {
            skipped = true;
            continue;
        }
        soundlessRun = soundless ? soundlessRun + 1 : 0;
        if (skipped) {
            // The frames passed over held no sound: a decoder fed a few of them is where it would be.
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
