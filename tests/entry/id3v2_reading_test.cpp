#include "entry/liedkram_entry.h"
#include "platform/repair_settings.h"
#include "support/mp3_builder.h"
#include "support/seam_fixture.h"
#include "support/tag_builder.h"
#include "support/temp_dir.h"
#include "tags/tag_kinds.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>

using namespace testsupport;

namespace {

constexpr int kFrame = 417;
constexpr int kFrames = 200;

// The file: texts as taggers write them, a large cover, no ID3v1 tag.
Bytes fullTag(std::uint8_t version = 4)
{
    Bytes cover = {0xFF, 0xD8, 0xFF, 0xE0};
    append(cover, musicBytes(150000));
    return id3v2Frames(version,
                       {textFrame("TIT2", "Über den Wolken"), textFrame("TPE1", "Kapelle Grün"),
                        textFrame("TALB", "Wolkenlieder"), textFrame(version == 4 ? "TDRC" : "TYER", "2001"),
                        textFrame("TRCK", "3/12"), textFrame("TCON", "Rock"), commentFrame("", "Schön"),
                        pictureFrame(3, cover)},
                       1024);
}

struct Expected {
    std::string title, artist, album, comment;
    int year = 1900;
    int genre = -1;
    int track = 0;
    bool tagDirty = false;
};

struct ReadCase {
    const char* name;
    std::string fileName;
    Bytes front;  // in front of the audio
    std::optional<Id3v1Fields> id3v1;
    Expected expected;
};

void PrintTo(const ReadCase& c, std::ostream* out)
{
    *out << c.name;
}

const std::string kLongTitle = "Ein Titel, der l\xC3\xA4nger ist als drei\xC3\x9Fig Zeichen";  // UTF-8
const std::string kLongTitleCp = "Ein Titel, der l\xE4nger ist als drei\xDFig Zeichen";

std::vector<ReadCase> readCases()
{
    return {
        {"no_id3v1_every_field_from_id3v2",
         "track01.mp3",
         fullTag(),
         std::nullopt,
         {"\xDC"
          "ber den Wolken",
          "Kapelle Gr\xFCn", "Wolkenlieder", "Sch\xF6n", 2001, 17, 3, true}},
        {"version_2_3_alike",
         "track01.mp3",
         fullTag(3),
         std::nullopt,
         {"\xDC"
          "ber den Wolken",
          "Kapelle Gr\xFCn", "Wolkenlieder", "Sch\xF6n", 2001, 17, 3, true}},
        {"id3v1_cut_from_the_longer_id3v2_text",
         "x.mp3",
         id3v2Frames(3, {textFrame("TIT2", kLongTitle), textFrame("TPE1", "Eine andere Band")}),
         Id3v1Fields{kLongTitleCp.substr(0, 30), "Band", "Album", "1999", "", 5, 17},
         {kLongTitleCp, "Band", "Album", "", 1999, 17, 5, false}},
        {"empty_id3v1_fields_filled_and_marked",
         "x.mp3",
         id3v2Frames(4, {textFrame("TALB", "Platte"), textFrame("TCON", "(8)"), textFrame("TDRC", "1987"),
                         textFrame("TRCK", "4"), textFrame("TIT2", "Anders")}),
         Id3v1Fields{"Titel", "Band", "", "", "", -1, 255},
         {"Titel", "Band", "Platte", "", 1987, 8, 4, true}},
        {"id3v2_texts_are_no_damaged_fields",
         "Band - Song.mp3",
         id3v2Frames(3, {textFrame("TIT2", "?Wer weiß"), textFrame("TPE1", "_under_")}),
         std::nullopt,
         {"?Wer wei\xDF", "_under_", "", "", 1900, -1, 0, true}},
        {"empty_id3v2_fields_leave_the_name_rule",
         "Band - Song.mp3",
         id3v2Frames(3, {textFrame("TALB", "Nur Album")}),
         Id3v1Fields{"?????", "", "", "", "", -1, 255},
         {"Song", "Band", "Nur Album", "", 1900, -1, 0, true}},
        {"unreadable_tag_gives_nothing",
         "Band - Song.mp3",
         [] {
             Bytes tag = id3v2Frames(3, {textFrame("TIT2", "Nie")});
             tag[3] = 9;  // no version TagLib knows
             return tag;
         }(),
         std::nullopt,
         {"Song", "Band", "", "", 1900, -1, 0, true}},
    };
}

class Id3v2Loading : public SeamTest {
protected:
    TempDir dir_;
};

class Id3v2Reading : public Id3v2Loading, public ::testing::WithParamInterface<ReadCase> {};

}  // namespace

