#include "entry/liedkram_entry.h"
#include "platform/repair_settings.h"
#include "platform/text.h"
#include "support/mp3_builder.h"
#include "support/seam_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

using namespace testsupport;

namespace {

constexpr int kFrame = 417;

class EntryLoader : public SeamTest {
protected:
    CLiedkramEntry load(const std::string& name, const Bytes& bytes)
    {
        return CLiedkramEntry(dir_.write(name, bytes), platform::readRepairSettings());
    }

    static Bytes tagged(const Id3v1Fields& fields, int frameCount = 200)
    {
        Bytes bytes = frames({}, frameCount);
        append(bytes, id3v1Tag(fields));
        return bytes;
    }

    TempDir dir_;
};

}  // namespace

TEST_F(EntryLoader, FilesThatCannotBeUsedAreReportedAndSkipped)
{
    const auto missing = dir_.file("gone.mp3");
    const CLiedkramEntry gone(missing, platform::readRepairSettings());
    EXPECT_EQ(gone.m_loadOutcome, entry::LoadOutcome::Unreadable);
    EXPECT_FALSE(gone.IsListable());

    const auto noise = load("noise.mp3", musicBytes(200000));
    EXPECT_EQ(noise.m_loadOutcome, entry::LoadOutcome::NoHeader);
    EXPECT_FALSE(noise.IsListable());

    EXPECT_EQ(prompter().messages(),
              (std::vector<std::string>{"Can't open '" + missing + "' -> file skipped.",
                                        "'" + dir_.file("noise.mp3") +
                                            "' is no valid *.mp3 (no header in first 128k) -> skipped."}));
}

TEST_F(EntryLoader, FilesOfTwoGibibytesOrMoreAreSkippedWithAMessage)
{
    const auto path = dir_.write("huge.mp3", frames({}, 10));
    const int fd = ::open(path.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, 2147483648LL), 0);  // sparse: takes no disk space
    ::close(fd);
    const CLiedkramEntry entry(path, platform::readRepairSettings());
    EXPECT_EQ(entry.m_loadOutcome, entry::LoadOutcome::TooLarge);
    EXPECT_FALSE(entry.IsListable());
    ASSERT_EQ(prompter().messages().size(), 1u);
    EXPECT_NE(prompter().messages()[0].find(path), std::string::npos);
}

TEST_F(EntryLoader, AFileWithoutTagTakesArtistAndTitleFromItsName)
{
    const auto entry = load("Artist - Title.mp3", frames({}, 200));
    EXPECT_EQ(entry.m_loadOutcome, entry::LoadOutcome::Loaded);
    EXPECT_EQ(entry.m_szArtist, "Artist");
    EXPECT_EQ(entry.m_szTitle, "Title");
    EXPECT_EQ(entry.m_nGenre, -1);
    EXPECT_EQ(entry.m_nYear, 1900);
    EXPECT_EQ(entry.m_nFileSize, 200 * kFrame);
    EXPECT_EQ(entry.m_nAudioEnd, 200 * kFrame);
    EXPECT_EQ(entry.m_nFlags & ENTRY_TAG_DIRTY, ENTRY_TAG_DIRTY);
    EXPECT_EQ(entry.m_bVerified, 1);
    EXPECT_EQ(entry.m_nFrames, 200);
    EXPECT_TRUE(prompter().prompts().empty());
}

TEST_F(EntryLoader, NameValuesReplaceOnlyEmptyOrDamagedFields)
{
    auto entry = load("Band - Song.mp3", tagged({"?????", "band", "", "2001", "", -1, 3}));
    EXPECT_EQ(entry.m_szTitle, "Song");
    EXPECT_EQ(entry.m_szArtist, "band");  // equal but for case
    EXPECT_EQ(entry.m_nFlags & ENTRY_TAG_DIRTY, ENTRY_TAG_DIRTY);

    entry = load("Band - Song.mp3", tagged({"Other", "_x", "", "2001", "", -1, 3}));
    EXPECT_EQ(entry.m_szTitle, "Other");
    EXPECT_EQ(entry.m_szArtist, "Band");

    entry = load("Band - Song.mp3", tagged({"Song", "Band", "", "2001", "", -1, 3}));
    EXPECT_EQ(entry.m_nFlags & ENTRY_TAG_DIRTY, 0u);
}

