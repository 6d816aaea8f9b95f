#include "autoedit/rewrite_file.h"
#include "entry/liedkram_entry.h"
#include "platform/repair_settings.h"
#include "support/seam_fixture.h"
#include "support/tag_builder.h"
#include "support/temp_dir.h"
#include "tags/id3v2.h"
#include "tags/id3v2_fields.h"
#include "tags/tag_kinds.h"
#include "tags/taglib_memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>

// The rewrite with the default settings, SetID3V2 among them, on files with
// tags in front of and behind the audio: what it keeps, what it writes anew
// and what it tells.

using namespace testsupport;

namespace {

constexpr int kAudioFrames = 40;

bool contains(const Bytes& bytes, const std::string& text)
{
    return std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end();
}

Bytes joined(const std::vector<Bytes>& parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        append(all, part);
    return all;
}

struct AroundCase {
    const char* name;
    Bytes front;
    std::vector<Bytes> back;  // between the junk and the ID3v1 tag
    bool junkBehind;
    bool id3v1;
    bool frontKept;  // the old front tag stays byte for byte
    std::string title;  // as the ID3v2 tag of the new file gives them
    std::string artist;
    std::vector<std::string> gone;  // texts of damaged frames no longer in the file
    const char* tagsAfter;  // the Tags column of the new file
    Bytes picture = {};  // the picture the new front tag holds; empty: none looked for
    std::vector<std::string> kept = {};  // frames the new front tag still holds
};

void PrintTo(const AroundCase& c, std::ostream* out)
{
    *out << c.name;
}

// A frame header whose size runs past the tag's end.
Bytes runningOver()
{
    Bytes tag = id3v2Frames(3, {textFrame("TIT2", "Lied"), textFrame("TPE1", "Band"), textFrame("TALB", "Weg")});
    tag.at(10 + 15 + 15 + 6) = 0x7F;
    return tag;
}

// A tag whose declared size runs past the end of the file.
Bytes pastTheEnd()
{
    Bytes tag = id3v2Frames(3, {textFrame("TIT2", "Kaputt")});
    std::fill(tag.begin() + 6, tag.begin() + 10, 0x7F);
    return tag;
}

std::vector<AroundCase> aroundCases()
{
    const Bytes own = id3v2Frames(4,
                                  {textFrame("TIT2", "Lied"), textFrame("TPE1", "Band"),
                                   textFrame("TXXX", "REPLAYGAIN_TRACK_GAIN"), pictureFrame(3, musicBytes(5000, 3))},
                                  300);
    const Bytes appended = id3v2Frames(4, {textFrame("TIT2", "Hinten")}, 0, true);
    const Bytes cover = musicBytes(3000, 4);
    // A footer, and a short frame last: TagLib alone loses it; its title is not the ID3v1 tag's.
    const Bytes footed = id3v2Frames(
        4, {textFrame("TIT2", "Alt"), textFrame("TPE1", "Band"), pictureFrame(3, cover), textFrame("TPUB", "Label")}, 0,
        true);
    return {
        {"own_footer_tag_changed_keeps_its_last_frame",
         footed,
         {},
         true,
         true,
         false,
         "Lied",
         "Band",
         {},
         "ID3v2.4 ID3v1",
         cover,
         {"TPUB"}},
        {"junk_then_lyrics_ape_tagplus",
         {},
         {lyrics3v2(), apeTag(true), tagPlus()},
         true,
         true,
         false,
         "Lied",
         "Band",
         {},
         "ID3v2.3 APEv2 Lyrics3v2 TAG+ ID3v1"},
        {"junk_then_appended_id3v2_no_id3v1",
         {},
         {appended},
         true,
         false,
         false,
         "Lied",
         "Band",
         {},
         "ID3v2.3 ID3v2.4 ID3v1"},
        {"ape_without_header_alone",
         {},
         {apeTag(false)},
         false,
         false,
         false,
         "Lied",
         "Band",
         {},
         "ID3v2.3 APEv2 ID3v1"},
        {"own_tag_kept_junk_cut", own, {apeTag(true)}, true, true, true, "Lied", "Band", {}, "ID3v2.4 APEv2 ID3v1"},
        {"damaged_size_past_the_end", pastTheEnd(), {}, true, true, false, "Lied", "Band", {"Kaputt"}, "ID3v2.3 ID3v1"},
        {"damaged_frame_runs_over",
         runningOver(),
         {apeTag(true)},
         true,
         true,
         false,
         "Lied",
         "Band",
         {"Weg"},
         "ID3v2.3 APEv2 ID3v1"},
    };
}

}  // namespace

