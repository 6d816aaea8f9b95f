#include "autoedit/rewrite_file.h"
#include "entry/liedkram_entry.h"
#include "platform/file.h"
#include "platform/repair_settings.h"
#include "platform/replacement_file.h"
#include "support/mp3_builder.h"
#include "support/seam_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <sys/stat.h>

using namespace testsupport;

namespace {

constexpr int kFrame = 417;

HeaderSpec copyrighted()
{
    HeaderSpec kind;
    kind.copyright = true;
    kind.original = false;
    return kind;
}

// The file's bytes with byte 3 of every frame header at the given offsets
// showing copyright clear and original set.
Bytes withFixedHeaders(Bytes bytes, const std::vector<std::size_t>& headers)
{
    for (const auto at : headers)
        bytes[at + 3] = static_cast<std::uint8_t>((bytes[at + 3] & ~0x08) | 0x04);
    return bytes;
}

std::vector<std::size_t> frameStarts(std::size_t first, int count, int length = kFrame)
{
    std::vector<std::size_t> starts;
    for (int i = 0; i < count; ++i)
        starts.push_back(first + static_cast<std::size_t>(i) * static_cast<std::size_t>(length));
    return starts;
}

std::size_t entriesIn(const std::string& directory)
{
    return static_cast<std::size_t>(
        std::distance(std::filesystem::directory_iterator(directory), std::filesystem::directory_iterator()));
}

}  // namespace

class RewriteFileTest : public SeamTest {
protected:
    // These cases are about the audio and the ID3v1 tag; the ID3v2 tag a
    // rewrite writes has cases of its own.
    RewriteFileTest() { profile().writeInt("SetID3V2", 0); }

    CLiedkramEntry load(const std::string& name, const Bytes& bytes)
    {
        return CLiedkramEntry(dir_.write(name, bytes), platform::readRepairSettings());
    }

    TempDir dir_;
};

TEST_F(RewriteFileTest, FrontCutRemovesTheId3v2TagAndEverythingBehindTheAudio)
{
    Bytes bytes = id3v2Tag(3, 980);  // 1000 bytes in all
    append(bytes, frames({}, 200));
    append(bytes, id3v1Tag({"Song", "Band", "", "2001", "", -1, 3}));
    auto entry = load("a.mp3", bytes);
    ASSERT_EQ(entry.m_nAudioStart, 1000);
    ASSERT_EQ(entry.m_bVerified, 1);
    entry.m_nFlags = ENTRY_CUT_FRONT | ENTRY_CUT_BACK;
    profile().writeInt("SetID3", 0);

    autoedit::RewriteFile(entry, platform::readRepairSettings());
    const Bytes expected(bytes.begin() + 1000, bytes.begin() + 1000 + 200 * kFrame);
    EXPECT_EQ(readFile(entry.GetFullPath()), expected);
    EXPECT_EQ(entry.m_nAudioStart, 0);
    EXPECT_EQ(entry.m_nAudioEnd, 200 * kFrame);
    EXPECT_EQ(entry.m_nFileSize, 200 * kFrame);
    EXPECT_EQ(entry.m_bHasId3v2, 0);
    EXPECT_EQ(entry.m_nFlags, 0u);
    EXPECT_TRUE(prompter().prompts().empty());
    EXPECT_EQ(entriesIn(dir_.path()), 1u) << "no temporary file stays behind";
}

