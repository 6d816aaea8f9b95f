#include "entry/brava_trailer.h"

#include "entry/liedkram_entry.h"
#include "platform/byte_reader.h"
#include "platform/prompter.h"
#include "platform/random_reader.h"
#include "platform/text.h"
#include "tags/id3v1.h"

#include <array>
#include <optional>
#include <string>

namespace entry {

namespace {

constexpr std::size_t kMarkOffset = 20;
constexpr std::size_t kStartPositionOffset = 0;
constexpr std::size_t kRecordsPositionOffset = 16;
constexpr std::size_t kRecordAreaSize = 384;
constexpr int kMaxTextRecord = 80;
constexpr int kMaxDiscIdRecord = 20;
constexpr int kSkippedRecords = 6;
constexpr std::size_t kSkippedBytes = 12;

// The text of a record of the area, whose signed 16-bit length was just
// read. A negative length is an empty record and moves the reading back; one
// that points in front of the area leaves no record behind it.
std::string recordText(platform::ByteCursor& records, int length)
{
    if (length >= 0) {
        const auto text = records.bytes(static_cast<std::size_t>(length));
        return std::string(reinterpret_cast<const char*>(text.data()), text.size());
    }
    const long target = static_cast<long>(records.position()) + length;
    records.seek(target < 0 ? records.size() : static_cast<std::size_t>(target));
    return {};
}

std::string nextRecord(platform::ByteCursor& records)
{
    return recordText(records, records.i16le());
}

void appendAfterComma(TextField& field, std::string_view text)
{
    if (!field.empty())
        field.append(", ");
    field.append(text);
}

bool differsFrom(const std::string& record, const TextField& field)
{
    return !record.empty() && !platform::equalsIgnoreAsciiCase(record, field.view());
}

void reportBuggy(const char* what, const CLiedkramEntry& entry)
{
    platform::prompter().showMessage(std::string(what) + platform::cp1252ToUtf8(entry.m_szTitle.view()));
}

// Reads a title, album or artist record; reports one that is too long.
std::optional<std::string> textRecord(platform::ByteCursor& records, const char* buggyText, const CLiedkramEntry& entry)
{
    const int length = records.i16le();
    if (length > kMaxTextRecord) {
        reportBuggy(buggyText, entry);
        return std::nullopt;
    }
    return recordText(records, length);
}

// Merges the texts of the records into the entry; a record that runs past
// the area throws platform::OutOfBytes, and what was merged before stays.
void mergeRecords(CLiedkramEntry& entry, std::span<const std::uint8_t> area)
{
    platform::ByteCursor records(area);

    // All three are read and checked before any of them is applied, so a
    // buggy record leaves the entry as the tag had it.
    const auto title = textRecord(records, "Brava-Title is buggy: ", entry);
    if (!title)
        return;
    const auto album = textRecord(records, "Brava-Album is buggy: ", entry);
    if (!album)
        return;
    const auto artist = textRecord(records, "Brava-Artist is buggy: ", entry);
    if (!artist)
        return;

    if (differsFrom(*title, entry.m_szTitle)) {
        if (entry.m_szTitle.empty())
            entry.m_szTitle = *title;
        else
            appendAfterComma(entry.m_szComment, *title);
    }
    if (differsFrom(*album, entry.m_szAlbum))
        appendAfterComma(entry.m_szAlbum, *album);
    if (differsFrom(*artist, entry.m_szArtist))
        appendAfterComma(entry.m_szArtist, *artist);

    for (int i = 0; i < kSkippedRecords; ++i)
        nextRecord(records);
    records.skip(kSkippedBytes);
    nextRecord(records);

    const int discLength = records.i16le();
    if (discLength > kMaxDiscIdRecord) {
        reportBuggy("Brava-CDDB is buggy: ", entry);
        return;
    }
    const std::string discId = recordText(records, discLength);
    if (!discId.empty())
        appendAfterComma(entry.m_szComment, "#" + discId);
}

}  // namespace

std::optional<TrailerPlace> findBravaTrailer(platform::RandomReader& file, std::int64_t fileSize,
                                             std::int64_t audioStart, std::span<const std::uint8_t> bytesBeforeTag)
{
    const platform::ByteReader end(bytesBeforeTag);
    if (!end.has(0, kTrailerEndSize))
        return std::nullopt;
    if (end.u8(kMarkOffset) != 'B' || end.u8(kMarkOffset + 1) != 'r' || end.u8(kMarkOffset + 2) != 'a' ||
        end.u8(kMarkOffset + 3) != 'v')
        return std::nullopt;

    // Both positions count from 1.
    const std::int64_t trailerStart = static_cast<std::int64_t>(end.u32le(kStartPositionOffset)) - 1;
    const std::int64_t recordStart = static_cast<std::int64_t>(end.u32le(kRecordsPositionOffset)) - 1;
    const std::int64_t tagStart = fileSize - static_cast<std::int64_t>(tags::kId3v1Size);
    if (trailerStart < audioStart || trailerStart > tagStart || recordStart < 0 || recordStart >= fileSize)
        return std::nullopt;

    // A second ID3v1 tag may stand in front of the trailer.
    const std::int64_t secondTagStart = trailerStart - static_cast<std::int64_t>(tags::kId3v1Size);
    std::array<std::uint8_t, 3> mark{};
    const bool secondTag = secondTagStart >= audioStart && file.readAt(secondTagStart, mark) == mark.size() &&
                           mark[0] == 'T' && mark[1] == 'A' && mark[2] == 'G';
    return TrailerPlace{secondTag ? secondTagStart : trailerStart, recordStart};
}

void readBravaTrailer(CLiedkramEntry& entry, platform::RandomReader& file, std::int64_t fileSize,
                      std::span<const std::uint8_t> bytesBeforeTag)
{
    const auto place = findBravaTrailer(file, fileSize, entry.m_nAudioStart, bytesBeforeTag);
    if (!place)
        return;
    entry.m_nAudioEnd = static_cast<int>(place->audioEnd);

    std::array<std::uint8_t, kRecordAreaSize> area{};
    const std::size_t got = file.readAt(place->recordStart, area);
    try {
        mergeRecords(entry, std::span<const std::uint8_t>(area.data(), got));
    } catch (const platform::OutOfBytes&) {
        // The records end with the area: no more texts to merge.
    }
}

}  // namespace entry