class TagsAroundTheAudio : public SeamTest, public ::testing::WithParamInterface<AroundCase> {
protected:
    TempDir dir_;
};

TEST_P(TagsAroundTheAudio, StayWhereTheyAreAndTheNewTagsFrameThem)
{
    const AroundCase& c = GetParam();
    const Bytes audio = frames({}, kAudioFrames);
    const Bytes back = joined(c.back);
    Bytes file = c.front;
    append(file, audio);
    if (c.junkBehind)
        append(file, musicBytes(700, 9));
    append(file, back);
    if (c.id3v1)
        append(file, id3v1Tag({"Lied", "Band", "", "", "", -1, 255}));
    CLiedkramEntry entry(dir_.write("Band - Lied.mp3", file), platform::readRepairSettings());
    ASSERT_EQ(entry.m_nFrames, kAudioFrames);
    entry.UpdateCutFlags(platform::readRepairSettings());

    ASSERT_EQ(autoedit::RewriteFile(entry, platform::readRepairSettings()), autoedit::RewriteOutcome::Done);
    EXPECT_TRUE(prompter().messages().empty()) << prompter().messages().front();
    const Bytes after = readFile(entry.GetFullPath());
    ASSERT_EQ(after.size(), static_cast<std::size_t>(entry.m_nFileSize));

    // An ID3v2 tag in front, the audio, the tags that were behind it, a new ID3v1 tag.
    const auto tagSize = tags::id3v2TagSize(after);
    ASSERT_TRUE(tagSize);
    const std::size_t front = static_cast<std::size_t>(*tagSize);
    EXPECT_EQ(entry.m_nAudioStart, static_cast<int>(front));
    const Bytes tag(after.begin(), after.begin() + static_cast<std::ptrdiff_t>(front));
    if (c.frontKept) {
        EXPECT_EQ(tag, c.front);
    }
    const auto fields = tags::readId3v2Fields(tag);
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->title, c.title);
    EXPECT_EQ(fields->artist, c.artist);
    EXPECT_TRUE(tags::id3v2FramesFit(tag));
    const tags::TagLibMemoryTag written(tag);
    ASSERT_TRUE(written.tag());
    for (const std::string& id : c.kept)
        EXPECT_FALSE(written.tag()->frameList(id.c_str()).isEmpty()) << id;
    if (!c.picture.empty()) {
        const auto picture = tags::readId3v2Picture(tag);
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->data, c.picture);
    }
    ASSERT_EQ(after.size(), front + audio.size() + back.size() + 128);
    EXPECT_TRUE(std::equal(audio.begin(), audio.end(), after.begin() + static_cast<std::ptrdiff_t>(front)));
    EXPECT_TRUE(std::equal(back.begin(), back.end(), after.end() - 128 - static_cast<std::ptrdiff_t>(back.size())));
    EXPECT_EQ(std::string(after.end() - 128, after.end() - 124), "TAGL");
    for (const std::string& text : c.gone)
        EXPECT_FALSE(contains(after, text)) << text;

    // Loaded again, the file needs no more cutting.
    CLiedkramEntry again(entry.GetFullPath(), platform::readRepairSettings());
    again.UpdateCutFlags(platform::readRepairSettings());
    EXPECT_EQ(again.m_nFlags & (ENTRY_CUT_FRONT | ENTRY_CUT_BACK), 0u);
    EXPECT_EQ(tags::tagKindsText(again.m_nTagKinds), c.tagsAfter);
    EXPECT_EQ(again.m_nBackTagBytes, static_cast<int>(back.size()));
}

INSTANTIATE_TEST_SUITE_P(Files, TagsAroundTheAudio, ::testing::ValuesIn(aroundCases()),
                         [](const ::testing::TestParamInfo<AroundCase>& param) { return param.param.name; });