TEST_F(RewriteFileTest, AChangedTitleReplacesTheOldTag)
{
    const Bytes audio = frames({}, 100);
    Bytes bytes = audio;
    append(bytes, id3v1Tag({"Old", "Band", "", "2001", "", -1, 3}));
    auto entry = load("a.mp3", bytes);
    entry.m_szTitle = "New Title";
    entry.m_nYear = 1999;
    entry.m_nTrack = 4;
    entry.m_szComment = "note";
    entry.m_nFlags |= ENTRY_TAG_DIRTY;
    entry.UpdateCutFlags(platform::readRepairSettings());
    ASSERT_EQ(entry.m_nFlags, ENTRY_TAG_DIRTY | ENTRY_CUT_BACK);

    autoedit::RewriteFile(entry, platform::readRepairSettings());
    Bytes expected = audio;
    Bytes tag(128, 0);
    const std::string fields = "TAGNew Title";
    std::copy(fields.begin(), fields.end(), tag.begin());
    std::copy_n("Band", 4, tag.begin() + 33);
    std::copy_n("1999", 4, tag.begin() + 93);
    std::copy_n("note", 4, tag.begin() + 97);
    tag[126] = 4;
    tag[127] = 3;
    append(expected, tag);
    EXPECT_EQ(readFile(entry.GetFullPath()), expected);
    EXPECT_EQ(entry.m_nFileSize, static_cast<int>(bytes.size()));
    EXPECT_EQ(entry.m_nFlags, 0u);
}

TEST_F(RewriteFileTest, WithoutTheBackCutNothingIsCutAndNoTagWritten)
{
    Bytes bytes = frames({}, 100);
    append(bytes, id3v1Tag({"Old", "Band", "", "2001", "", -1, 3}));
    profile().writeInt("DelBack", 0);
    auto entry = load("a.mp3", bytes);
    entry.m_szTitle = "New";
    entry.m_nFlags |= ENTRY_TAG_DIRTY;
    entry.UpdateCutFlags(platform::readRepairSettings());
    autoedit::RewriteFile(entry, platform::readRepairSettings());
    EXPECT_EQ(readFile(entry.GetFullPath()), bytes);
    EXPECT_EQ(entry.m_nFlags, ENTRY_TAG_DIRTY);
}

TEST_F(RewriteFileTest, OnlySetId3OfOneWritesATag)
{
    const Bytes bytes = frames({}, 50);
    profile().writeInt("SetID3", 2);
    auto entry = load("a.mp3", bytes);
    ASSERT_EQ(entry.m_nFlags, ENTRY_TAG_DIRTY);
    autoedit::RewriteFile(entry, platform::readRepairSettings());
    EXPECT_EQ(readFile(entry.GetFullPath()), bytes);
    EXPECT_EQ(entry.m_nFlags, ENTRY_TAG_DIRTY);

    profile().writeInt("SetID3", 1);
    autoedit::RewriteFile(entry, platform::readRepairSettings());
    EXPECT_EQ(readFile(entry.GetFullPath()).size(), bytes.size() + 128);
    EXPECT_EQ(entry.m_nFlags, 0u);
    EXPECT_EQ(entry.m_nAudioEnd, static_cast<int>(bytes.size()));
}

TEST_F(RewriteFileTest, TheTagLayoutAndTheTooLongWarning)
{
    const Bytes audio = frames({}, 20);
    auto entry = load("long.mp3", audio);
    entry.m_szTitle = std::string(31, 't');
    entry.m_szArtist = std::string(40, 'a');
    entry.m_szAlbum = std::string(30, 'b');
    entry.m_szComment = std::string(30, 'c');
    entry.m_nYear = 1900;
    entry.m_nGenre = -1;
    entry.m_nTrack = 0;
    autoedit::RewriteFile(entry, platform::readRepairSettings());
    EXPECT_EQ(
        prompter().messages(),
        std::vector<std::string>{"Title tag too long in: long.mp3\r\nWill be shortend in *.mp3 but kept in list!"});
    EXPECT_EQ(entry.m_szTitle.size(), 31u) << "the list keeps the full text";
    const auto bytes = readFile(entry.GetFullPath());
    const Bytes tag(bytes.end() - 128, bytes.end());
    EXPECT_EQ(std::string(tag.begin() + 3, tag.begin() + 33), std::string(30, 't'));
    EXPECT_EQ(std::string(tag.begin() + 33, tag.begin() + 63), std::string(30, 'a'));
    EXPECT_EQ(Bytes(tag.begin() + 93, tag.begin() + 97), Bytes(4, 0)) << "no year";
    EXPECT_EQ(std::string(tag.begin() + 97, tag.begin() + 126), std::string(29, 'c'));
    EXPECT_EQ(tag[126], 0);
    EXPECT_EQ(tag[127], 0xFF);
}

