#include "entry/audio_start.h"
#include "entry/brava_trailer.h"
#include "entry/file_name_parser.h"
#include "entry/id3v1_reading.h"
#include "entry/id3v2_reading.h"
#include "entry/liedkram_entry.h"
#include "mpeg/fast_estimate.h"
#include "mpeg/first_header_search.h"
#include "mpeg/frame_chain.h"
#include "mpeg/stream_scan.h"
#include "platform/file.h"
#include "platform/file_error.h"
#include "platform/prompter.h"
#include "platform/repair_settings.h"
#include "platform/text.h"
#include "tags/back_tags.h"
#include "tags/id3v1.h"
#include "tags/id3v2.h"
#include "tags/id3v2_fields.h"
#include "tags/tag_kinds.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

// The entry's offsets and sizes are 32-bit.
constexpr std::int64_t kMaxFileSize = std::numeric_limits<std::int32_t>::max();

bool startsDamaged(const TextField& field)
{
    return !field.empty() && (field.view()[0] == '?' || field.view()[0] == '_');
}

// A name-derived value replaces an empty or damaged field, or any field when
// the user forces it. A text of the ID3v2 tag is no damaged one, whatever it
// begins with.
void mergeFromName(TextField& field, const std::string& derived, bool force, bool fromId3v2, std::uint32_t& flags)
{
    if (derived.empty() || platform::equalsIgnoreAsciiCase(derived, field.view()))
        return;
    if (field.empty() || (!fromId3v2 && startsDamaged(field)) || force) {
        field = derived;
        flags |= ENTRY_TAG_DIRTY;
    }
}

void skip(CLiedkramEntry& entry, entry::LoadOutcome outcome, const std::string& message)
{
    platform::prompter().showMessage(message);
    entry.m_dwHeader = 0;
    entry.m_loadOutcome = outcome;
}

// A stream of a kind the program does not process is listed with what its
// frames say and marked so that no repair touches its content.
void measureForeignStream(CLiedkramEntry& entry, platform::RandomReader& file, const std::string& fullPath)
{
    platform::prompter().showMessage("'" + fullPath + "': " + mpeg::streamKindText(entry.m_dwHeader) +
                                     " is not supported -> file listed, not repaired.");
    entry.m_nFlags |= ENTRY_SCAN_ERROR;
    entry.m_bVerified = 0;
    entry.m_loadOutcome = entry::LoadOutcome::ForeignStream;
    try {
        const auto measure = mpeg::measureFrameChain(file, entry.m_nAudioStart, entry.m_nAudioEnd);
        entry.m_nAudioEnd = static_cast<int>(measure.end);
        entry.m_nFrames = measure.frames;
        entry.m_nLengthMs = measure.lengthMs;
        entry.m_nBitrate = measure.bitrate;
    } catch (const platform::FileError& error) {
        platform::prompter().showMessage("Can't read '" + fullPath + "' cause: " + error.causeText());
    }
}

}  // namespace