namespace {

struct LossCase {
    const char* name;
    int setId3v2;
    std::function<void(CLiedkramEntry&)> change;
    std::vector<std::string> messages;
    std::string title;  // as the ID3v2 tag holds them afterwards; empty: no ID3v2 tag
    std::string artist;
    std::string album;
};

void PrintTo(const LossCase& c, std::ostream* out)
{
    *out << c.name;
}

const std::string kCyrillicTitle = "\xD0\x9A\xD0\xB0\xD0\xBB\xD0\xB8\xD0\xBD\xD0\xBA\xD0\xB0";  // Kalinka
const std::string kCyrillicArtist = "\xD0\xA5\xD0\xBE\xD1\x80";  // Chor

std::string lostText(const char* field)
{
    return std::string(field) + "-Tag mit Zeichen au\xC3\x9F"
                                "erhalb von Windows-1252 in: x.mp3\r\nSie werden in *.mp3 und Liste zu \"?\"!";
}

std::vector<LossCase> lossCases()
{
    const std::string longAlbum(40, 'a');
    return {
        {"changed_cyrillic_title",
         1,
         [](CLiedkramEntry& e) { e.m_szTitle = "Kalinka"; },
         {lostText("Title")},
         "Kalinka",
         kCyrillicArtist,
         ""},
        {"cyrillic_untouched_is_kept",
         1,
         [](CLiedkramEntry& e) { e.m_szAlbum = "Neu"; },
         {},
         kCyrillicTitle,
         kCyrillicArtist,
         "Neu"},
        {"first_of_two_named",
         1,
         [](CLiedkramEntry& e) {
             e.m_szTitle = "Kalinka";
             e.m_szArtist = "Chor";
         },
         {lostText("Title")},
         "Kalinka",
         "Chor",
         ""},
        {"long_album_whole_in_id3v2",
         1,
         [=](CLiedkramEntry& e) { e.m_szAlbum = longAlbum; },
         {},
         kCyrillicTitle,
         kCyrillicArtist,
         longAlbum},
        {"cyrillic_cut_with_the_tag", 0, [](CLiedkramEntry&) {}, {lostText("Title")}, "", "", ""},
        {"long_album_without_id3v2",
         0,
         [=](CLiedkramEntry& e) { e.m_szAlbum = longAlbum; },
         {"Album tag too long in: x.mp3\r\nWill be shortend in *.mp3 but kept in list!", lostText("Title")},
         "",
         "",
         ""},
    };
}

}  // namespace

class TagLoss : public SeamTest, public ::testing::WithParamInterface<LossCase> {
protected:
    TempDir dir_;
};

TEST_P(TagLoss, IsToldWhereNeitherTagHoldsTheText)
{
    const LossCase& c = GetParam();
    profile().writeInt("SetID3V2", c.setId3v2);
    Bytes file =
        id3v2Frames(3, {textFrame("TIT2", kCyrillicTitle, kUtf16), textFrame("TPE1", kCyrillicArtist, kUtf16)});
    append(file, frames({}, 20));
    CLiedkramEntry entry(dir_.write("x.mp3", file), platform::readRepairSettings());
    ASSERT_EQ(entry.m_szTitle.view(), "???????");
    c.change(entry);
    entry.m_nFlags |= ENTRY_TAG_DIRTY;
    entry.UpdateCutFlags(platform::readRepairSettings());

    ASSERT_EQ(autoedit::RewriteFile(entry, platform::readRepairSettings()), autoedit::RewriteOutcome::Done);
    EXPECT_EQ(prompter().messages(), c.messages);
    const Bytes after = readFile(entry.GetFullPath());
    const auto tagSize = tags::id3v2TagSize(after);
    ASSERT_EQ(tagSize.has_value(), !c.title.empty());
    if (tagSize) {
        // The texts as they stand in the frames, not as Windows-1252 shows them.
        const tags::TagLibMemoryTag memory(
            std::span<const std::uint8_t>(after).first(static_cast<std::size_t>(*tagSize)));
        ASSERT_TRUE(memory.tag());
        EXPECT_EQ(memory.tag()->title().to8Bit(true), c.title);
        EXPECT_EQ(memory.tag()->artist().to8Bit(true), c.artist);
        EXPECT_EQ(memory.tag()->album().to8Bit(true), c.album);
    }
    // The ID3v1 tag holds 30 characters of the album, and the entry all of it.
    const std::string album = entry.m_szAlbum.str();
    EXPECT_EQ(std::string(after.end() - 65, after.end() - 35),
              album.substr(0, 30) + std::string(30 - std::min<std::size_t>(30, album.size()), '\0'));
}

INSTANTIATE_TEST_SUITE_P(Texts, TagLoss, ::testing::ValuesIn(lossCases()),
                         [](const ::testing::TestParamInfo<LossCase>& param) { return param.param.name; });