TEST_F(RewriteFileTest, OnlyTheFirstTooLongFieldIsNamed)
{
    struct Case {
        std::size_t title, artist, album, comment;
        const char* field;
    };
    const Case cases[] = {
        {30, 30, 30, 29, nullptr}, {30, 31, 31, 30, "Artist"}, {30, 30, 31, 30, "Album"}, {30, 30, 30, 30, "Comment"}};
    for (const auto& c : cases) {
        prompter().clear();
        auto entry = load("w.mp3", frames({}, 10));
        entry.m_szTitle = std::string(c.title, 'x');
        entry.m_szArtist = std::string(c.artist, 'x');
        entry.m_szAlbum = std::string(c.album, 'x');
        entry.m_szComment = std::string(c.comment, 'x');
        entry.m_nYear = -5;
        autoedit::RewriteFile(entry, platform::readRepairSettings());
        const auto messages = prompter().messages();
        if (!c.field) {
            EXPECT_TRUE(messages.empty());
        } else {
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_EQ(messages[0].rfind(std::string(c.field) + " tag too long in: w.mp3", 0), 0u);
        }
        const auto bytes = readFile(entry.GetFullPath());
        EXPECT_EQ(std::string(bytes.end() - 35, bytes.end() - 31), std::string("-5\0\0", 4));
    }
}

TEST_F(RewriteFileTest, HeaderRewriteChangesOnlyTheTwoBitsOfEveryHeader)
{
    HeaderSpec padded = copyrighted();
    padded.padding = true;
    Bytes bytes = musicBytes(100);
    append(bytes, frames(copyrighted(), 50));
    append(bytes, frames(padded, 50));
    append(bytes, id3v1Tag({"Song", "Band", "", "2001", "", -1, 3}));
    auto entry = load("a.mp3", bytes);
    entry.m_nFlags = 0;
    entry.SetOriginal(1);
    entry.SetCopyright(0);
    ASSERT_EQ(entry.m_nFlags, ENTRY_HEADER_DIRTY);

    autoedit::RewriteFile(entry, platform::readRepairSettings());
    auto headers = frameStarts(100, 50);
    const auto more = frameStarts(100 + 50 * kFrame, 50, kFrame + 1);
    headers.insert(headers.end(), more.begin(), more.end());
    // Front junk and the old tag stay: only the header flag asked for work.
    EXPECT_EQ(readFile(entry.GetFullPath()), withFixedHeaders(bytes, headers));
    EXPECT_EQ(entry.m_nFlags, 0u);
}

TEST_F(RewriteFileTest, AHeaderAcrossTheBlockEndIsChangedWhole)
{
    // 236 padded and 2278 plain frames end 2 bytes before the first MiB:
    // the next header starts in the last bytes of the first block.
    HeaderSpec padded = copyrighted();
    padded.padding = true;
    Bytes bytes = frames(padded, 236);
    append(bytes, frames(copyrighted(), 2278 + 30));
    auto entry = load("big.mp3", bytes);
    entry.m_nFlags = 0;
    entry.SetOriginal(1);
    entry.SetCopyright(0);
    profile().writeInt("SetID3", 0);
    autoedit::RewriteFile(entry, platform::readRepairSettings());

    auto headers = frameStarts(0, 236, kFrame + 1);
    const auto more = frameStarts(236 * (kFrame + 1), 2278 + 30);
    headers.insert(headers.end(), more.begin(), more.end());
    ASSERT_EQ(headers[236 + 2278], 1048574u);
    EXPECT_EQ(readFile(entry.GetFullPath()), withFixedHeaders(bytes, headers));
}

