#include "document/liedkram_doc.h"
#include "document/track_compare.h"
#include "entry/liedkram_entry.h"
#include "support/seam_fixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

// Texts that fold alike in many ways: case, umlauts against their spelling
// (Windows-1252), a leading "The", separator runs, dropped punctuation.
const std::vector<std::string> kTitles = {
    "Song",     "SONG",     "song!",    "S\xF6ng", "Soeng",    "The Song", "the song", "Die Song", "Song  One",
    "Song,One", "Song One", "Song_One", "",        "\xC4rger", "AERGER",   "aerger",   "Zwei",     "zwei?",
};
const std::vector<std::string> kArtists = {
    "Band", "BAND", "The Band", "Die B\xE4nd", "Baend", "", "B-and", "Other", "other",
};
const std::vector<std::string> kNames = {
    "a.mp3", "A.MP3", "b.mp3", "B.mp3", "\xE4.mp3", "\xC4.mp3", "c.mp3", "song.mp3", "SONG.MP3",
};
const std::vector<std::string> kFolders = {"/m/", "/m/x/", "/M/"};

class TrackIndexAgainstLinearSearch : public testsupport::SeamTest {
protected:
    std::string pick(const std::vector<std::string>& from) { return from[random_() % from.size()]; }

    std::unique_ptr<CLiedkramEntry> randomEntry()
    {
        auto entry = std::make_unique<CLiedkramEntry>();
        entry->m_szTitle = pick(kTitles);
        entry->m_szArtist = pick(kArtists);
        entry->m_szFileName = pick(kNames);
        entry->m_szPath = pick(kFolders);
        return entry;
    }

    std::vector<std::size_t> linearSearch(const CLiedkramEntry& probe) const
    {
        std::vector<std::size_t> rows;
        for (std::size_t row = 0; row < std::as_const(doc_).GetCount(); ++row) {
            if (document::IsSameTrack(std::as_const(doc_).GetEntry(row), probe))
                rows.push_back(row);
        }
        return rows;
    }

    void expectSameAnswers(int probes)
    {
        for (int i = 0; i < probes; ++i) {
            const auto probe = randomEntry();
            ASSERT_EQ(doc_.FindSameTracks(*probe), linearSearch(*probe))
                << "title '" << probe->m_szTitle.str() << "' artist '" << probe->m_szArtist.str() << "' name '"
                << probe->m_szFileName.str() << "', " << doc_.GetCount() << " rows";
        }
    }

    std::mt19937 random_{20261207};
    CLiedkramDoc doc_;
};

TEST_F(TrackIndexAgainstLinearSearch, GivesTheSameRowsThroughEveryChangeOfTheList)
{
    document::DuplicatePolicy answer(platform::DuplicateChoice::AddAll);
    for (int round = 0; round < 300; ++round) {
        switch (random_() % 7) {
        case 0:
        case 1:
            doc_.AddEntry(randomEntry(), false, answer);
            break;
        case 2:
            // Through the duplicate question, answered "add all".
            doc_.AddEntry(randomEntry(), true, answer);
            break;
        case 3:
            if (doc_.GetCount() > 0)
                doc_.RemoveRow(random_() % doc_.GetCount());
            break;
        case 4:
            if (doc_.GetCount() > 0) {
                // Many rows at once, so the list is compacted in one pass.
                std::vector<std::size_t> rows;
                for (std::size_t row = 0; row < doc_.GetCount(); row += 1 + random_() % 3)
                    rows.push_back(row);
                doc_.RemoveRows(rows);
            }
            break;
        case 5:
            if (doc_.GetCount() > 0) {
                // An edit: the entry is changed through the handle the list gives out.
                CLiedkramEntry& edited = doc_.GetEntry(random_() % doc_.GetCount());
                edited.m_szTitle = pick(kTitles);
                edited.m_szFileName = pick(kNames);
            }
            break;
        case 6:
            doc_.SortByColumn(random_() % 2 ? Column::Artist : Column::File);
            break;
        }
        expectSameAnswers(5);
        if (HasFatalFailure())
            return;
    }
}

TEST_F(TrackIndexAgainstLinearSearch, ReplacingAndSubtractingRemoveExactlyTheLinearMatches)
{
    document::DuplicatePolicy answer(platform::DuplicateChoice::AddAll);
    for (int i = 0; i < 60; ++i)
        doc_.AddEntry(randomEntry(), false, answer);
    for (int i = 0; i < 40; ++i) {
        auto probe = randomEntry();
        std::vector<const CLiedkramEntry*> expectedLeft;
        const auto matches = linearSearch(*probe);
        for (std::size_t row = 0, match = 0; row < doc_.GetCount(); ++row) {
            if (match < matches.size() && matches[match] == row)
                ++match;
            else
                expectedLeft.push_back(&std::as_const(doc_).GetEntry(row));
        }
        const CLiedkramEntry* incoming = probe.get();
        if (i % 2 == 0) {
            document::DuplicatePolicy replaceAll(platform::DuplicateChoice::ReplaceAll);
            doc_.AddEntry(std::move(probe), true, replaceAll);
            expectedLeft.push_back(incoming);
        } else {
            bool removed = false;
            doc_.SubtractEntry(std::move(probe), removed);
            EXPECT_EQ(removed, !matches.empty());
        }
        ASSERT_EQ(doc_.GetCount(), expectedLeft.size());
        for (std::size_t row = 0; row < doc_.GetCount(); ++row)
            ASSERT_EQ(&std::as_const(doc_).GetEntry(row), expectedLeft[row]) << "row " << row;
    }
}

}  // namespace
