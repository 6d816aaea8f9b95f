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

// Walks the records of the area: a signed 16-bit length, then the text.
class RecordReader {
public:
    explicit RecordReader(std::span<const std::uint8_t> area) : area_(area) {}

    // The length of the next record, or nothing when it lies outside the area.
    std::optional<int> nextLength() const
    {
        if (!area_.has(at_, 2))
            return std::nullopt;
        return area_.i16le(at_);
    }

    // The next record's text, then moves behind it; nothing when the record
    // lies outside the area. A negative length is an empty record.
    std::optional<std::string> next()
    {
        const auto length = nextLength();
        if (!length)
            return std::nullopt;
        std::string text;
        if (*length > 0) {
            if (!area_.has(at_ + 2, static_cast<std::size_t>(*length)))
                return std::nullopt;
            const auto bytes = area_.bytes(at_ + 2, static_cast<std::size_t>(*length));
            text.assign(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        }
        // A negative length can point in front of the area: then no record follows.
        const long target = static_cast<long>(at_) + 2 + *length;
        at_ = target < 0 ? area_.size() + 1 : static_cast<std::size_t>(target);
        return text;
    }

    bool skip(std::size_t bytes)
    {
        at_ += bytes;
        return at_ <= area_.size();
    }

private:
    platform::ByteReader area_;
    std::size_t at_ = 0;
};

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
std::optional<std::string> textRecord(RecordReader& records, const char* buggyText, const CLiedkramEntry& entry)
{
    const auto length = records.nextLength();
    if (length && *length > kMaxTextRecord) {
        reportBuggy(buggyText, entry);
        return std::nullopt;
    }
    return records.next();
}

void mergeRecords(CLiedkramEntry& entry, std::span<const std::uint8_t> area)
{
    RecordReader records(area);

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

    for (int i = 0; i < kSkippedRecords; ++i) {
        if (!records.next())
            return;
    }
    if (!records.skip(kSkippedBytes) || !records.next())
        return;

    const auto discLength = records.nextLength();
    if (discLength && *discLength > kMaxDiscIdRecord) {
        reportBuggy("Brava-CDDB is buggy: ", entry);
        return;
    }
    const auto discId = records.next();
    if (discId && !discId->empty())
        appendAfterComma(entry.m_szComment, "#" + *discId);
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
    mergeRecords(entry, std::span<const std::uint8_t>(area.data(), got));
}

}  // namespace entry
