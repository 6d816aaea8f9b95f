#include "entry/liedkram_entry.h"
#include "platform/repair_settings.h"
#include "support/mp3_builder.h"
#include "support/seam_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace {

void putU32(Bytes& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

void addRecord(Bytes& area, const std::string& text)
{
    const auto length = static_cast<std::uint16_t>(text.size());
    area.push_back(static_cast<std::uint8_t>(length));
    area.push_back(static_cast<std::uint8_t>(length >> 8));
    area.insert(area.end(), text.begin(), text.end());
}

struct Trailer {
    std::string title = "Song";
    std::string album = "Album";
    std::string artist = "Band";
    std::string discId = "7a0b1c2d";
    std::string skipped = "skip";  // the six records between artist and disc id, numbered
    bool secondTag = false;
};

// Frames, perhaps a second tag, the trailer (records, then its 68-byte end) and the tag.
Bytes fileWithTrailer(const Trailer& trailer, const Id3v1Fields& tag, std::int64_t startShift = 0)
{
    Bytes bytes = frames({}, 100);
    if (trailer.secondTag)
        append(bytes, id3v1Tag({"old", "", "", "", "", -1, 0}));
    const std::size_t trailerStart = bytes.size();

    Bytes area;
    addRecord(area, trailer.title);
    addRecord(area, trailer.album);
    addRecord(area, trailer.artist);
    for (int i = 0; i < 6; ++i)
        addRecord(area, trailer.skipped + std::to_string(i));
    area.insert(area.end(), 12, 0x20);
    addRecord(area, "one more");
    addRecord(area, trailer.discId);
    area.resize(400, 0);
    append(bytes, area);

    Bytes end(68, 0);
    putU32(end, 0, static_cast<std::uint32_t>(static_cast<std::int64_t>(trailerStart) + 1 + startShift));
    putU32(end, 16, static_cast<std::uint32_t>(trailerStart + 1));
    end[20] = 'B';
    end[21] = 'r';
    end[22] = 'a';
    end[23] = 'v';
    append(bytes, end);
    append(bytes, id3v1Tag(tag));
    return bytes;
}

class BravaTrailer : public SeamTest {
protected:
    CLiedkramEntry load(const Bytes& bytes)
    {
        profile().writeInt("ChkAll", 0);
        return CLiedkramEntry(dir_.write("Band - Song.mp3", bytes), platform::readRepairSettings());
    }

    TempDir dir_;
};

}  // namespace

TEST_F(BravaTrailer, BecomesBackJunkAndAddsItsTexts)
{
    Trailer trailer;
    trailer.title = "SONG";  // equal but for case: ignored
    trailer.artist = "The Band";  // differs: appended
    const auto bytes = fileWithTrailer(trailer, {"Song", "Band", "", "2001", "live", -1, 17});
    const auto entry = load(bytes);
    EXPECT_EQ(entry.m_nAudioEnd, 100 * 417);
    EXPECT_EQ(entry.m_szTitle, "Song");
    EXPECT_EQ(entry.m_szAlbum, "Album");
    EXPECT_EQ(entry.m_szArtist, "Band, The Band");
    EXPECT_EQ(entry.m_szComment, "live, #7a0b1c2d");
    EXPECT_TRUE(prompter().prompts().empty());
}

TEST_F(BravaTrailer, ATitleGoesIntoAnEmptyTitleElseIntoTheComment)
{
    Trailer trailer;
    trailer.title = "Other Song";
    trailer.discId = "";
    auto entry = load(fileWithTrailer(trailer, {"", "", "", "2001", "", -1, 17}));
    // The tag title was empty; the name's title then finds it filled.
    EXPECT_EQ(entry.m_szTitle, "Other Song");
    EXPECT_EQ(entry.m_szComment, "");

    entry = load(fileWithTrailer(trailer, {"Song", "", "", "2001", "", -1, 17}));
    EXPECT_EQ(entry.m_szTitle, "Song");
    EXPECT_EQ(entry.m_szComment, "Other Song");
}

TEST_F(BravaTrailer, ASecondTagInFrontOfItIsJunkToo)
{
    Trailer trailer;
    trailer.secondTag = true;
    const auto entry = load(fileWithTrailer(trailer, {"Song", "Band", "", "2001", "", -1, 17}));
    EXPECT_EQ(entry.m_nAudioEnd, 100 * 417);
}