TEST_F(RewriteFileTest, DamageIsWalkedAcrossAndAChainThatEndsIsReportedOnce)
{
    // A damaged header between frames: the walk takes up the frames behind it.
    Bytes bytes = frames(copyrighted(), 100);
    std::fill_n(bytes.begin() + 60 * kFrame, 4, 0x00);
    auto entry = load("a.mp3", bytes);
    prompter().clear();
    entry.m_nFlags = ENTRY_HEADER_DIRTY;
    entry.SetOriginal(1);
    entry.SetCopyright(0);
    profile().writeInt("SetID3", 0);
    autoedit::RewriteFile(entry, platform::readRepairSettings());
    EXPECT_TRUE(prompter().messages().empty());
    std::vector<std::size_t> headers = frameStarts(0, 60);
    const auto behind = frameStarts(61 * kFrame, 39);
    headers.insert(headers.end(), behind.begin(), behind.end());
    EXPECT_EQ(readFile(entry.GetFullPath()), withFixedHeaders(bytes, headers));

    // No frame behind the damage, though the entry says the audio goes on.
    Bytes broken = frames(copyrighted(), 60);
    append(broken, musicBytes(40 * kFrame));
    entry = load("b.mp3", broken);
    prompter().clear();
    entry.m_nFlags = ENTRY_HEADER_DIRTY;
    entry.m_nAudioEnd = static_cast<int>(broken.size());
    entry.SetOriginal(1);
    entry.SetCopyright(0);
    autoedit::RewriteFile(entry, platform::readRepairSettings());
    ASSERT_EQ(prompter().messages().size(), 1u);
    EXPECT_EQ(prompter().messages()[0].rfind(
                  "auch nach +2 Mist: offset: " +
                      [] {
                          char hex[16];
                          std::snprintf(hex, sizeof hex, "%x", 60 * kFrame + 2);
                          return std::string(hex);
                      }() +
                      ", wert: ",
                  0),
              0u);
    EXPECT_EQ(readFile(entry.GetFullPath()), withFixedHeaders(broken, frameStarts(0, 60)));
}

TEST_F(RewriteFileTest, UnverifiedEntriesKeepTheirFrames)
{
    const Bytes bytes = frames(copyrighted(), 50);
    profile().writeInt("ChkAll", 0);
    auto entry = load("a.mp3", bytes);
    entry.m_nFlags = 0;
    entry.SetCopyright(0);
    profile().writeInt("SetID3", 0);
    autoedit::RewriteFile(entry, platform::readRepairSettings());
    EXPECT_EQ(readFile(entry.GetFullPath()), bytes);
    EXPECT_EQ(entry.m_nFlags, 0u);
}

TEST_F(RewriteFileTest, AScanErrorKeepsTheContentButNotTheName)
{
    const Bytes bytes = frames({}, 20);
    auto entry = load("a.mp3", bytes);
    entry.m_nFlags = ENTRY_SCAN_ERROR | ENTRY_TAG_DIRTY | ENTRY_CUT_BACK | ENTRY_RENAME;
    entry.m_strNewName = "b.mp3";
    autoedit::RewriteFile(entry, platform::readRepairSettings());
    EXPECT_EQ(readFile(dir_.file("b.mp3")), bytes);
    EXPECT_EQ(entry.m_szFileName, "b.mp3");
    EXPECT_EQ(entry.m_nFlags, ENTRY_SCAN_ERROR | ENTRY_TAG_DIRTY | ENTRY_CUT_BACK);
}