TEST_F(EntryLoader, OnlyForceGetOfOneLetsTheNameWin)
{
    profile().writeInt("ForceGet", 2);
    auto entry = load("Band - Song.mp3", tagged({"Other", "Someone", "", "2001", "", -1, 3}));
    EXPECT_EQ(entry.m_szTitle, "Other");
    profile().writeInt("ForceGet", 1);
    entry = load("Band - Song.mp3", tagged({"Other", "Someone", "", "2001", "", -1, 3}));
    EXPECT_EQ(entry.m_szTitle, "Song");
    EXPECT_EQ(entry.m_szArtist, "Band");
    EXPECT_EQ(entry.m_nFlags & ENTRY_TAG_DIRTY, ENTRY_TAG_DIRTY);
}

TEST_F(EntryLoader, Utf8NamesAreParsedAsTagText)
{
    const auto entry = load("Bj\xC3\xB6rk - J\xC3\xB3ga.mp3", frames({}, 50));
    EXPECT_EQ(entry.m_szArtist, "Bj\xF6rk");
    EXPECT_EQ(entry.m_szTitle, "J\xF3ga");
    EXPECT_EQ(entry.GetColumnText(Column::Artist), "Bj\xC3\xB6rk");
    EXPECT_EQ(entry.GetColumnText(Column::File), "Bj\xC3\xB6rk - J\xC3\xB3ga.mp3");
}

TEST_F(EntryLoader, Id3v2TagsOfEveryVersionAreSkippedWhole)
{
    Bytes tag = id3v2Tag(3, 1024);
    const auto fake = headerBytes({});
    std::copy(fake.begin(), fake.end(), tag.begin() + 100);  // a header-like run inside the picture
    Bytes bytes = tag;
    append(bytes, frames({}, 100));
    auto entry = load("a - b.mp3", bytes);
    EXPECT_EQ(entry.m_bHasId3v2, 1);
    EXPECT_EQ(entry.m_nAudioStart, 1044);

    // Versions 2.2 and 2.4 are passed over as well; only 2.3 offers its picture.
    for (const std::uint8_t version : {2, 4}) {
        tag[3] = version;
        bytes = tag;
        append(bytes, frames({}, 100));
        entry = load("a - b.mp3", bytes);
        EXPECT_EQ(entry.m_bHasId3v2, 0);
        EXPECT_EQ(entry.m_nAudioStart, 1044);
    }

    // A version 2.4 footer counts; a second tag behind the first is skipped too.
    tag[3] = 4;
    tag[5] = 0x10;
    bytes = tag;
    const Bytes footer = {'3', 'D', 'I', 4, 0, 0x10, tag[6], tag[7], tag[8], tag[9]};
    append(bytes, footer);
    append(bytes, id3v2Tag(3, 50, 0xFF));
    append(bytes, frames({}, 100));
    entry = load("a - b.mp3", bytes);
    EXPECT_EQ(entry.m_nAudioStart, 1044 + 10 + 70);
    EXPECT_TRUE(prompter().prompts().empty());
}

