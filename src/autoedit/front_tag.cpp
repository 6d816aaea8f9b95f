#include "autoedit/front_tag.h"

#include "entry/id3v2_reading.h"
#include "entry/liedkram_entry.h"
#include "platform/random_reader.h"
#include "tags/id3v2.h"
#include "tags/id3v2_writer.h"

#include <array>

namespace autoedit {

namespace {

// The whole tag at the file's start when it lies in front of the audio, and
// how many bytes it takes; nothing of either when there is none.
std::vector<std::uint8_t> ownTag(const CLiedkramEntry& entry, platform::RandomReader& file, std::int64_t fileLength,
                                 std::int64_t& size)
{
    std::array<std::uint8_t, tags::kId3v2HeaderSize> header{};
    file.readAt(0, header);
    size = 0;
    const auto declared = tags::id3v2TagSize(header);
    if (!declared || *declared > static_cast<std::uint64_t>(entry.m_nAudioStart))
        return {};
    size = static_cast<std::int64_t>(*declared);
    return entry::frontTagBytes(file, fileLength, header);
}

}  // namespace

FrontTag makeFrontTag(const CLiedkramEntry& entry, platform::RandomReader& file, std::int64_t fileLength)
{
    FrontTag front;
    std::vector<std::uint8_t> old = ownTag(entry, file, fileLength, front.replaced);
    // A damaged tag is not carried on: a new one of the entry's fields takes its place.
    if (!tags::id3v2FramesFit(old))
        old.clear();
    auto built = tags::buildId3v2(old, {entry.m_szTitle.view(), entry.m_szArtist.view(), entry.m_szAlbum.view(),
                                        entry.m_nYear, entry.m_szComment.view(), entry.m_nTrack, entry.m_nGenre});
    front.bytes = std::move(built.bytes);
    front.lostCharacters = std::move(built.lostCharacters);
    return front;
}

std::vector<const char*> charactersLostWithFrontTag(const CLiedkramEntry& entry, platform::RandomReader& file,
                                                    std::int64_t fileLength)
{
    std::int64_t size = 0;
    const std::vector<std::uint8_t> old = ownTag(entry, file, fileLength, size);
    return old.empty() ? std::vector<const char*>{} : tags::fieldsBeyondCp1252(old);
}

}  // namespace autoedit