TEST_P(Id3v2Reading, FieldsComeFromTheRightTag)
{
    const auto& c = GetParam();
    Bytes bytes = c.front;
    append(bytes, frames({}, kFrames));
    if (c.id3v1)
        append(bytes, id3v1Tag(*c.id3v1));
    const CLiedkramEntry entry(dir_.write(c.fileName, bytes), platform::readRepairSettings());
    ASSERT_NE(entry.m_dwHeader, 0u);
    EXPECT_EQ(entry.m_nAudioStart, static_cast<int>(c.front.size()));
    EXPECT_EQ(entry.m_szTitle.view(), c.expected.title);
    EXPECT_EQ(entry.m_szArtist.view(), c.expected.artist);
    EXPECT_EQ(entry.m_szAlbum.view(), c.expected.album);
    EXPECT_EQ(entry.m_szComment.view(), c.expected.comment);
    EXPECT_EQ(entry.m_nYear, c.expected.year);
    EXPECT_EQ(entry.m_nGenre, c.expected.genre);
    EXPECT_EQ(entry.m_nTrack, c.expected.track);
    EXPECT_EQ((entry.m_nFlags & ENTRY_TAG_DIRTY) != 0, c.expected.tagDirty);
    EXPECT_TRUE(prompter().prompts().empty());
}

INSTANTIATE_TEST_SUITE_P(Files, Id3v2Reading, ::testing::ValuesIn(readCases()),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(Id3v2Loading, ForceGetStillLetsTheNameWin)
{
    profile().writeInt("ForceGet", 1);
    Bytes bytes = fullTag();
    append(bytes, frames({}, kFrames));
    const CLiedkramEntry entry(dir_.write("Band - Song.mp3", bytes), platform::readRepairSettings());
    EXPECT_EQ(entry.m_szTitle, "Song");
    EXPECT_EQ(entry.m_szArtist, "Band");
    EXPECT_EQ(entry.m_szAlbum, "Wolkenlieder");
}

TEST_F(Id3v2Loading, TagsBehindTheAudioAreNoJunkAndNamed)
{
    const Bytes appended = id3v2Frames(4, {textFrame("TIT2", "Hinten")}, 0, true);
    const struct {
        const char* name;
        std::vector<Bytes> behind;
        bool id3v1;
        bool garbage;  // bytes of no tag between the audio and the tags
        const char* tags;
    } cases[] = {
        {"ape", {apeTag(true)}, true, false, "ID3v2.3 APEv2 ID3v1"},
        {"ape without id3v1", {apeTag(false)}, false, false, "ID3v2.3 APEv2"},
        {"lyrics, ape, tag+",
         {lyrics3v2(), apeTag(true), tagPlus()},
         true,
         false,
         "ID3v2.3 APEv2 Lyrics3v2 TAG+ ID3v1"},
        {"appended id3v2", {appended}, true, false, "ID3v2.3 ID3v2.4 ID3v1"},
        {"garbage in front of ape", {apeTag(true)}, true, true, "ID3v2.3 APEv2 ID3v1"},
    };
    for (const auto& c : cases) {
        const Bytes front = id3v2Frames(3, {textFrame("TIT2", "Vorn")});
        Bytes bytes = front;
        append(bytes, frames({}, kFrames));
        if (c.garbage)
            append(bytes, musicBytes(300));
        int tagBytes = 0;
        for (const auto& tag : c.behind) {
            append(bytes, tag);
            tagBytes += static_cast<int>(tag.size());
        }
        if (c.id3v1)
            append(bytes, id3v1Tag({"Vorn", "Band", "", "2001", "", 1, 17}));
        const CLiedkramEntry entry(dir_.write("Band - Vorn.mp3", bytes), platform::readRepairSettings());
        EXPECT_TRUE(prompter().messages().empty()) << c.name << ": " << prompter().messages().front();
        EXPECT_EQ(entry.m_bVerified, 1) << c.name;
        EXPECT_EQ(entry.m_nFrames, kFrames) << c.name;
        EXPECT_EQ(entry.m_nAudioEnd, static_cast<int>(front.size()) + kFrames * kFrame) << c.name;
        EXPECT_EQ(entry.m_nBackTagBytes, tagBytes) << c.name;
        EXPECT_EQ(tags::tagKindsText(entry.m_nTagKinds), c.tags) << c.name;
        // Only tags behind the audio: nothing to cut while the ID3v1 tag may stay.
        const bool cut = (entry.m_nFlags & ENTRY_CUT_BACK) != 0;
        EXPECT_EQ(cut, c.garbage || !c.id3v1) << c.name;
    }
}