TEST_F(EntryLoader, AudioBehindAPictureOfMoreThan128KibIsFound)
{
    // Real pictures hold header-like runs; the audio lies beyond the first 128 KiB.
    Bytes bytes = id3v2Tag(4, 150000);
    const auto fake = headerBytes({});
    for (std::size_t at = 40; at < 150000; at += 997)
        std::copy(fake.begin(), fake.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
    append(bytes, frames({}, 100));
    const auto entry = load("a - b.mp3", bytes);
    EXPECT_EQ(entry.m_nAudioStart, 150020);
    EXPECT_EQ(entry.m_nAudioEnd, 150020 + 100 * kFrame);
    EXPECT_EQ(entry.m_bVerified, 1);
    EXPECT_EQ(entry.m_nFrames, 100);
    EXPECT_TRUE(prompter().prompts().empty());
}

TEST_F(EntryLoader, ATagSizeBeyondTheFileEndFallsBackToTheFirstFrame)
{
    profile().writeInt("ChkAll", 0);
    Bytes bytes = id3v2Tag(3, 1024);
    bytes[6] = 0x7F;  // declares far more than the file holds
    append(bytes, frames({}, 100));
    auto entry = load("a - b.mp3", bytes);
    EXPECT_EQ(entry.m_nAudioStart, 1044);

    // Version 2.4 then has no rule of its own: the search starts at 0, and
    // passes over a header inside the tag that no frame follows.
    bytes[3] = 4;
    const auto fake = headerBytes({});
    std::copy(fake.begin(), fake.end(), bytes.begin() + 100);
    entry = load("a - b.mp3", bytes);
    EXPECT_EQ(entry.m_nAudioStart, 1044);
}

TEST_F(EntryLoader, WithoutTheBlockScanTheFirstHeaderIsTheMeasure)
{
    profile().writeInt("ChkAll", 0);
    Bytes bytes = frames({}, 2398);
    bytes.resize(1000000, 0x11);
    const auto entry = load("a - b.mp3", bytes);
    EXPECT_EQ(entry.m_nLengthMs, 62496);
    EXPECT_EQ(entry.m_nFrames, 2398);
    EXPECT_EQ(entry.m_nBitrate, 128000);
    EXPECT_EQ(entry.m_bVerified, 0);
}

TEST_F(EntryLoader, SilenceOnlyKeepsItsAudioAndIsMeasuredFromTheHeader)
{
    const auto entry = load("a - b.mp3", frames({}, 200, Payload::Silence));
    EXPECT_EQ(entry.m_nAudioStart, 0);
    EXPECT_EQ(entry.m_nAudioEnd, 200 * kFrame);
    EXPECT_EQ(entry.m_nBitrate, 128000);
    EXPECT_EQ(entry.m_nFrames, 200);
    EXPECT_EQ(entry.m_bVerified, 0);
    EXPECT_EQ(entry.m_nFlags & (ENTRY_CUT_FRONT | ENTRY_CUT_BACK | ENTRY_SCAN_ERROR), 0u);
    EXPECT_TRUE(prompter().prompts().empty());
}

TEST_F(EntryLoader, DamageInTheMiddleIsReportedOnceAndMarked)
{
    Bytes bytes = frames({}, 1000);
    std::fill_n(bytes.begin() + 400 * kFrame, 4, 0x00);
    const auto entry = load("a - b.mp3", bytes);
    EXPECT_NE(entry.m_dwHeader, 0u);
    EXPECT_EQ(entry.m_nFlags & ENTRY_SCAN_ERROR, ENTRY_SCAN_ERROR);
    EXPECT_EQ(entry.m_bVerified, 0);
    // The walk goes on behind the damage: the length is the whole file's.
    EXPECT_EQ(entry.m_nFrames, 999);
    ASSERT_EQ(prompter().messages().size(), 1u);
    EXPECT_EQ(prompter().messages()[0].rfind("'a - b.mp3':\tauch nach +2 Mist:\r\n", 0), 0u);
}

TEST_F(EntryLoader, CutFlagsFollowTheSettings)
{
    // Only an old tag behind the audio: cut it only when a new one is due.
    auto entry = load("Band - Song.mp3", tagged({"Song", "Band", "", "2001", "", -1, 3}));
    EXPECT_EQ(entry.m_nFlags, 0u);
    entry = load("Band - Song.mp3", tagged({"Song", "Band", "", "99", "", -1, 3}));
    EXPECT_EQ(entry.m_nFlags, ENTRY_TAG_DIRTY | ENTRY_CUT_BACK);

    // Garbage behind the last frame is always cut.
    Bytes bytes = frames({}, 200);
    bytes.push_back(0x11);
    append(bytes, id3v1Tag({"Song", "Band", "", "2001", "", -1, 3}));
    entry = load("Band - Song.mp3", bytes);
    EXPECT_EQ(entry.m_nFileSize - entry.m_nAudioEnd, 129);
    EXPECT_EQ(entry.m_nFlags, ENTRY_CUT_BACK);

    Bytes junk = musicBytes(500);
    append(junk, frames({}, 200));
    entry = load("Band - Song.mp3", junk);
    EXPECT_EQ(entry.m_nFlags, ENTRY_TAG_DIRTY | ENTRY_CUT_FRONT);
    profile().writeInt("DelFront", 0);
    profile().writeInt("DelBack", 0);
    entry = load("Band - Song.mp3", bytes);
    EXPECT_EQ(entry.m_nFlags, 0u);
    entry = load("Band - Song.mp3", junk);
    EXPECT_EQ(entry.m_nFlags, ENTRY_TAG_DIRTY);
}

TEST_F(EntryLoader, UpdateCutFlagsCutsMoreThanATagAlwaysAndNeverClearsABit)
{
    CLiedkramEntry tagAndOneByte;
    tagAndOneByte.m_nFileSize = 1000;
    tagAndOneByte.m_nAudioEnd = 1000 - 129;
    tagAndOneByte.UpdateCutFlags(platform::readRepairSettings());
    EXPECT_EQ(tagAndOneByte.m_nFlags, ENTRY_CUT_BACK);

    CLiedkramEntry entry;
    entry.m_nFlags = ENTRY_CUT_FRONT | ENTRY_CUT_BACK;
    entry.m_nFileSize = 1000;
    entry.m_nAudioEnd = 1000;
    entry.UpdateCutFlags(platform::readRepairSettings());
    EXPECT_EQ(entry.m_nFlags, ENTRY_CUT_FRONT | ENTRY_CUT_BACK);
}

TEST_F(EntryLoader, StreamsOfOtherKindsAreListedWithTheirFormatAndNeverRepaired)
{
    struct Case {
        HeaderSpec kind;
        const char* described;
        const char* format;
        int sampleRate;
    };
    HeaderSpec mpeg25;
    mpeg25.version = mpeg::kVersion25;
    mpeg25.bitrateIndex = 4;  // 32 kbit/s at 11025 Hz: 209 bytes
    HeaderSpec mpeg2Crc;
    mpeg2Crc.version = mpeg::kVersion2;
    mpeg2Crc.crc = true;
    mpeg2Crc.bitrateIndex = 8;
    HeaderSpec layer2Crc;
    layer2Crc.layer = mpeg::kLayer2;
    layer2Crc.crc = true;
    HeaderSpec mpeg2Layer1;
    mpeg2Layer1.version = mpeg::kVersion2;
    mpeg2Layer1.layer = mpeg::kLayer1;
    const Case cases[] = {
        {mpeg25, "MPEG-2.5 layer-3", "mpeg-2.5 layer-3", 11025},
        {mpeg2Crc, "MPEG-2 layer-3 with CRC", "mpeg-2.0 layer-3", 22050},
        {layer2Crc, "MPEG-1 layer-2 with CRC", "mpeg-1.0 layer-2", 44100},
        {mpeg2Layer1, "MPEG-2 layer-1", "mpeg-2.0 layer-1", 22050},
    };
    for (const auto& c : cases) {
        prompter().clear();
        // Frames of that kind, one of them carrying a run the header test accepts.
        Bytes bytes = frames(c.kind, 300);
        const auto fake = headerBytes({});
        std::copy(fake.begin(), fake.end(), bytes.begin() + 2000);
        const int audioBytes = static_cast<int>(bytes.size());
        append(bytes, id3v1Tag({"Song", "Band", "", "2001", "", -1, 3}));
        const auto entry = load("Band - Song.mp3", bytes);
        EXPECT_EQ(entry.m_nAudioStart, 0) << c.described;
        EXPECT_EQ(entry.m_nAudioEnd, audioBytes) << c.described;
        EXPECT_EQ(entry.GetFormatText(), c.format);
        EXPECT_EQ(entry.GetSampleRate(), c.sampleRate);
        EXPECT_EQ(entry.m_nFrames, 300);
        EXPECT_EQ(entry.m_nBitrate, mpeg::bitrateKbps(headerWord(c.kind)) * 1000);
        EXPECT_EQ(entry.m_nLengthMs, static_cast<int>(300 * mpeg::frameDurationMs(headerWord(c.kind))));
        EXPECT_EQ(entry.m_nFlags & ENTRY_SCAN_ERROR, ENTRY_SCAN_ERROR);
        EXPECT_EQ(entry.m_bVerified, 0);
        EXPECT_EQ(entry.m_loadOutcome, entry::LoadOutcome::ForeignStream);
        EXPECT_EQ(prompter().messages(),
                  std::vector<std::string>{"'" + dir_.file("Band - Song.mp3") + "': " + c.described +
                                           " is not supported -> file listed, not repaired."});
    }
}

TEST_F(EntryLoader, FreeFormatFramesAreFollowedFromHeaderToHeader)
{
    HeaderSpec free;
    free.bitrateIndex = 0;
    Bytes bytes;
    for (int i = 0; i < 50; ++i) {
        const auto header = headerBytes(free);
        bytes.insert(bytes.end(), header.begin(), header.end());
        append(bytes, musicBytes(650 - 4, static_cast<std::uint32_t>(i + 1)));
    }
    const auto entry = load("a - b.mp3", bytes);
    EXPECT_EQ(entry.GetFormatText(), "mpeg-1.0 layer-3");
    EXPECT_EQ(entry.m_nFlags & ENTRY_SCAN_ERROR, ENTRY_SCAN_ERROR);
    // The last frame has no header behind it to measure it by.
    EXPECT_EQ(entry.m_nFrames, 49);
    EXPECT_EQ(entry.m_nBitrate, 199063);  // 650 bytes in 26.122 ms
    ASSERT_EQ(prompter().messages().size(), 1u);
    EXPECT_NE(prompter().messages()[0].find("MPEG-1 layer-3 in free format is not supported"), std::string::npos);
}

TEST_F(EntryLoader, AChainOfAnotherKindInTheJunkOfASupportedFileChangesNothing)
{
    HeaderSpec mpeg25;
    mpeg25.version = mpeg::kVersion25;
    mpeg25.bitrateIndex = 4;
    Bytes bytes = frames(mpeg25, 5);
    const int junk = static_cast<int>(bytes.size());
    append(bytes, frames({}, 200));
    const auto entry = load("a - b.mp3", bytes);
    EXPECT_EQ(entry.GetFormatText(), "mpeg-1.0 layer-3");
    EXPECT_EQ(entry.m_nAudioStart, junk);
    EXPECT_EQ(entry.m_nFlags & ENTRY_SCAN_ERROR, 0u);
    EXPECT_TRUE(prompter().prompts().empty());
}

TEST_F(EntryLoader, TheAudioRangeIsNeverImpossible)
{
    // Music, then damage that runs past the first 64 KiB: the music has
    // started, so the start stays and the frames behind the damage count.
    Bytes bytes = frames({}, 3);
    append(bytes, musicBytes(70000));
    append(bytes, frames({}, 300));
    auto entry = load("a - b.mp3", bytes);
    EXPECT_EQ(entry.m_nAudioStart, 0);
    EXPECT_EQ(entry.m_nAudioEnd, static_cast<int>(bytes.size()));
    EXPECT_EQ(entry.m_nFrames, 303);

    // A header-like run inside the tag, with no audio before it.
    Bytes tagOnly = musicBytes(200);
    Bytes tag = id3v1Tag({"Song", "Band", "", "2001", "", -1, 3});
    const auto fake = headerBytes({});
    std::copy(fake.begin(), fake.end(), tag.begin() + 10);
    append(tagOnly, tag);
    entry = load("a - b.mp3", tagOnly);
    EXPECT_EQ(entry.m_nAudioStart, 210);
    EXPECT_EQ(entry.m_nAudioEnd, 210);
    EXPECT_EQ(entry.m_nFrames, 0);
}