TEST_F(RewriteFileTest, RenamesNeverReplaceAFileNorLeaveTheDirectory)
{
    const Bytes bytes = frames({}, 20);
    dir_.write("taken.mp3", {9, 9});
    auto entry = load("a.mp3", bytes);
    entry.m_nFlags = ENTRY_RENAME;
    const char* refused[] = {"taken.mp3", "x/y.mp3", "..", ".", ""};
    const char* causes[] = {"5 (File exists)", "3 (Invalid file name)", "3 (Invalid file name)",
                            "3 (Invalid file name)", "3 (Invalid file name)"};
    for (std::size_t i = 0; i < std::size(refused); ++i) {
        prompter().clear();
        entry.m_strNewName = refused[i];
        EXPECT_EQ(autoedit::RewriteFile(entry, platform::readRepairSettings()), autoedit::RewriteOutcome::NotDone);
        EXPECT_EQ(prompter().messages(),
                  std::vector<std::string>{std::string("Unable to rename a.mp3 cause: ") + causes[i]})
            << refused[i];
        EXPECT_EQ(entry.m_szFileName, "a.mp3");
        EXPECT_EQ(entry.m_nFlags, ENTRY_RENAME);
    }
    entry.m_strNewName = std::string(256, 'n');
    autoedit::RewriteFile(entry, platform::readRepairSettings());
    entry.m_strNewName = std::string("nul\0.mp3", 8);
    autoedit::RewriteFile(entry, platform::readRepairSettings());
    EXPECT_EQ(readFile(dir_.file("taken.mp3")), (Bytes{9, 9}));
    EXPECT_EQ(readFile(dir_.file("a.mp3")), bytes);
    EXPECT_EQ(entriesIn(dir_.path()), 2u);

    entry.m_strNewName = std::string(255, 'n');
    prompter().clear();
    EXPECT_EQ(autoedit::RewriteFile(entry, platform::readRepairSettings()), autoedit::RewriteOutcome::Done);
    EXPECT_TRUE(prompter().messages().empty());
    EXPECT_EQ(entry.m_szFileName, std::string(255, 'n'));
    EXPECT_EQ(entry.m_nFlags, 0u);
}

TEST_F(RewriteFileTest, AFailedRewriteLeavesFileAndEntryAsTheyWere)
{
    Bytes bytes = musicBytes(500);
    append(bytes, frames(copyrighted(), 100));
    auto entry = load("a.mp3", bytes);
    entry.SetOriginal(1);
    const CLiedkramEntry before = entry;
    // Something is in the way of the replacement file.
    std::filesystem::create_directory(platform::ReplacementFile::temporaryPathFor(entry.GetFullPath()));
    std::filesystem::create_directory(platform::ReplacementFile::temporaryPathFor(entry.GetFullPath()) + "/x");
    prompter().clear();

    EXPECT_EQ(autoedit::RewriteFile(entry, platform::readRepairSettings()), autoedit::RewriteOutcome::Failed);
    ASSERT_EQ(prompter().messages().size(), 1u);
    EXPECT_EQ(prompter().messages()[0], "Unable to rewrite a.mp3 cause: 5 (File exists) -> file unchanged.");
    EXPECT_EQ(readFile(entry.GetFullPath()), bytes);
    EXPECT_EQ(entry.m_nFlags, before.m_nFlags);
    EXPECT_EQ(entry.m_nAudioStart, before.m_nAudioStart);
    EXPECT_EQ(entry.m_nFileSize, before.m_nFileSize);
}

TEST_F(RewriteFileTest, AFileThatChangedOrVanishedIsNotRewritten)
{
    Bytes bytes = frames({}, 100);
    auto entry = load("a.mp3", bytes);
    entry.m_nFlags |= ENTRY_RENAME;
    entry.m_strNewName = "b.mp3";
    bytes.resize(bytes.size() - 1000);
    dir_.write("a.mp3", bytes);
    prompter().clear();
    EXPECT_EQ(autoedit::RewriteFile(entry, platform::readRepairSettings()), autoedit::RewriteOutcome::NotDone);
    EXPECT_EQ(readFile(dir_.file("a.mp3")), bytes) << "neither rewritten nor renamed";
    EXPECT_EQ(prompter().messages(),
              std::vector<std::string>{
                  "Unable to rewrite a.mp3 (the file has changed since it was listed) -> file unchanged."});
    EXPECT_EQ(entry.m_nFlags & (ENTRY_TAG_DIRTY | ENTRY_RENAME), ENTRY_TAG_DIRTY | ENTRY_RENAME);

    // A file that cannot be opened for writing is still renamed, if it can be.
    std::filesystem::remove(dir_.file("a.mp3"));
    prompter().clear();
    EXPECT_EQ(autoedit::RewriteFile(entry, platform::readRepairSettings()), autoedit::RewriteOutcome::NotDone);
    EXPECT_EQ(prompter().messages(),
              (std::vector<std::string>{"Cant open mp3 4 rw",
                                        "Unable to rename a.mp3 cause: 2 (No such file or directory)"}));
}

