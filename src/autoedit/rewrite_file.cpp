#include "autoedit/rewrite_file.h"

#include "autoedit/file_rename.h"
#include "autoedit/front_tag.h"
#include "autoedit/head_frame.h"
#include "autoedit/header_pass.h"
#include "entry/back_junk.h"
#include "entry/liedkram_entry.h"
#include "history/change_set.h"
#include "history/journal.h"
#include "history/journal_location.h"
#include "mpeg/frame_chain.h"
#include "mpeg/frame_walk.h"
#include "mpeg/mp3_file.h"
#include "platform/byte_reader.h"
#include "platform/file.h"
#include "platform/file_error.h"
#include "platform/prompter.h"
#include "platform/repair_settings.h"
#include "platform/replacement_file.h"
#include "tags/id3v1.h"
#include "tags/id3v2.h"
#include "tags/tag_kinds.h"

#include <algorithm>
#include <cerrno>
#include <limits>
#include <optional>
#include <unistd.h>
#include <vector>

namespace autoedit {

namespace {

constexpr std::size_t kTextWidth = 30;
constexpr std::size_t kCommentWidth = 29;
// Enough bytes for the first frames of the chain that is checked.
constexpr std::size_t kChainProbeSize = mpeg::kChainFrames * mpeg::kFollowBytes;
constexpr const char* kChangedSinceListed = "(the file has changed since it was listed)";
constexpr const char* kInUse = "(in use by another program)";

enum class ContentOutcome { Done, OpenFailed, Refused, Failed };

// What the file will look like; applied to the entry only once the new
// content is in place.
struct Plan {
    // The ID3v2 tag the new file begins with, in place of the bytes the old
    // one took; empty when none is written.
    FrontTag frontTag;
    bool cutFront = false;
    bool rewriteHeaders = false;
    bool keepFront = true;
    bool keepBack = true;
    bool appendTag = false;
    std::int64_t audioStart = 0;
    std::int64_t audioEnd = 0;
    std::int64_t fileSize = 0;
    // The tags behind the audio that a cut of the back keeps.
    std::int64_t keptTagsStart = 0;
    std::int64_t keptTagsSize = 0;
    std::uint32_t flags = 0;
    bool changesFile = false;
};

void warnIfTooLong(const CLiedkramEntry& entry)
{
    const char* field = nullptr;
    if (entry.m_szTitle.size() > kTextWidth)
        field = "Title";
    else if (entry.m_szArtist.size() > kTextWidth)
        field = "Artist";
    else if (entry.m_szAlbum.size() > kTextWidth)
        field = "Album";
    else if (entry.m_szComment.size() > kCommentWidth)
        field = "Comment";
    if (field) {
        platform::prompter().showMessage(std::string(field) + " tag too long in: " + entry.m_szFileName.str() +
                                         "\r\nWill be shortend in *.mp3 but kept in list!");
    }
}

// Characters a tag held that the entry, in Windows-1252, cannot: a changed
// field's frame is written anew without them.
void warnOfLostCharacters(const CLiedkramEntry& entry, const std::vector<const char*>& fields)
{
    if (fields.empty())
        return;
    platform::prompter().showMessage(std::string(fields.front()) +
                                     "-Tag mit Zeichen au\xC3\x9F"
                                     "erhalb von Windows-1252 in: " +
                                     entry.m_szFileName.str() + "\r\nSie werden in *.mp3 und Liste zu \"?\"!");
}

// A scan walked the whole range, frame by frame, and found music in it.
bool hasVerifiedAudio(const CLiedkramEntry& entry)
{
    return entry.m_bVerified == 1 && entry.m_nFrames > 0 && entry.m_nAudioStart < entry.m_nAudioEnd;
}

// back: what stands behind the audio; tags and an ID3v1 tag or trailer
// there may be cut even where the audio was not verified. headInFront: the
// length of a Xing, Info or VBRI frame in front of the audio start, which
// stays in front of the audio when the front is cut. frontTag: the ID3v2
// tag to begin the file with when the rewrite changes it, or nothing.
Plan makePlan(const CLiedkramEntry& entry, const platform::RepairSettings& settings, std::int64_t fileLength,
              const entry::BackLayout& back, std::int64_t headInFront, std::optional<FrontTag> frontTag)
{
    Plan plan;
    const std::uint32_t flags = entry.m_nFlags;
    const std::int64_t start = entry.m_nAudioStart;
    const std::int64_t end = entry.m_nAudioEnd;
    plan.flags = flags;
    plan.audioStart = start;
    plan.audioEnd = end;
    plan.fileSize = fileLength;
    const bool backIsTagOrTrailer = back.tagsStart == end;
    // Tags behind the audio stay, in front of the new ID3v1 tag.
    if (back.tagsStart >= end) {
        plan.keptTagsStart = back.tagsStart;
        plan.keptTagsSize = back.tagsEnd - back.tagsStart;
    }
    // Nothing stands behind the audio but the tags that stay.
    bool onlyTagsBehind = fileLength - end == plan.keptTagsSize && back.tagsEnd == fileLength;

    if (flags & (ENTRY_CUT_FRONT | ENTRY_CUT_BACK | ENTRY_HEADER_DIRTY)) {
        const bool verified = hasVerifiedAudio(entry);
        plan.rewriteHeaders = verified && (flags & ENTRY_HEADER_DIRTY);
        plan.cutFront = verified && (flags & ENTRY_CUT_FRONT);
        plan.keepFront = !plan.cutFront;
        // Without the back cut, a tag or trailer behind the audio stays; an
        // end no scan confirmed is cut only where a tag or trailer begins.
        plan.keepBack = !(flags & ENTRY_CUT_BACK) || !(verified || backIsTagOrTrailer);
        plan.audioStart = plan.cutFront ? 0 : start;
        plan.audioEnd = plan.audioStart + (end - start) + (plan.cutFront ? headInFront : 0);
        plan.fileSize = plan.audioEnd + (plan.keepBack ? fileLength - end : plan.keptTagsSize);
        plan.flags &= ~(ENTRY_CUT_FRONT | ENTRY_CUT_BACK | ENTRY_HEADER_DIRTY);
        plan.changesFile = plan.cutFront || plan.rewriteHeaders || !plan.keepBack;
        onlyTagsBehind = onlyTagsBehind || !plan.keepBack;
    }
    if (settings.appendTag && onlyTagsBehind) {
        plan.appendTag = true;
        plan.fileSize += static_cast<std::int64_t>(tags::kId3v1Size);
        plan.flags &= ~ENTRY_TAG_DIRTY;
        plan.changesFile = true;
    }
    // Every file the rewrite changes, and every one whose tag is due, begins
    // with an ID3v2 tag.
    if (frontTag && (plan.changesFile || (flags & ENTRY_TAG_DIRTY))) {
        plan.frontTag = std::move(*frontTag);
        const std::int64_t shift =
            static_cast<std::int64_t>(plan.frontTag.bytes.size()) - (plan.cutFront ? 0 : plan.frontTag.replaced);
        plan.audioStart += shift;
        plan.audioEnd += shift;
        plan.fileSize += shift;
        plan.changesFile = true;
    }
    return plan;
}

// Writes the new content and notes whether it is the old one byte for byte.
class ComparingSink final : public platform::ByteSink {
public:
    ComparingSink(platform::ByteSink& out, platform::RandomReader& original, bool sameLength)
        : out_(out), original_(original), identical_(sameLength)
    {
    }

