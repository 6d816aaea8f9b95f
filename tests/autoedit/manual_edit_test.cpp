#include "autoedit/manual_edit.h"
#include "entry/liedkram_entry.h"
#include "platform/repair_settings.h"
#include "support/mp3_builder.h"
#include "support/seam_fixture.h"
#include "support/temp_dir.h"
#include "tags/id3v1.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <span>

// Saving a manual edit without the dialog: what reaches the file, and what
// keeps file and entry as they were.

using namespace testsupport;
using autoedit::ManualEditOutcome;

namespace {

enum class AfterListing { Untouched, Grown, Removed };

struct ManualCase {
    const char* name;
    std::uint32_t userChanges;  // the bits the dialog tracked
    AfterListing after;
    ManualEditOutcome outcome;
    entry::FilePresence presence;
};

void PrintTo(const ManualCase& c, std::ostream* out)
{
    *out << c.name;
}

const ManualCase kCases[] = {
    {"changed_tag_and_name_are_saved", ENTRY_TAG_DIRTY | ENTRY_RENAME, AfterListing::Untouched,
     ManualEditOutcome::Saved, entry::FilePresence::Present},
    {"nothing_changed_saves_nothing", 0, AfterListing::Untouched, ManualEditOutcome::NothingToSave,
     entry::FilePresence::Present},
    {"a_file_changed_since_listing_is_left", ENTRY_TAG_DIRTY | ENTRY_RENAME, AfterListing::Grown,
     ManualEditOutcome::NotPresent, entry::FilePresence::Changed},
    {"a_file_gone_since_listing_is_told", ENTRY_TAG_DIRTY | ENTRY_RENAME, AfterListing::Removed,
     ManualEditOutcome::NotPresent, entry::FilePresence::Missing},
};

}  // namespace

class ManualEditTest : public SeamTest, public ::testing::WithParamInterface<ManualCase> {
protected:
    TempDir dir_;
};

TEST_P(ManualEditTest, AppliesTheEditOrLeavesFileAndEntry)
{
    const ManualCase& c = GetParam();
    // Copyrighted and not original, with an old tag behind the audio: only
    // the cut the settings add lets the new tag replace it.
    HeaderSpec kind;
    kind.copyright = true;
    kind.original = false;
    Bytes bytes = frames(kind, 60);
    append(bytes, id3v1Tag({"Alt", "Band", "", "2001", "", -1, 3}));
    const platform::RepairSettings settings = platform::readRepairSettings();
    CLiedkramEntry entry(dir_.write("a.mp3", bytes), settings);
    ASSERT_EQ(entry.m_nFlags, 0u);
    if (c.after == AfterListing::Grown) {
        append(bytes, Bytes(10, 0x55));
        dir_.write("a.mp3", bytes);
    } else if (c.after == AfterListing::Removed) {
        std::filesystem::remove(dir_.file("a.mp3"));
    }
    const CLiedkramEntry before = entry;

    autoedit::ManualEdit edit;
    edit.title = "Fr\xFChling";
    edit.artist = "Band";
    edit.comment = "neu";
    edit.year = 1999;
    edit.genre = 17;
    edit.track = 7;
    edit.newName = "b.mp3";
    edit.original = true;
    edit.copyright = false;
    edit.changeFlags = entry.m_nFlags | c.userChanges;
    const autoedit::ManualEditResult result = autoedit::ApplyManualEdit(entry, edit, settings);
    EXPECT_EQ(result.outcome, c.outcome);
    EXPECT_EQ(result.presence, c.presence);
    // The core tells nothing: the front words the outcome.
    EXPECT_TRUE(prompter().prompts().empty());

    if (c.outcome != ManualEditOutcome::Saved) {
        EXPECT_EQ(entry, before);
        EXPECT_FALSE(std::filesystem::exists(dir_.file("b.mp3")));
        if (c.after == AfterListing::Removed) {
            EXPECT_FALSE(std::filesystem::exists(dir_.file("a.mp3")));
        } else {
            EXPECT_EQ(readFile(dir_.file("a.mp3")), bytes);
        }
        return;
    }
    EXPECT_FALSE(std::filesystem::exists(dir_.file("a.mp3")));
    const Bytes saved = readFile(dir_.file("b.mp3"));
    EXPECT_EQ(entry.m_szFileName, "b.mp3");
    EXPECT_EQ(entry.m_nFlags, 0u);
    ASSERT_GE(saved.size(), tags::kId3v1Size);
    const auto tag = tags::parseId3v1(std::span(saved).last(tags::kId3v1Size));
    ASSERT_TRUE(tag);
    EXPECT_EQ(tag->title, "Fr\xFChling");
    EXPECT_EQ(tag->artist, "Band");
    EXPECT_EQ(tag->comment, "neu");
    EXPECT_EQ(tag->year, 1999);
    EXPECT_EQ(tag->genre, 17);
    EXPECT_EQ(tag->track, 7);
    EXPECT_EQ(saved.size(), static_cast<std::size_t>(entry.m_nAudioEnd) + tags::kId3v1Size) << "one tag, no old one";
    // The first frame header now says original and not copyrighted.
    const auto headerByte = saved.at(static_cast<std::size_t>(entry.m_nAudioStart) + 3);
    EXPECT_EQ(headerByte & 0x0C, 0x04);
}

INSTANTIATE_TEST_SUITE_P(Edits, ManualEditTest, ::testing::ValuesIn(kCases),
                         [](const auto& param) { return std::string(param.param.name); });
