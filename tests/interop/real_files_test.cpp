#include "autoedit/auto_edit.h"
#include "autoedit/manual_edit.h"
#include "entry/liedkram_entry.h"
#include "history/change_lock.h"
#include "history/change_set.h"
#include "history/undo.h"
#include "interop/external_tools.h"
#include "interop/stream_tools.h"
#include "interop/test_sound.h"
#include "platform/repair_settings.h"
#include "support/seam_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

// Files as people have them: encoded by lame or twolame, tagged in front by
// the taggers' ways (mutagen, eyeD3, the id3v2 program; pictures of 150 KB
// behind the text frames, padding, a footer, unsynchronisation, version
// 2.2), some with junk and tags behind the audio. Each is loaded and
// repaired with the default settings, an independent frame walk checks what
// the repair did, and the undo gives the file back.

namespace {

using testsupport::Bytes;
using testsupport::readFile;

constexpr int kSeconds = 6;

struct Encoder {
    const char* name;
    std::vector<std::string> command;
    const char* unsupported;  // the message's name of the stream, or null when it is repaired
};

struct RealFile {
    Encoder encoder;
    const char* tag;
};

void PrintTo(const RealFile& file, std::ostream* out)
{
    *out << file.encoder.name << "_" << file.tag;
}

const Encoder kLameCbr = {"lame_cbr", {"lame", "-b", "128"}, nullptr};

std::vector<RealFile> realFiles()
{
    const std::vector<Encoder> encoders = {
        kLameCbr,
        {"lame_vbr", {"lame", "-V", "2"}, nullptr},
        {"lame_crc", {"lame", "-p", "-b", "128"}, nullptr},
        {"lame_mpeg2", {"lame", "--resample", "22.05", "-b", "64"}, nullptr},
        {"lame_mpeg2_crc", {"lame", "-p", "--resample", "22.05", "-b", "64"}, "MPEG-2 layer-3 with CRC"},
        {"lame_mpeg25", {"lame", "--resample", "11.025", "-b", "32"}, "MPEG-2.5 layer-3"},
        {"twolame", {"twolame", "-b", "192"}, nullptr},
        {"twolame_crc", {"twolame", "-p", "-b", "192"}, "MPEG-1 layer-2 with CRC"},
    };
    std::vector<RealFile> files;
    // Every encoder behind the most common tag, every tag in front of the most common stream.
    for (const auto& encoder : encoders)
        files.push_back({encoder, "v23-picture"});
    for (const char* tag : {"none", "v24-picture", "v24-footer", "v22", "v23-rich", "v24-rich", "v23-unsync", "eyed3",
                            "id3v2-tool", "v24-picture+back"})
        files.push_back({kLameCbr, tag});
    files.push_back({encoders[2], "v24-picture"});
    return files;
}

class RealFiles : public ::testing::TestWithParam<RealFile> {
protected:
    static void SetUpTestSuite() { encoded_ = new std::map<std::string, std::string>(); }
    static void TearDownTestSuite()
    {
        delete encoded_;
        encoded_ = nullptr;
    }

    void SetUp() override
    {
        std::string missing = interop::missingTools() + interop::missingStreamTools() + interop::missingTaggers();
        ASSERT_TRUE(missing.empty()) << missing;
    }

    // Each encoder's file is made once for all its cases.
    std::string encoded(const Encoder& encoder)
    {
        auto& files = *encoded_;
        if (!files.count(encoder.name)) {
            const std::string wav = shared().write("sound.wav", interop::testSoundWav(kSeconds));
            const std::string mp3 = shared().file(std::string(encoder.name) + ".mp3");
            interop::encodeTestSound(wav, encoder.command, mp3);
            files[encoder.name] = mp3;
        }
        return files.at(encoder.name);
    }

    static testsupport::TempDir& shared()
    {
        static testsupport::TempDir dir;
        return dir;
    }

    static std::map<std::string, std::string>* encoded_;
    testsupport::TempDir dir_;
};

std::map<std::string, std::string>* RealFiles::encoded_ = nullptr;

}  // namespace