    void write(std::span<const std::uint8_t> bytes) override
    {
        out_.write(bytes);
        if (identical_) {
            old_.resize(bytes.size());
            identical_ =
                original_.readAt(offset_, old_) == bytes.size() && std::equal(old_.begin(), old_.end(), bytes.begin());
        }
        offset_ += static_cast<std::int64_t>(bytes.size());
    }

    bool identical() const { return identical_; }

private:
    platform::ByteSink& out_;
    platform::RandomReader& original_;
    bool identical_;
    std::int64_t offset_ = 0;
    std::vector<std::uint8_t> old_;
};

void writeContent(const CLiedkramEntry& entry, const Plan& plan, platform::File& in, platform::ByteSink& out,
                  std::int64_t fileLength, const std::optional<HeadFrame>& head)
{
    const std::int64_t start = entry.m_nAudioStart;
    const std::int64_t end = entry.m_nAudioEnd;
    // The new ID3v2 tag takes the place of the old one.
    out.write(plan.frontTag.bytes);
    const std::int64_t frontFrom = plan.frontTag.replaced;
    if (head) {
        // The head frame goes first, describing the frames that follow it.
        const std::int64_t from = plan.keepFront ? head->end() : std::max(start, head->end());
        if (plan.keepFront)
            copyBytes(in, out, frontFrom, std::max<std::int64_t>(0, head->at - frontFrom));
        out.write(rewrittenHeadFrame(*head, in, from, end, plan.rewriteHeaders, entry.m_dwHeader));
        copyAudio(in, out, from, end, plan.rewriteHeaders, entry.m_dwHeader);
    } else {
        if (plan.keepFront)
            copyBytes(in, out, frontFrom, start - frontFrom);
        copyAudio(in, out, start, end, plan.rewriteHeaders, entry.m_dwHeader);
    }
    if (plan.keepBack)
        copyBytes(in, out, end, fileLength - end);
    else
        copyBytes(in, out, plan.keptTagsStart, plan.keptTagsSize);
    if (plan.appendTag) {
        const auto tag = tags::buildId3v1({entry.m_szTitle.view(), entry.m_szArtist.view(), entry.m_szAlbum.view(),
                                           entry.m_nYear, entry.m_szComment.view(), entry.m_nTrack, entry.m_nGenre});
        out.write(tag);
    }
}

// The entry tells of the tag the file now begins with.
void noteFrontTag(CLiedkramEntry& entry, const std::vector<std::uint8_t>& tag)
{
    entry.m_nFrontTagBytes = static_cast<int>(tag.size());
    entry.m_bHasId3v2 = tags::startsWithId3v23(tag) ? 1 : 0;
    entry.m_nTagKinds =
        (entry.m_nTagKinds & ~(tags::kTagId3v22 | tags::kTagId3v23 | tags::kTagId3v24)) | tags::frontId3v2Kind(tag[3]);
}

void reportUnchanged(const CLiedkramEntry& entry, const std::string& why)
{
    platform::prompter().showMessage("Unable to rewrite " + entry.m_szFileName.str() + " " + why +
                                     " -> file unchanged.");
}

// The file is still the one that was listed: its size and, when it was
// loaded in this run, its modification time; for an entry from a list file,
// whose time is not known, the frames at the audio start that the offsets
// rely on.
bool matchesEntry(const CLiedkramEntry& entry, platform::File& in, const platform::FileStamp& stamp)
{
    if (entry.m_bNeedsRescan || stamp.size != entry.m_nFileSize || entry.m_nAudioStart < 0 ||
        entry.m_nAudioStart > entry.m_nAudioEnd || entry.m_nAudioEnd > stamp.size)
        return false;
    if (entry.m_nModifiedNs != 0)
        return stamp.modifiedNs == entry.m_nModifiedNs;
    if (entry.m_nAudioStart == entry.m_nAudioEnd)
        return true;
    std::vector<std::uint8_t> first(
        std::min<std::size_t>(kChainProbeSize, static_cast<std::size_t>(entry.m_nAudioEnd - entry.m_nAudioStart)));
    first.resize(in.readAt(entry.m_nAudioStart, first));
    return mpeg::startsAcceptedChain(first);
}

// Whether anything wrote to the file, or put another file in its place,
// while its new content was being made.
bool changedMeanwhile(platform::File& in, const std::string& path, const platform::FileStamp& stamp)
{
    return in.stamp() != stamp || platform::findFileStamp(path) != stamp;
}

// The replacement goes into the journal before it is made. Where the
// original cannot be kept, the user decides whether to go on without.
bool journalReplacement(history::ChangeSet& changes, platform::File& in, const platform::ReplacementFile& replacement)
{
    const std::string& path = replacement.target();
    if (changes.recordReplacement(in, path, replacement.stamp(), replacement.temporaryPath()))
        return true;
    const platform::Answer answer =
        platform::prompter().askYesNo("'" + path +
                                      "': Das Original kann nirgends aufbewahrt werden; die \xC3\x84nderung ist dann "
                                      "nicht r\xC3\xBC"
                                      "ckg\xC3\xA4ngig zu machen. Trotzdem \xC3\xA4ndern?");
    if (answer != platform::Answer::Yes)
        return false;
    changes.recordUnkeptReplacement(path, in.stamp(), replacement.stamp(), replacement.temporaryPath());
    return true;
}

// Why the file must not be rewritten now, before anything is written; empty when it may.
std::string refusal(const CLiedkramEntry& entry, platform::File& in, const platform::FileStamp& stamp)
{
    if (!mpeg::hasMp3Content(in, stamp.size))
        return "(it is not an MP3 file)";
    // Offsets of an entry that no longer matches its file would cut the wrong bytes.
    if (!matchesEntry(entry, in, stamp))
        return kChangedSinceListed;
    // The new content could not be given back to its owner.
    if (::geteuid() != 0 && in.owner().user != ::geteuid())
        return "(it belongs to another user)";
    // Replacing the file would leave its other names with the old content;
    // names under which the journal keeps the old content are meant to.
    const std::uint64_t links = in.linkCount();
    if (links > 1 && links - 1 != history::keptNamesOf(history::dataDirectory(), entry.GetFullPath()))
        return "(it has further hard links)";
    return {};
}

ContentOutcome rewriteContent(CLiedkramEntry& entry, const platform::RepairSettings& settings,
                              history::ChangeSet* changes)
{
    const std::string path = entry.GetFullPath();
    platform::File in;
    try {
        // Without blocking: a FIFO or device a list names is never waited for.
        in = platform::File::openRegular(path);
        if (::access(path.c_str(), W_OK) != 0)
            throw platform::FileError::fromErrno(errno, path, "cannot write");
    } catch (const platform::File::NotRegular&) {
        reportUnchanged(entry, "(it is not a regular file)");
        return ContentOutcome::Refused;
    } catch (const platform::FileError&) {
        platform::prompter().showFileMessage(path, "Cant open mp3 4 rw");
        return ContentOutcome::OpenFailed;
    }

    try {
        const platform::FileStamp stamp = in.stamp();
        if (const std::string why = refusal(entry, in, stamp); !why.empty()) {
            reportUnchanged(entry, why);
            return ContentOutcome::Refused;
        }
        const std::int64_t fileLength = stamp.size;
        const entry::BackLayout back = entry::backLayout(in, fileLength, entry.m_nAudioStart);
        // Only where audio is cut or changed does the head frame need a look.
        std::optional<HeadFrame> head;
        if (hasVerifiedAudio(entry) && (entry.m_nFlags & (ENTRY_CUT_FRONT | ENTRY_CUT_BACK | ENTRY_HEADER_DIRTY)))
            head = findHeadFrame(in, fileLength, entry.m_nAudioStart);
        const std::int64_t headInFront = head && head->end() <= entry.m_nAudioStart ? head->end() - head->at : 0;
        std::optional<FrontTag> frontTag;
        const bool writesId3v2 = settings.writeId3v2;
        if (writesId3v2)
            frontTag = makeFrontTag(entry, in, fileLength);
        const Plan plan = makePlan(entry, settings, fileLength, back, headInFront, std::move(frontTag));
        // The entry's offsets and sizes are 32-bit.
        if (plan.fileSize > std::numeric_limits<std::int32_t>::max()) {
            reportUnchanged(entry, "(it would be 2 GiB or larger)");
            return ContentOutcome::Refused;
        }
        // An ID3v2 tag holds every text of the entry whole.
        if (plan.appendTag && plan.frontTag.bytes.empty())
            warnIfTooLong(entry);
        // Without a tag written in its place, a cut front takes the old tag's texts along.
        warnOfLostCharacters(entry, writesId3v2 || !plan.cutFront ? plan.frontTag.lostCharacters
                                                                  : charactersLostWithFrontTag(entry, in, fileLength));
        // Replacing a file that another program writes to would lose what it
        // writes; a writer who comes later breaks the lease. Taken only now,
        // so no writer waits for the user.
        const platform::Lease lease = in.takeReadLease();
        if (lease == platform::Lease::InUse) {
            reportUnchanged(entry, kInUse);
            return ContentOutcome::Refused;
        }
        const auto writerCame = [&] { return lease == platform::Lease::Taken && in.leaseBroken(); };
        if (plan.changesFile) {
            platform::ReplacementFile replacement(path);
            ComparingSink out(replacement.file(), in, plan.fileSize == fileLength);
            writeContent(entry, plan, in, out, fileLength, head);
            // Content that is already there is not written again, nor kept twice.
            if (!out.identical()) {
                replacement.prepareLike(in);
                if (changes && !journalReplacement(*changes, in, replacement))
                    return ContentOutcome::Refused;
                // The last look, right before the new content takes the file's place.
                const platform::FileStamp after = replacement.stamp();
                const bool writer = writerCame();
                if (writer || changedMeanwhile(in, path, stamp) || !replacement.commit(stamp)) {
                    if (changes)
                        changes->withdrawLast();
                    reportUnchanged(entry, writer ? kInUse : kChangedSinceListed);
                    return ContentOutcome::Refused;
                }
                entry.m_nModifiedNs = after.modifiedNs;
            }
        }
        entry.m_nAudioStart = static_cast<int>(plan.audioStart);
        entry.m_nAudioEnd = static_cast<int>(plan.audioEnd);
        entry.m_nFileSize = static_cast<int>(plan.fileSize);
        entry.m_nFlags = plan.flags;
        entry.m_nBackTagBytes = static_cast<int>(plan.keepBack ? entry.m_nBackTagBytes : plan.keptTagsSize);
        if (plan.cutFront)
            entry.m_bHasId3v2 = 0;
        if (!plan.frontTag.bytes.empty())
            noteFrontTag(entry, plan.frontTag.bytes);
        if (plan.appendTag)
            entry.m_nTagKinds |= tags::kTagId3v1;
        return ContentOutcome::Done;
    } catch (const platform::FileError& error) {
        reportUnchanged(entry, "cause: " + error.causeText());
    } catch (const platform::OutOfBytes&) {
        // The file ended before the length it had when the work began.
        reportUnchanged(entry, "cause: " + platform::causeText(platform::FileCause::EndOfFile));
    } catch (const std::exception& error) {
        reportUnchanged(entry, std::string("(") + error.what() + ")");
    }
    return ContentOutcome::Failed;
}

}  // namespace

RewriteOutcome RewriteFile(CLiedkramEntry& entry, const platform::RepairSettings& settings, history::ChangeSet* changes)
{
    ContentOutcome content = ContentOutcome::Done;
    if (!(entry.m_nFlags & ENTRY_SCAN_ERROR) && (entry.m_nFlags & ENTRY_REWRITE_MASK))
        content = rewriteContent(entry, settings, changes);
    if (content == ContentOutcome::Failed)
        return RewriteOutcome::Failed;
    if (content == ContentOutcome::Refused)
        return RewriteOutcome::NotDone;
    // A file that cannot be opened for writing is still renamed.
    const bool renamed = !(entry.m_nFlags & ENTRY_RENAME) || renameEntryFile(entry, changes);
    return content == ContentOutcome::Done && renamed ? RewriteOutcome::Done : RewriteOutcome::NotDone;
}

}  // namespace autoedit
