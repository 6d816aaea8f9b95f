#include "platform/random_reader.h"
#include "support/tag_builder.h"
#include "tags/back_tags.h"
#include "tags/tag_kinds.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace {

struct Layout {
    Bytes file;
    std::int64_t audioEnd = 0;
    std::int64_t tagsEnd = 0;
};

// Audio, then the tags, then perhaps an ID3v1 tag.
Layout layout(const std::vector<Bytes>& behind, bool id3v1)
{
    Layout l;
    l.file = frames({}, 20);
    l.audioEnd = static_cast<std::int64_t>(l.file.size());
    for (const auto& tag : behind)
        append(l.file, tag);
    l.tagsEnd = static_cast<std::int64_t>(l.file.size());
    if (id3v1)
        append(l.file, id3v1Tag({"Titel", "", "", "", "", -1, 255}));
    return l;
}

}  // namespace

TEST(BackTags, EveryKindIsFoundBackToTheAudioEnd)
{
    const Bytes appended = id3v2Frames(4, {textFrame("TIT2", "Hinten")}, 0, true);
    const struct {
        const char* name;
        std::vector<Bytes> tags;
        bool id3v1;
        unsigned kinds;
    } cases[] = {
        {"nothing", {}, true, 0},
        {"ape with header", {apeTag(true)}, true, tags::kTagApeV2},
        {"ape without header, no ID3v1", {apeTag(false)}, false, tags::kTagApeV2},
        {"lyrics and ape", {lyrics3v2(), apeTag(true)}, true, tags::kTagApeV2 | tags::kTagLyrics3v2},
        {"tag+", {tagPlus()}, true, tags::kTagPlus},
        {"appended id3v2", {appended}, true, tags::kTagId3v2Behind},
        {"appended id3v2 behind ape", {apeTag(false), appended}, false, tags::kTagApeV2 | tags::kTagId3v2Behind},
        {"all", {lyrics3v2(), apeTag(true), tagPlus()}, true, tags::kTagApeV2 | tags::kTagLyrics3v2 | tags::kTagPlus},
    };
    for (const auto& c : cases) {
        const Layout l = layout(c.tags, c.id3v1);
        platform::MemoryReader reader(l.file);
        const auto found = tags::findBackTags(reader, 0, l.tagsEnd, c.id3v1);
        EXPECT_EQ(found.start, l.audioEnd) << c.name;
        EXPECT_EQ(found.kinds, c.kinds) << c.name;
    }
}

TEST(BackTags, SizesThatReachIntoTheAudioOrOutsideTheFileAreNoTag)
{
    // The APE size says the tag begins in front of the lowest offset.
    Layout l = layout({apeTag(false)}, false);
    platform::MemoryReader reader(l.file);
    EXPECT_EQ(tags::findBackTags(reader, l.audioEnd + 1, l.tagsEnd, false).kinds, 0u);
    // A size larger than everything in front of the tag.
    l.file[l.file.size() - 20] = 0xFF;
    l.file[l.file.size() - 19] = 0xFF;
    platform::MemoryReader huge(l.file);
    EXPECT_EQ(tags::findBackTags(huge, 0, l.tagsEnd, false).start, l.tagsEnd);

    // A header promised but missing.
    Bytes noHeader = apeTag(true);
    noHeader[0] = 'X';
    const Layout bad = layout({noHeader}, false);
    platform::MemoryReader badReader(bad.file);
    EXPECT_EQ(tags::findBackTags(badReader, 0, bad.tagsEnd, false).kinds, 0u);

    // Lyrics whose size digits are not digits, or whose begin is elsewhere.
    Bytes lyrics = lyrics3v2();
    lyrics[lyrics.size() - 12] = 'x';
    const Layout badLyrics = layout({lyrics}, true);
    platform::MemoryReader lyricsReader(badLyrics.file);
    EXPECT_EQ(tags::findBackTags(lyricsReader, 0, badLyrics.tagsEnd, true).kinds, 0u);

    // TAG+ stands only right in front of an ID3v1 tag.
    const Layout plus = layout({tagPlus()}, false);
    platform::MemoryReader plusReader(plus.file);
    EXPECT_EQ(tags::findBackTags(plusReader, 0, plus.tagsEnd, false).kinds, 0u);

    // A file that is nothing but a footer.
    const Bytes footerOnly = {'A', 'P', 'E', 'T', 'A', 'G', 'E', 'X'};
    platform::MemoryReader tiny(footerOnly);
    EXPECT_EQ(tags::findBackTags(tiny, 0, 8, false).start, 8);
}

TEST(TagKinds, AreNamedInTheOrderTheyStandInAFile)
{
    EXPECT_EQ(tags::tagKindsText(0), "");
    EXPECT_EQ(tags::tagKindsText(tags::kTagId3v24 | tags::kTagApeV2 | tags::kTagId3v1), "ID3v2.4 APEv2 ID3v1");
    EXPECT_EQ(tags::tagKindsText(tags::kTagId3v1 | tags::kTagPlus | tags::kTagLyrics3v2 | tags::kTagId3v2Behind |
                                 tags::frontId3v2Kind(2)),
              "ID3v2.2 Lyrics3v2 TAG+ ID3v2.4 ID3v1");
    EXPECT_EQ(tags::frontId3v2Kind(3), tags::kTagId3v23);
    EXPECT_EQ(tags::frontId3v2Kind(5), 0u);
}