TEST_P(RealFiles, AreReadRightAndRepairedWithoutTouchingTheirAudio)
{
    const RealFile& file = GetParam();
    const std::string path = dir_.file("Die Aerzte - Schrei nach Liebe.mp3");
    const interop::TaggedCopy copy = interop::tagCopy(encoded(file.encoder), path, file.tag);
    const int audioStart = copy.audioStart;
    const Bytes before = readFile(path);
    const interop::FrameWalk walk = interop::walkFrames(path, audioStart);
    ASSERT_GT(walk.offsets.size(), 100u);
    ASSERT_EQ(walk.crcBad, 0);

    testsupport::ScopedSeams seams;
    seams.prompter.setFallback(testsupport::ScriptedPrompter::Kind::Progress, platform::Answer::No);
    CLiedkramEntry entry(path, platform::readRepairSettings());
    ASSERT_NE(entry.m_dwHeader, 0u);
    EXPECT_EQ(entry.m_nAudioStart, audioStart) << "the true first frame";
    // The tag's texts, read through TagLib whatever the version; the name's without a tag.
    const std::string kind = file.tag;
    const std::string tag = kind.substr(0, kind.find('+'));
    EXPECT_EQ(entry.m_szTitle.view(), tag == "none" ? "Schrei Nach Liebe" : "Schrei nach Liebe");
    EXPECT_EQ(entry.m_szArtist.view(), tag == "none" ? "Die Aerzte" : "Die \xC4rzte");
    if (tag.find("rich") == std::string::npos)
        EXPECT_EQ(entry.m_szAlbum.view(), tag == "none" || tag == "v22" ? "" : "Die Bestie in Menschengestalt");
    else
        EXPECT_EQ(entry.m_szAlbum.view(), "??????? " + std::string(72, 'x'));
    const auto framesBefore = interop::id3v2Frames(path);

    if (file.encoder.unsupported) {
        EXPECT_EQ(seams.prompter.messages(),
                  std::vector<std::string>{"'" + path + "': " + file.encoder.unsupported +
                                           " is not supported -> file listed, not repaired."});
        EXPECT_EQ(entry.m_nFrames, static_cast<int>(walk.offsets.size()));
        EXPECT_EQ(autoedit::EditEntry(entry, platform::readRepairSettings()), autoedit::EditStep::Incomplete);
        EXPECT_TRUE(readFile(path) == before) << "never repaired";
        return;
    }

    EXPECT_TRUE(seams.prompter.prompts().empty()) << seams.prompter.messages().front();
    EXPECT_EQ(entry.m_bVerified, 1);
    EXPECT_LE(entry.m_nFrames, static_cast<int>(walk.offsets.size()));
    EXPECT_GE(entry.m_nFrames, static_cast<int>(walk.offsets.size()) - 3);

    // The frames the repair keeps: those of the audio range.
    std::vector<int> kept;
    for (const int offset : walk.offsets) {
        if (offset >= entry.m_nAudioStart && offset < entry.m_nAudioEnd)
            kept.push_back(offset);
    }
    ASSERT_GE(kept.size(), walk.offsets.size() - 4);
    const testsupport::TempDir data;
    {
        history::ChangeSet changes(data.path(), "fix", true);
        ASSERT_EQ(autoedit::EditEntry(entry, platform::readRepairSettings(), &changes), autoedit::EditStep::Done);
    }
    EXPECT_TRUE(seams.prompter.messages().empty());

    const Bytes after = readFile(path);
    // The file begins with its old tag, every frame as mutagen read it
    // before (pictures byte for byte); a file without one with a new tag.
    const auto framesAfter = interop::id3v2Frames(path);
    if (tag == "none") {
        EXPECT_EQ(framesAfter.at("version"), "2.3.0");
        EXPECT_EQ(framesAfter.at("TPE1"), "Die Aerzte");
    } else {
        auto expected = framesBefore;
        if (tag == "v22")
            expected["version"] = "2.3.0";
        EXPECT_EQ(framesAfter, expected);
    }
    EXPECT_EQ(interop::ffprobeTitle(path), entry.m_szTitle.str());
    if (tag != "v22" && tag != "none") {
        EXPECT_TRUE(std::equal(before.begin(), before.begin() + audioStart, after.begin())) << "the tag byte for byte";
    }
    const interop::FrameWalk repaired = interop::walkFrames(path, entry.m_nAudioStart);
    ASSERT_EQ(repaired.offsets.size(), kept.size());
    for (std::size_t i = 0; i < kept.size(); ++i) {
        const int length = i + 1 < kept.size() ? kept[i + 1] - kept[i] : repaired.end - repaired.offsets[i];
        const std::string difference = interop::frameDifference(before, kept[i], after, repaired.offsets[i], length);
        ASSERT_TRUE(difference.empty()) << "frame " << i << ": " << difference;
    }
    EXPECT_EQ(repaired.crcChecked, walk.crcChecked == 0 ? 0 : static_cast<int>(kept.size()));
    EXPECT_EQ(repaired.crcBad, 0);
    // Junk behind the audio is cut; the tags there stay as they were, the
    // new ID3v1 tag behind them.
    ASSERT_EQ(after.size(), static_cast<std::size_t>(repaired.end + copy.backTags) + 128);
    EXPECT_EQ(std::string(after.end() - 128, after.end() - 125), "TAG");
    if (copy.backTags > 0) {
        EXPECT_TRUE(std::equal(after.end() - 128 - copy.backTags, after.end(), before.end() - 128 - copy.backTags))
            << "the tags behind the audio and the ID3v1 tag as before";
    }
    // The audio alone: ffmpeg would take the tag's picture for a video stream to decode.
    const std::string audio =
        dir_.write("audio.mp3", Bytes(after.begin() + static_cast<std::ptrdiff_t>(entry.m_nAudioStart), after.end()));
    EXPECT_EQ(interop::crcCheckingDecode(audio), "");

    history::ChangeLock lock(data.path());
    const auto set = history::readChangeSet(data.path(), 1);
    ASSERT_TRUE(set);
    history::ChangeSet undo(data.path(), "undo 1", true, 1);
    EXPECT_EQ(history::undoChangeSet(data.path(), *set, undo).leftAlone, 0u);
    EXPECT_TRUE(readFile(path) == before) << "the undo gives the file back byte for byte";
}