TEST_F(RewriteFileTest, TheReplacementKeepsThePermissionBits)
{
    auto entry = load("a.mp3", frames({}, 30));
    ASSERT_EQ(::chmod(entry.GetFullPath().c_str(), 0640), 0);
    autoedit::RewriteFile(entry, platform::readRepairSettings());
    EXPECT_EQ(std::filesystem::status(entry.GetFullPath()).permissions(), static_cast<std::filesystem::perms>(0640));
    EXPECT_EQ(readFile(entry.GetFullPath()).size(), 30u * kFrame + 128);
}

TEST_F(RewriteFileTest, AStaleTemporaryFileIsRemoved)
{
    auto entry = load("a.mp3", frames({}, 30));
    dir_.write(std::filesystem::path(platform::ReplacementFile::temporaryPathFor(entry.GetFullPath())).filename(),
               {1, 2, 3});
    autoedit::RewriteFile(entry, platform::readRepairSettings());
    EXPECT_EQ(entriesIn(dir_.path()), 1u);
    EXPECT_EQ(entry.m_nFlags, 0u);
}

TEST_F(RewriteFileTest, ALinkedFileIsRepairedWhereItLies)
{
    std::filesystem::create_directory(dir_.file("real"));
    const auto real = dir_.write("real/song.mp3", frames({}, 30));
    std::filesystem::create_symlink("real/song.mp3", dir_.file("link.mp3"));
    CLiedkramEntry entry(dir_.file("link.mp3"), platform::readRepairSettings());
    autoedit::RewriteFile(entry, platform::readRepairSettings());
    EXPECT_TRUE(std::filesystem::is_symlink(dir_.file("link.mp3")));
    EXPECT_EQ(readFile(real).size(), 30u * kFrame + 128);
    EXPECT_EQ(entriesIn(dir_.file("real")), 1u);
}

TEST_F(RewriteFileTest, AFileWithFurtherHardLinksIsLeftAlone)
{
    const Bytes bytes = frames({}, 30);
    auto entry = load("a.mp3", bytes);
    std::filesystem::create_hard_link(entry.GetFullPath(), dir_.file("b.mp3"));
    prompter().clear();
    autoedit::RewriteFile(entry, platform::readRepairSettings());
    EXPECT_EQ(prompter().messages(),
              std::vector<std::string>{"Unable to rewrite a.mp3 (it has further hard links) -> file unchanged."});
    EXPECT_EQ(readFile(dir_.file("b.mp3")), bytes);
    EXPECT_EQ(entry.m_nFlags, ENTRY_TAG_DIRTY);
}

namespace {

// The check word of a protected Layer III frame, computed bit by bit over the
// message as the standard writes it: header bytes 2 and 3, then the side
// information (32 bytes for MPEG-1 stereo).
std::uint16_t frameCheck(const Bytes& file, std::size_t frame)
{
    std::uint32_t register16 = 0xFFFF;
    const auto feed = [&register16](std::uint8_t byte) {
        for (int bit = 7; bit >= 0; --bit) {
            const bool top = (register16 >> 15) & 1;
            register16 = (register16 << 1) & 0xFFFF;
            if (top != (((byte >> bit) & 1) != 0))
                register16 ^= 0x8005;
        }
    };
    feed(file[frame + 2]);
    feed(file[frame + 3]);
    for (std::size_t i = 0; i < 32; ++i)
        feed(file[frame + 6 + i]);
    return static_cast<std::uint16_t>(register16);
}

std::uint16_t storedCheck(const Bytes& file, std::size_t frame)
{
    return static_cast<std::uint16_t>(file[frame + 4] << 8 | file[frame + 5]);
}

// A prompter that plays another program changing the file when the tag
// warning shows, that is while the file's new content is being written.
class MeddlingPrompter : public testsupport::ScriptedPrompter {
public:
    explicit MeddlingPrompter(std::function<void()> meddle) : meddle_(std::move(meddle)) {}
    void showMessage(std::string_view text) override
    {
        ScriptedPrompter::showMessage(text);
        if (text.find("too long") != std::string_view::npos)
            meddle_();
    }

private:
    std::function<void()> meddle_;
};

}  // namespace

