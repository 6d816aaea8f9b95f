#include "entry/back_junk.h"

#include "entry/brava_trailer.h"
#include "entry/id3v1_reading.h"
#include "platform/file.h"
#include "tags/back_tags.h"
#include "tags/id3v1.h"

#include <algorithm>
#include <span>
#include <vector>

namespace entry {

namespace {

// Where the ID3v1 tag, or the trailer in front of it, begins; the file's
// length when it ends in no tag.
std::int64_t tagAndTrailerStart(platform::File& file, std::int64_t fileSize, std::int64_t audioStart)
{
    const std::int64_t probeSize = std::min<std::int64_t>(fileSize, kTagProbeSize);
    std::vector<std::uint8_t> tail(static_cast<std::size_t>(probeSize));
    tail.resize(file.readAt(fileSize - probeSize, tail));
    if (tail.size() < tags::kId3v1Size || !tags::parseId3v1(std::span(tail).last(tags::kId3v1Size)))
        return fileSize;
    const std::int64_t tagStart = fileSize - static_cast<std::int64_t>(tags::kId3v1Size);
    if (tail.size() < kTagProbeSize)
        return tagStart;
    const auto trailer = findBravaTrailer(file, fileSize, audioStart, std::span(tail).first(kTrailerEndSize));
    return trailer ? trailer->audioEnd : tagStart;
}

}  // namespace

BackLayout backLayout(platform::File& file, std::int64_t fileSize, std::int64_t audioStart)
{
    const std::int64_t end = tagAndTrailerStart(file, fileSize, audioStart);
    const bool beforeId3v1 = end == fileSize - static_cast<std::int64_t>(tags::kId3v1Size);
    const auto tags = tags::findBackTags(file, audioStart, end, beforeId3v1);
    return {tags.start, end};
}

}  // namespace entry