INSTANTIATE_TEST_SUITE_P(Files, RealFiles, ::testing::ValuesIn(realFiles()), [](const auto& test) {
    std::string name = std::string(test.param.encoder.name) + "_" + test.param.tag;
    for (char& c : name)
        c = c == '-' || c == '+' ? '_' : c;
    return name;
});

// The manual edit's save, judged by the taggers and an independent frame
// walk: the changed title reaches mutagen and ffprobe, every other frame of
// the old tag stays as it was (the picture byte for byte), and the sound is
// the same frames with only their copyright and original bits changed.
TEST_F(RealFiles, AManualEditReachesTheTaggersAndKeepsTheSound)
{
    const Encoder copyrighted = {"lame_copyrighted", {"lame", "-c", "-o", "-b", "128"}, nullptr};
    const std::string path = dir_.file("Die Aerzte - Schrei nach Liebe.mp3");
    const interop::TaggedCopy copy = interop::tagCopy(encoded(copyrighted), path, "v24-picture");
    const Bytes before = readFile(path);
    const auto framesBefore = interop::id3v2Frames(path);
    const interop::FrameWalk walk = interop::walkFrames(path, copy.audioStart);

    testsupport::ScopedSeams seams;
    const platform::RepairSettings settings = platform::readRepairSettings();
    CLiedkramEntry entry(path, settings);
    ASSERT_EQ(entry.m_nAudioStart, copy.audioStart);
    ASSERT_TRUE(entry.IsCopyright());
    // What the dialog collects when only the title and the two boxes change.
    autoedit::ManualEdit edit;
    edit.title = "Fr\xFChling";
    edit.artist = entry.m_szArtist.str();
    edit.album = entry.m_szAlbum.str();
    edit.comment = entry.m_szComment.str();
    edit.year = entry.m_nYear;
    edit.genre = entry.m_nGenre;
    edit.track = entry.m_nTrack;
    edit.newName = entry.m_szFileName.str();
    edit.original = true;
    edit.copyright = false;
    edit.changeFlags = entry.m_nFlags | ENTRY_TAG_DIRTY | ENTRY_HEADER_DIRTY;
    ASSERT_EQ(autoedit::ApplyManualEdit(entry, edit, settings).outcome, autoedit::ManualEditOutcome::Saved);
    EXPECT_TRUE(seams.prompter.messages().empty());

    auto expected = framesBefore;
    expected["TIT2"] = "Fr\xC3\xBChling";
    EXPECT_EQ(interop::id3v2Frames(path), expected);
    EXPECT_EQ(interop::ffprobeTitle(path), "Fr\xC3\xBChling");
    const Bytes after = readFile(path);
    const interop::FrameWalk repaired = interop::walkFrames(path, entry.m_nAudioStart);
    ASSERT_EQ(repaired.offsets.size(), walk.offsets.size());
    // The Info frame's LAME tag covers the header bits with its check word
    // (its bytes 190 and 191), which is made right again.
    constexpr int kLameCheck = 190;
    EXPECT_EQ(interop::frameDifference(before, walk.offsets[0], after, repaired.offsets[0], kLameCheck), "");
    const int infoLength = walk.offsets[1] - walk.offsets[0];
    EXPECT_TRUE(std::equal(before.begin() + walk.offsets[0] + kLameCheck + 2, before.begin() + walk.offsets[1],
                           after.begin() + repaired.offsets[0] + kLameCheck + 2));
    ASSERT_EQ(repaired.offsets[1] - repaired.offsets[0], infoLength);
    for (std::size_t i = 1; i < walk.offsets.size(); ++i) {
        const int length =
            i + 1 < walk.offsets.size() ? walk.offsets[i + 1] - walk.offsets[i] : repaired.end - repaired.offsets[i];
        const std::string difference =
            interop::frameDifference(before, walk.offsets[i], after, repaired.offsets[i], length);
        ASSERT_TRUE(difference.empty()) << "frame " << i << ": " << difference;
    }
    ASSERT_EQ(after.size(), static_cast<std::size_t>(repaired.end) + 128);
    EXPECT_EQ(std::string(after.end() - 128, after.end() - 128 + 11), "TAGFr\xFChling");
    // The audio alone: ffmpeg would take the tag's picture for a video stream to decode.
    const std::string audio =
        dir_.write("audio.mp3", Bytes(after.begin() + static_cast<std::ptrdiff_t>(entry.m_nAudioStart), after.end()));
    EXPECT_EQ(interop::crcCheckingDecode(audio), "");
}