TEST_F(RewriteFileTest, CrcProtectedFramesKeepACorrectCheckWord)
{
    HeaderSpec protectedFrames = copyrighted();
    protectedFrames.crc = true;
    Bytes bytes = frames(protectedFrames, 120);
    const auto starts = frameStarts(0, 120);
    for (const auto at : starts) {
        const auto check = frameCheck(bytes, at);
        bytes[at + 4] = static_cast<std::uint8_t>(check >> 8);
        bytes[at + 5] = static_cast<std::uint8_t>(check);
    }
    // One frame arrives with a wrong check word; it must stay exactly as wrong.
    bytes[starts[50] + 5] ^= 0x5A;
    auto entry = load("crc.mp3", bytes);
    ASSERT_EQ(entry.m_bVerified, 1);
    entry.m_nFlags = 0;
    entry.SetOriginal(1);
    entry.SetCopyright(0);
    profile().writeInt("SetID3", 0);
    EXPECT_EQ(autoedit::RewriteFile(entry, platform::readRepairSettings()), autoedit::RewriteOutcome::Done);

    const Bytes after = readFile(entry.GetFullPath());
    ASSERT_EQ(after.size(), bytes.size());
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const auto at = starts[i];
        EXPECT_EQ(after[at + 3] & 0x0C, 0x04) << "frame " << i;
        const std::uint16_t error = storedCheck(after, at) ^ frameCheck(after, at);
        EXPECT_EQ(error, i == 50 ? 0x5A : 0) << "frame " << i;
        // Nothing but the header's byte 3 and the check word changed.
        EXPECT_TRUE(std::equal(after.begin() + static_cast<std::ptrdiff_t>(at + 6),
                               after.begin() + static_cast<std::ptrdiff_t>(at + kFrame),
                               bytes.begin() + static_cast<std::ptrdiff_t>(at + 6)));
    }
}

TEST_F(RewriteFileTest, AnUnverifiedEndIsCutOnlyWhereATagOrTrailerBegins)
{
    // Audio, something that may be audio too, and a tag.
    Bytes bytes = frames({}, 100);
    append(bytes, musicBytes(300));
    append(bytes, id3v1Tag({"Song", "Band", "", "99", "", -1, 3}));
    auto entry = load("a.mp3", bytes);
    ASSERT_EQ(entry.m_nAudioEnd, 100 * kFrame);  // the last good frame stays, whatever follows it
    // As if no scan had confirmed where the audio ends.
    entry.m_bVerified = 0;
    entry.m_nFlags = ENTRY_TAG_DIRTY | ENTRY_CUT_BACK;
    EXPECT_EQ(autoedit::RewriteFile(entry, platform::readRepairSettings()), autoedit::RewriteOutcome::Done);
    EXPECT_EQ(readFile(entry.GetFullPath()), bytes);
    EXPECT_EQ(entry.m_nFlags, ENTRY_TAG_DIRTY) << "no tag while bytes stay behind the audio";

    // Only the tag behind the audio: it is replaced.
    profile().writeInt("ChkAll", 0);
    entry = load("a.mp3", bytes);
    ASSERT_EQ(entry.m_bVerified, 0);
    ASSERT_EQ(entry.m_nAudioEnd, static_cast<int>(bytes.size()) - 128);
    ASSERT_EQ(entry.m_nFlags, ENTRY_TAG_DIRTY | ENTRY_CUT_BACK);
    EXPECT_EQ(autoedit::RewriteFile(entry, platform::readRepairSettings()), autoedit::RewriteOutcome::Done);
    const Bytes after = readFile(entry.GetFullPath());
    EXPECT_EQ(Bytes(after.begin(), after.end() - 128), Bytes(bytes.begin(), bytes.end() - 128));
    EXPECT_EQ(std::string(after.end() - 35, after.end() - 31), "1999");
    EXPECT_EQ(entry.m_nFlags, 0u);
}

