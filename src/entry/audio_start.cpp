#include "entry/audio_start.h"

#include "mpeg/first_header_search.h"
#include "mpeg/frame_chain.h"
#include "platform/random_reader.h"
#include "tags/id3v2.h"

#include <algorithm>
#include <array>
#include <vector>

namespace entry {

namespace {

// Some taggers leave a second tag behind the first; more than a few is damage.
constexpr int kMaxTags = 4;

struct SearchWindow {
    std::int64_t origin = 0;  // file offset of the window's first byte
    std::size_t start = 0;  // where the search begins in the window
};

// Behind every ID3v2 tag at the start. A tag whose declared size reaches
// past the end of the file cannot be trusted: then the search starts where it
// always did, behind the first frame of a version 2.3 tag.
SearchWindow searchWindow(platform::RandomReader& file, std::int64_t fileSize, std::span<const std::uint8_t> first)
{
    std::int64_t at = 0;
    for (int tag = 0; tag < kMaxTags; ++tag) {
        // The first bytes were read already; a tag behind a large one is not among them.
        std::array<std::uint8_t, tags::kId3v2HeaderSize> header{};
        if (at + header.size() <= first.size())
            std::copy_n(first.begin() + at, header.size(), header.begin());
        else if (file.readAt(at, header) != header.size())
            break;
        const auto size = tags::id3v2TagSize(header);
        if (!size)
            break;
        if (*size > static_cast<std::uint64_t>(fileSize - at)) {
            if (at == 0)
                return {0, tags::headerSearchStart(first)};
            break;
        }
        at += static_cast<std::int64_t>(*size);
    }
    return {at, 0};
}

}  // namespace

std::optional<AudioStart> findAudioStart(platform::RandomReader& file, std::int64_t fileSize,
                                         std::span<const std::uint8_t> first)
{
    const SearchWindow window = searchWindow(file, fileSize, first);
    std::vector<std::uint8_t> behindTags;
    std::span<const std::uint8_t> bytes = first;
    if (window.origin > 0) {
        behindTags.resize(
            static_cast<std::size_t>(std::min<std::int64_t>(fileSize - window.origin, mpeg::kHeaderSearchBytes)));
        behindTags.resize(file.readAt(window.origin, behindTags));
        bytes = behindTags;
    }

    // A stream of another kind is told by its frame chain; a supported file
    // that merely holds such a chain in its junk also holds a chain of
    // accepted frames.
    const auto chain = mpeg::findFrameChain(bytes, window.start, mpeg::ChainKind::Any);
    if (chain && !mpeg::isAcceptedHeader(chain->word) &&
        !mpeg::findFrameChain(bytes, window.start, mpeg::ChainKind::Accepted)) {
        return AudioStart{window.origin + static_cast<std::int64_t>(chain->position), chain->word, true};
    }

    const auto found = mpeg::findFirstHeader(bytes, window.start);
    if (!found)
        return std::nullopt;
    return AudioStart{window.origin + static_cast<std::int64_t>(found->position), found->word, false};
}

}  // namespace entry
