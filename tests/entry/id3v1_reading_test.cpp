#include "entry/id3v1_reading.h"
#include "entry/liedkram_entry.h"
#include "support/mp3_builder.h"

#include <gtest/gtest.h>

using testsupport::Bytes;

namespace {

// The last bytes of a file of the given size whose end is the given tail.
Bytes tailOf(const Bytes& end)
{
    const std::size_t keep = std::min(end.size(), entry::kTagProbeSize);
    return Bytes(end.end() - static_cast<std::ptrdiff_t>(keep), end.end());
}

}  // namespace

TEST(Id3v1Reading, FillsTheEntryAndEndsTheAudioBeforeTheTag)
{
    Bytes file = testsupport::musicBytes(1000);
    testsupport::append(file,
                        testsupport::id3v1Tag({"Let It Be", "The Beatles", "Let It Be", "1970", "remaster", 6, 17}));
    CLiedkramEntry entry;
    entry.m_nAudioEnd = static_cast<int>(file.size());
    EXPECT_TRUE(entry::readId3v1Into(entry, tailOf(file), static_cast<std::int64_t>(file.size())));
    EXPECT_EQ(entry.m_szTitle, "Let It Be");
    EXPECT_EQ(entry.m_szArtist, "The Beatles");
    EXPECT_EQ(entry.m_szAlbum, "Let It Be");
    EXPECT_EQ(entry.m_szComment, "remaster");
    EXPECT_EQ(entry.m_nYear, 1970);
    EXPECT_EQ(entry.m_nGenre, 17);
    EXPECT_EQ(entry.m_nTrack, 6);
    EXPECT_EQ(entry.m_nAudioEnd, 1000);
    EXPECT_EQ(entry.m_nFlags, 0u);
}

TEST(Id3v1Reading, TwoDigitYearMarksTheTagForRewriting)
{
    Bytes file = testsupport::musicBytes(300);
    testsupport::append(file, testsupport::id3v1Tag({"", "", "", "99", "", -1, 0}));
    CLiedkramEntry entry;
    entry::readId3v1Into(entry, tailOf(file), static_cast<std::int64_t>(file.size()));
    EXPECT_EQ(entry.m_nYear, 1999);
    EXPECT_EQ(entry.m_nFlags, ENTRY_TAG_DIRTY);
}

TEST(Id3v1Reading, WithoutATagTheTextsAreEmptiedAndATagIsDue)
{
    const Bytes file = testsupport::musicBytes(5000);
    CLiedkramEntry entry;
    entry.m_szTitle = "left over";
    entry.m_nGenre = 3;
    entry.m_nYear = 2000;
    EXPECT_FALSE(entry::readId3v1Into(entry, tailOf(file), 5000));
    EXPECT_EQ(entry.m_szTitle, "");
    EXPECT_EQ(entry.m_nGenre, -1);
    EXPECT_EQ(entry.m_nYear, 1900);
    EXPECT_EQ(entry.m_nTrack, 0);
    EXPECT_EQ(entry.m_nAudioEnd, 5000);
    EXPECT_EQ(entry.m_nFlags, ENTRY_TAG_DIRTY);
}

TEST(Id3v1Reading, FilesShorterThanATagHaveNone)
{
    Bytes tiny = testsupport::id3v1Tag({"x", "", "", "", "", -1, 0});
    tiny.pop_back();
    CLiedkramEntry entry;
    EXPECT_FALSE(entry::readId3v1Into(entry, tiny, static_cast<std::int64_t>(tiny.size())));
    EXPECT_EQ(entry.m_nAudioEnd, 127);

    // Exactly a tag and nothing else: the audio range is empty.
    const Bytes only = testsupport::id3v1Tag({"x", "", "", "", "", -1, 0});
    EXPECT_TRUE(entry::readId3v1Into(entry, only, 128));
    EXPECT_EQ(entry.m_nAudioEnd, 0);
    EXPECT_EQ(entry.m_szTitle, "x");
}
