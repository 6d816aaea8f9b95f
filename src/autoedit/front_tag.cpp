#include "autoedit/front_tag.h"

#include "entry/id3v2_reading.h"
#include "entry/liedkram_entry.h"
#include "platform/random_reader.h"
#include "tags/id3v2.h"
#include "tags/id3v2_writer.h"

#include <array>

namespace autoedit {

FrontTag makeFrontTag(const CLiedkramEntry& entry, platform::RandomReader& file, std::int64_t fileLength)
{
    std::array<std::uint8_t, tags::kId3v2HeaderSize> header{};
    file.readAt(0, header);
    FrontTag front;
    std::vector<std::uint8_t> old;
    if (const auto size = tags::id3v2TagSize(header);
        size && *size <= static_cast<std::uint64_t>(entry.m_nAudioStart)) {
        front.replaced = static_cast<std::int64_t>(*size);
        old = entry::frontTagBytes(file, fileLength, header);
        // A damaged tag is not carried on: a new one of the entry's fields takes its place.
        if (!tags::id3v2FramesFit(old))
            old.clear();
    }
    auto built = tags::buildId3v2(old, {entry.m_szTitle.view(), entry.m_szArtist.view(), entry.m_szAlbum.view(),
                                        entry.m_nYear, entry.m_szComment.view(), entry.m_nTrack, entry.m_nGenre});
    front.bytes = std::move(built.bytes);
    front.lostCharacters = std::move(built.lostCharacters);
    return front;
}

}  // namespace autoedit