void CLiedkramEntry::LoadFromFile(const std::string& fullPath, const platform::RepairSettings& settings)
{
    m_loadOutcome = entry::LoadOutcome::Loaded;
    platform::File file;
    try {
        // Without blocking: a FIFO or a device is never waited for, nor read.
        file = platform::File::openRegular(fullPath);
    } catch (const platform::FileError&) {
        skip(*this, entry::LoadOutcome::Unreadable, "Can't open '" + fullPath + "' -> file skipped.");
        return;
    }
    bool foreign = false;
    entry::TakenTexts fromId3v2;
    // The first read holds a small file whole; everything else reads it from there.
    std::vector<std::uint8_t> first;
    platform::MemoryReader whole(first);
    platform::RandomReader* source = &file;

    try {
        const platform::FileStamp stamp = file.stamp();
        const std::int64_t fileSize = stamp.size;
        if (fileSize > kMaxFileSize) {
            skip(*this, entry::LoadOutcome::TooLarge, "'" + fullPath + "' is too large (2 GiB or more) -> skipped.");
            return;
        }
        m_nFileSize = static_cast<int>(fileSize);
        m_nModifiedNs = stamp.modifiedNs;
        m_nGenre = -1;
        m_nTrack = 0;
        m_nAudioEnd = m_nFileSize;
        m_nAudioStart = 0;

        first.resize(static_cast<std::size_t>(std::min<std::int64_t>(fileSize, mpeg::kHeaderSearchBytes)));
        first.resize(file.readAt(0, first));
        if (static_cast<std::int64_t>(first.size()) == fileSize) {
            whole = platform::MemoryReader(first);
            source = &whole;
        }
        m_bHasId3v2 = tags::startsWithId3v23(first) ? 1 : 0;
        const auto found = entry::findAudioStart(*source, fileSize, first);
        if (!found) {
            skip(*this, entry::LoadOutcome::NoHeader,
                 "'" + fullPath + "' is no valid *.mp3 (no header in first 128k) -> skipped.");
            return;
        }
        m_dwHeader = found->word;
        m_nAudioStart = static_cast<int>(found->position);
        foreign = found->foreign;
        const std::vector<std::uint8_t> frontTag = entry::frontTagBytes(*source, fileSize, first);

        const std::int64_t probeSize = std::min<std::int64_t>(fileSize, entry::kTagProbeSize);
        std::vector<std::uint8_t> tail(static_cast<std::size_t>(probeSize));
        tail.resize(source->readAt(fileSize - probeSize, tail));
        const bool hasTag = entry::readId3v1Into(*this, tail, fileSize);
        if (hasTag)
            m_nTagKinds |= tags::kTagId3v1;
        if (!frontTag.empty()) {
            m_nTagKinds |= tags::frontId3v2Kind(frontTag[3]);
            // Pictures give no field: TagLib is spared copying them.
            const auto textFrames = tags::withoutPictures(frontTag);
            // A tag TagLib cannot read gives no fields, and is front junk.
            if (const auto fields = tags::readId3v2Fields(textFrames ? *textFrames : frontTag)) {
                fromId3v2 = entry::mergeId3v2Into(*this, *fields, hasTag);
                m_nFrontTagBytes = static_cast<int>(frontTag.size());
            }
        }
        if (hasTag && tail.size() == entry::kTagProbeSize)
            entry::readBravaTrailer(*this, *source, fileSize, std::span(tail).first(entry::kTrailerEndSize));
        if (m_nAudioEnd > m_nAudioStart) {
            const bool beforeId3v1 = hasTag && m_nAudioEnd == fileSize - static_cast<std::int64_t>(tags::kId3v1Size);
            const auto back = tags::findBackTags(*source, m_nAudioStart, m_nAudioEnd, beforeId3v1);
            m_nBackTagBytes = static_cast<int>(m_nAudioEnd - back.start);
            m_nAudioEnd = static_cast<int>(back.start);
            m_nTagKinds |= back.kinds;
        }
        // A header found inside the tag leaves no audio in front of it.
        m_nAudioEnd = std::max(m_nAudioEnd, m_nAudioStart);
        if (source == &whole)
            file.close();
    } catch (const platform::FileError& error) {
        skip(*this, entry::LoadOutcome::Unreadable,
             "Can't read '" + fullPath + "' -> file skipped. cause: " + error.causeText());
        return;
    }

    const auto parts = entry::parseFileName(platform::utf8ToCp1252(m_szFileName.view()));
    mergeFromName(m_szTitle, parts.title, settings.forceNames, fromId3v2.title, m_nFlags);
    mergeFromName(m_szArtist, parts.artist, settings.forceNames, fromId3v2.artist, m_nFlags);

    if (foreign) {
        measureForeignStream(*this, *source, fullPath);
    } else if (settings.scanAll) {
        ScanBlocks(*source);
    } else {
        const auto measure = mpeg::fastEstimate(m_dwHeader, m_nAudioEnd - m_nAudioStart);
        m_nBitrate = measure.bitrate;
        m_nLengthMs = measure.lengthMs;
        m_nFrames = measure.frames;
    }
    UpdateCutFlags(settings);
    assert(HasPossibleRange());
}

void CLiedkramEntry::ScanBlocks(platform::RandomReader& file)
{
    m_bVerified = 1;
    mpeg::ScanResult result;
    try {
        result = mpeg::scanBlocks(file, m_nAudioStart, m_nAudioEnd);
    } catch (const platform::FileError& error) {
        platform::prompter().showMessage("Can't read '" + GetFullPath() + "' cause: " + error.causeText());
        m_bVerified = 0;
        m_nFlags |= ENTRY_SCAN_ERROR;
        return;
    }

    if (result.damage) {
        platform::prompter().showMessage(mpeg::listedDespiteDamageText(m_szFileName.view(), *result.damage));
        m_nFlags |= ENTRY_SCAN_ERROR;
        m_bVerified = 0;
    }
    if (result.outcome == mpeg::ScanOutcome::NoMusic) {
        // No music found, or nothing left of it after a resync: keep the audio
        // range rather than calling it all junk, and measure from the first header.
        const auto measure = mpeg::fastEstimate(m_dwHeader, m_nAudioEnd - m_nAudioStart);
        m_nLengthMs = measure.lengthMs;
        m_nBitrate = measure.bitrate;
        m_nFrames = measure.frames;
        m_bVerified = 0;
        return;
    }
    m_nAudioStart = result.audioStart;
    m_nAudioEnd = result.audioEnd;
    m_nLengthMs = result.lengthMs;
    m_nBitrate = result.bitrate;
    m_nFrames = result.frames;
}

void CLiedkramEntry::UpdateCutFlags(const platform::RepairSettings& settings)
{
    if (settings.cutBack && m_nAudioEnd != m_nFileSize) {
        // Only tags behind the audio, which the cut keeps, and an ID3v1 tag:
        // cut only to write a new one.
        const std::int64_t junk = std::int64_t{m_nFileSize} - m_nAudioEnd - m_nBackTagBytes;
        const bool onlyTags = junk == 0 || junk == static_cast<std::int64_t>(tags::kId3v1Size);
        if (!onlyTags || (m_nFlags & ENTRY_TAG_DIRTY))
            m_nFlags |= ENTRY_CUT_BACK;
    }
    // An ID3v2 tag that a rewrite keeps is no front junk.
    const int keptFront = settings.writeId3v2 ? m_nFrontTagBytes : 0;
    if (settings.cutFront && m_nAudioStart > keptFront)
        m_nFlags |= ENTRY_CUT_FRONT;
}