TEST_F(RewriteFileTest, AFileThatNoLongerMatchesItsEntryIsLeftAlone)
{
    const std::string changed = "Unable to rewrite a.mp3 (the file has changed since it was listed) -> file unchanged.";
    Bytes bytes = musicBytes(500);
    append(bytes, frames(copyrighted(), 100));
    auto entry = load("a.mp3", bytes);
    entry.SetOriginal(1);

    // The same size, but other bytes where the audio was.
    Bytes shifted = musicBytes(700);
    append(shifted, frames(copyrighted(), 100));
    shifted.resize(bytes.size());
    dir_.write("a.mp3", shifted);
    const auto touched = std::filesystem::last_write_time(entry.GetFullPath());
    std::filesystem::last_write_time(entry.GetFullPath(), touched + std::chrono::seconds(5));
    prompter().clear();
    EXPECT_EQ(autoedit::RewriteFile(entry, platform::readRepairSettings()), autoedit::RewriteOutcome::NotDone);
    EXPECT_EQ(prompter().messages(), std::vector<std::string>{changed});

    // Entries read from a list know no time: the frames at the audio start tell.
    entry.m_nModifiedNs = 0;
    prompter().clear();
    EXPECT_EQ(autoedit::RewriteFile(entry, platform::readRepairSettings()), autoedit::RewriteOutcome::NotDone);
    EXPECT_EQ(prompter().messages(), std::vector<std::string>{changed});
    EXPECT_EQ(readFile(entry.GetFullPath()), shifted);
    EXPECT_EQ(entry.m_nFlags & ENTRY_HEADER_DIRTY, ENTRY_HEADER_DIRTY);
}

TEST_F(RewriteFileTest, AFileWrittenToDuringTheRewriteKeepsWhatWasWritten)
{
    const Bytes bytes = frames({}, 300);
    const std::string appended = "appended";
    Bytes longer = bytes;
    longer.insert(longer.end(), appended.begin(), appended.end());
    const Bytes shorter(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() / 2));
    const struct {
        const char* name;
        Bytes written;  // what the other program leaves in the file
        autoedit::RewriteOutcome outcome;
        std::string message;
    } cases[] = {
        {"appended", longer, autoedit::RewriteOutcome::NotDone,
         "Unable to rewrite a.mp3 (the file has changed since it was listed) -> file unchanged."},
        // Cut while it is read: the copy runs out of bytes.
        {"cut", shorter, autoedit::RewriteOutcome::Failed,
         "Unable to rewrite a.mp3 cause: 14 (Unexpected end of file) -> file unchanged."},
    };
    for (const auto& c : cases) {
        auto entry = load("a.mp3", bytes);
        entry.m_szTitle = std::string(40, 't');  // the warning shows while the new content is written
        MeddlingPrompter meddling([&] { dir_.write("a.mp3", c.written); });
        platform::Prompter* previous = platform::installPrompter(&meddling);
        const auto outcome = autoedit::RewriteFile(entry, platform::readRepairSettings());
        platform::installPrompter(previous);

        EXPECT_EQ(outcome, c.outcome) << c.name;
        EXPECT_EQ(readFile(entry.GetFullPath()), c.written) << c.name;
        ASSERT_EQ(meddling.messages().size(), 2u) << c.name;
        EXPECT_EQ(meddling.messages()[1], c.message) << c.name;
        EXPECT_EQ(entriesIn(dir_.path()), 1u) << c.name;
    }
}
