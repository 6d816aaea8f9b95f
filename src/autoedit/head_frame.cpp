#include "autoedit/head_frame.h"

#include "autoedit/header_pass.h"
#include "entry/audio_start.h"
#include "mpeg/first_header_search.h"
#include "mpeg/frame_walk.h"
#include "platform/file.h"

#include <algorithm>

namespace autoedit {

std::optional<HeadFrame> findHeadFrame(platform::File& in, std::int64_t fileSize, std::int64_t audioStart)
{
    std::vector<std::uint8_t> first(static_cast<std::size_t>(
        std::min<std::int64_t>(fileSize, static_cast<std::int64_t>(mpeg::kHeaderSearchBytes))));
    first.resize(in.readAt(0, first));
    const auto found = entry::findAudioStart(in, fileSize, first);
    if (!found || found->foreign || found->position > audioStart)
        return std::nullopt;
    const int length = mpeg::acceptedFrameLength(found->word);
    HeadFrame head;
    head.at = found->position;
    head.bytes.resize(static_cast<std::size_t>(length));
    if (length == 0 || in.readAt(head.at, head.bytes) != head.bytes.size() ||
        (head.end() > audioStart && head.at != audioStart))
        return std::nullopt;
    const auto header = mpeg::findVbrHeader(head.bytes);
    if (!header)
        return std::nullopt;
    head.header = *header;
    return head;
}

std::vector<std::uint8_t> rewrittenHeadFrame(const HeadFrame& head, platform::File& in, std::int64_t from,
                                             std::int64_t end, bool rewriteHeaders, mpeg::HeaderWord bitsFrom)
{
    std::vector<std::uint8_t> frame = head.bytes;
    const bool checked = mpeg::hasValidLameCheck(frame, head.header);
    mpeg::KeptStream kept;
    const auto length = static_cast<std::uint32_t>(frame.size());
    for (const std::int64_t offset : frameOffsets(in, from, end))
        kept.frameOffsets.push_back(length + static_cast<std::uint32_t>(offset));
    kept.bytes = length + static_cast<std::uint32_t>(end - from);
    const auto frames = static_cast<std::uint32_t>(kept.frameOffsets.size());
    if (frames != head.header.frames || kept.bytes != head.header.bytes) {
        kept.framesCutBefore = static_cast<std::uint32_t>(frameOffsets(in, head.end(), from).size());
        const std::uint32_t described = kept.framesCutBefore + frames;
        kept.framesCutBehind = head.header.frames > described ? head.header.frames - described : 0;
        mpeg::describeKeptStream(frame, head.header, kept);
    }
    if (rewriteHeaders)
        putHeaderBits(frame, bitsFrom);
    if (checked && frame != head.bytes)
        mpeg::sealLameTag(frame, head.header);
    return frame;
}

}  // namespace autoedit
