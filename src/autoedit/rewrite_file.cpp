#include "autoedit/rewrite_file.h"

#include "autoedit/file_rename.h"
#include "autoedit/header_pass.h"
#include "entry/liedkram_entry.h"
#include "platform/file.h"
#include "platform/file_error.h"
#include "platform/prompter.h"
#include "platform/replacement_file.h"
#include "platform/settings.h"
#include "tags/id3v1.h"

#include <cerrno>
#include <unistd.h>

namespace autoedit {

namespace {

constexpr std::size_t kTextWidth = 30;
constexpr std::size_t kCommentWidth = 29;

// What the file will look like; applied to the entry only once the new
// content is in place.
struct Plan {
    bool cutFront = false;
    bool rewriteHeaders = false;
    bool keepFront = true;
    bool keepBack = true;
    bool appendTag = false;
    std::int64_t audioStart = 0;
    std::int64_t audioEnd = 0;
    std::int64_t fileSize = 0;
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

Plan makePlan(const CLiedkramEntry& entry, std::int64_t fileLength)
{
    Plan plan;
    const std::uint32_t flags = entry.m_nFlags;
    const std::int64_t start = entry.m_nAudioStart;
    const std::int64_t end = entry.m_nAudioEnd;
    plan.flags = flags;
    plan.audioStart = start;
    plan.audioEnd = end;
    plan.fileSize = fileLength;

    if (flags & (ENTRY_CUT_FRONT | ENTRY_CUT_BACK | ENTRY_HEADER_DIRTY)) {
        const bool verified = entry.m_bVerified == 1 && start < end;
        plan.rewriteHeaders = verified && (flags & ENTRY_HEADER_DIRTY);
        plan.cutFront = verified && (flags & ENTRY_CUT_FRONT);
        plan.keepFront = !plan.cutFront;
        // Without the back cut, a tag or trailer behind the audio stays.
        plan.keepBack = !(flags & ENTRY_CUT_BACK);
        plan.audioStart = plan.cutFront ? 0 : start;
        plan.audioEnd = plan.audioStart + (end - start);
        plan.fileSize = plan.audioEnd + (plan.keepBack ? fileLength - end : 0);
        plan.flags &= ~(ENTRY_CUT_FRONT | ENTRY_CUT_BACK | ENTRY_HEADER_DIRTY);
        plan.changesFile = plan.cutFront || plan.rewriteHeaders || !plan.keepBack;
    }
    if (platform::isExactlyOne(platform::Setting::SetID3) && plan.fileSize == plan.audioEnd) {
        plan.appendTag = true;
        plan.fileSize += static_cast<std::int64_t>(tags::kId3v1Size);
        plan.flags &= ~ENTRY_TAG_DIRTY;
        plan.changesFile = true;
    }
    return plan;
}

void writeContent(const CLiedkramEntry& entry, const Plan& plan, platform::File& in, platform::File& out,
                  std::int64_t fileLength)
{
    const std::int64_t start = entry.m_nAudioStart;
    const std::int64_t end = entry.m_nAudioEnd;
    if (plan.keepFront)
        copyBytes(in, out, 0, start);
    copyAudio(in, out, start, end, plan.rewriteHeaders, entry.m_dwHeader);
    if (plan.keepBack)
        copyBytes(in, out, end, fileLength - end);
    if (plan.appendTag) {
        warnIfTooLong(entry);
        const auto tag = tags::buildId3v1({entry.m_szTitle.view(), entry.m_szArtist.view(), entry.m_szAlbum.view(),
                                           entry.m_nYear, entry.m_szComment.view(), entry.m_nTrack,
                                           entry.m_nGenre});
        out.write(tag);
    }
}

void reportUnchanged(const CLiedkramEntry& entry, const std::string& why)
{
    platform::prompter().showMessage("Unable to rewrite " + entry.m_szFileName.str() + " " + why +
                                     " -> file unchanged.");
}

void rewriteContent(CLiedkramEntry& entry)
{
    const std::string path = entry.GetFullPath();
    platform::File in;
    try {
        in = platform::File(path, platform::File::Mode::Read);
        if (::access(path.c_str(), W_OK) != 0)
            throw platform::FileError::fromErrno(errno, path, "cannot write");
    } catch (const platform::FileError&) {
        platform::prompter().showMessage("Cant open mp3 4 rw");
        return;
    }

    try {
        // Replacing the file would leave its other names with the old content.
        if (in.linkCount() > 1) {
            reportUnchanged(entry, "(it has further hard links)");
            return;
        }
        const std::int64_t fileLength = in.length();
        // Offsets of an entry that no longer matches its file would cut the wrong bytes.
        if (fileLength != entry.m_nFileSize || entry.m_nAudioStart < 0 ||
            entry.m_nAudioStart > entry.m_nAudioEnd || entry.m_nAudioEnd > fileLength) {
            reportUnchanged(entry, "(the file has changed since it was listed)");
            return;
        }
        const Plan plan = makePlan(entry, fileLength);
        if (plan.changesFile) {
            platform::ReplacementFile replacement(path);
            writeContent(entry, plan, in, replacement.file(), fileLength);
            replacement.commit();
        }
        entry.m_nAudioStart = static_cast<int>(plan.audioStart);
        entry.m_nAudioEnd = static_cast<int>(plan.audioEnd);
        entry.m_nFileSize = static_cast<int>(plan.fileSize);
        entry.m_nFlags = plan.flags;
        if (plan.cutFront)
            entry.m_bHasId3v2 = 0;
    } catch (const platform::FileError& error) {
        reportUnchanged(entry, "cause: " + std::to_string(error.causeNumber()));
    } catch (const std::exception& error) {
        reportUnchanged(entry, std::string("(") + error.what() + ")");
    }
}

}  // namespace

void RewriteFile(CLiedkramEntry& entry)
{
    const std::uint32_t work = ENTRY_TAG_DIRTY | ENTRY_CUT_FRONT | ENTRY_CUT_BACK | ENTRY_HEADER_DIRTY;
    if (!(entry.m_nFlags & ENTRY_SCAN_ERROR) && (entry.m_nFlags & work))
        rewriteContent(entry);
    if (entry.m_nFlags & ENTRY_RENAME)
        renameEntryFile(entry);
}

}  // namespace autoedit