TEST_F(BravaTrailer, TooLongRecordsAreReportedAndEndTheReading)
{
    Trailer trailer;
    trailer.title = std::string(81, 't');
    trailer.album = "New Album";
    auto entry = load(fileWithTrailer(trailer, {"Tag Title", "Band", "", "2001", "", -1, 17}));
    EXPECT_EQ(prompter().messages(), std::vector<std::string>{"Brava-Title is buggy: Tag Title"});
    EXPECT_EQ(entry.m_szAlbum, "");
    EXPECT_EQ(entry.m_nAudioEnd, 100 * 417);

    prompter().clear();
    trailer.title = std::string(80, 't');
    trailer.discId = std::string(21, 'd');
    entry = load(fileWithTrailer(trailer, {"Tag Title", "Band", "", "2001", "", -1, 17}));
    EXPECT_EQ(prompter().messages(), std::vector<std::string>{"Brava-CDDB is buggy: Tag Title"});
    EXPECT_EQ(entry.m_szAlbum, "New Album");
    EXPECT_EQ(entry.m_szComment, std::string(80, 't'));

    // A buggy album or artist record keeps a good title record from the comment too.
    for (const bool albumIsBuggy : {true, false}) {
        prompter().clear();
        trailer = Trailer();
        trailer.title = "Other Song";
        (albumIsBuggy ? trailer.album : trailer.artist) = std::string(81, 'x');
        entry = load(fileWithTrailer(trailer, {"Tag Title", "Band", "", "2001", "", -1, 17}));
        EXPECT_EQ(prompter().messages(), std::vector<std::string>{albumIsBuggy ? "Brava-Album is buggy: Tag Title"
                                                                               : "Brava-Artist is buggy: Tag Title"});
        EXPECT_EQ(entry.m_szComment, "");
        EXPECT_EQ(entry.m_szAlbum, "");
        EXPECT_EQ(entry.m_szArtist, "Band");
    }
}

TEST_F(BravaTrailer, PositionsOutsideTheFileMeanNoTrailer)
{
    const auto bytes = fileWithTrailer({}, {"Song", "Band", "", "2001", "", -1, 17}, 1000000);
    const auto entry = load(bytes);
    EXPECT_EQ(entry.m_nAudioEnd, static_cast<int>(bytes.size()) - 128);
    EXPECT_EQ(entry.m_szAlbum, "");
    EXPECT_TRUE(prompter().prompts().empty());
}

TEST_F(BravaTrailer, RecordsAreReadOnlyWithinTheBytesTheFileHas)
{
    auto bytes = fileWithTrailer({}, {"Song", "Band", "", "2001", "", -1, 17});
    // The records are said to start three bytes before the end of the file.
    putU32(bytes, bytes.size() - 128 - 68 + 16, static_cast<std::uint32_t>(bytes.size() - 3 + 1));
    const auto entry = load(bytes);
    EXPECT_EQ(entry.m_nAudioEnd, 100 * 417);
    EXPECT_EQ(entry.m_szAlbum, "");
    EXPECT_EQ(entry.m_szArtist, "Band");
    EXPECT_TRUE(prompter().prompts().empty());

    // Records running past the 384 bytes read keep the texts merged before them.
    Trailer longSkips;
    longSkips.artist = "The Band";
    longSkips.skipped = std::string(60, 's');
    const auto cut = load(fileWithTrailer(longSkips, {"Song", "Band", "", "2001", "live", -1, 17}));
    EXPECT_EQ(cut.m_nAudioEnd, 100 * 417);
    EXPECT_EQ(cut.m_szAlbum, "Album");
    EXPECT_EQ(cut.m_szArtist, "Band, The Band");
    EXPECT_EQ(cut.m_szComment, "live") << "no disc identifier behind the cut";
    EXPECT_TRUE(prompter().prompts().empty());
}

TEST_F(BravaTrailer, ANegativeLengthIsAnEmptyRecord)
{
    auto bytes = fileWithTrailer({}, {"Song", "Band", "", "2001", "", -1, 17});
    // Title record "Song" with length -1: empty, and the album record
    // follows one byte on, where 0xFF 'S' reads as a length far too long.
    const std::size_t title = 100 * 417;
    bytes[title] = 0xFF;
    bytes[title + 1] = 0xFF;
    const auto entry = load(bytes);
    EXPECT_EQ(entry.m_szTitle, "Song");
    EXPECT_EQ(prompter().messages(), std::vector<std::string>{"Brava-Album is buggy: Song"});

    // One that points in front of the records leaves none behind it.
    prompter().clear();
    bytes = fileWithTrailer({}, {"Song", "Band", "", "2001", "", -1, 17});
    bytes[title + 6] = 0x00;
    bytes[title + 7] = 0x80;
    const auto before = load(bytes);
    EXPECT_EQ(before.m_szAlbum, "");
    EXPECT_EQ(before.m_szArtist, "Band");
    EXPECT_EQ(before.m_szComment, "");
    EXPECT_TRUE(prompter().prompts().empty());
}
