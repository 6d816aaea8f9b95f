#include "tags/back_tags.h"

#include "platform/byte_reader.h"
#include "platform/random_reader.h"
#include "tags/id3v2.h"
#include "tags/tag_kinds.h"

#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace tags {

namespace {

constexpr std::size_t kApeFooterSize = 32;
constexpr std::uint32_t kApeHeaderPresent = 0x80000000u;
constexpr std::size_t kLyricsEndSize = 15;  // six digits of size, "LYRICS200"
constexpr std::size_t kLyricsSizeDigits = 6;
constexpr std::size_t kTagPlusSize = 227;
constexpr std::size_t kId3v2FooterSize = 10;
// More tags than this behind the audio are taken for damage.
constexpr int kMaxBackTags = 8;

struct Found {
    std::int64_t start = 0;
    unsigned kind = 0;
};

bool startsWith(std::span<const std::uint8_t> bytes, std::string_view text)
{
    return bytes.size() >= text.size() && std::equal(text.begin(), text.end(), bytes.begin());
}

// The bytes [at, at + count) of the file, or nothing when it lacks them.
std::optional<std::vector<std::uint8_t>> readExactly(platform::RandomReader& file, std::int64_t at, std::size_t count)
{
    if (at < 0)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(count);
    if (file.readAt(at, bytes) != count)
        return std::nullopt;
    return bytes;
}

std::optional<Found> apeTagEndingAt(platform::RandomReader& file, std::int64_t lowest, std::int64_t end)
{
    const auto footer = readExactly(file, end - static_cast<std::int64_t>(kApeFooterSize), kApeFooterSize);
    if (!footer || !startsWith(*footer, "APETAGEX"))
        return std::nullopt;
    const platform::ByteReader reader(*footer);
    const std::uint32_t size = reader.u32le(12);  // items and footer
    const std::uint32_t flags = reader.u32le(20);
    if (size < kApeFooterSize)
        return std::nullopt;
    const bool header = flags & kApeHeaderPresent;
    const std::int64_t start = end - size - (header ? static_cast<std::int64_t>(kApeFooterSize) : 0);
    if (start < lowest)
        return std::nullopt;
    if (header) {
        const auto head = readExactly(file, start, 8);
        if (!head || !startsWith(*head, "APETAGEX"))
            return std::nullopt;
    }
    return Found{start, kTagApeV2};
}

std::optional<Found> lyricsEndingAt(platform::RandomReader& file, std::int64_t lowest, std::int64_t end)
{
    const auto tail = readExactly(file, end - static_cast<std::int64_t>(kLyricsEndSize), kLyricsEndSize);
    if (!tail || !startsWith(std::span(*tail).subspan(kLyricsSizeDigits), "LYRICS200"))
        return std::nullopt;
    std::int64_t size = 0;
    for (std::size_t i = 0; i < kLyricsSizeDigits; ++i) {
        const std::uint8_t digit = (*tail)[i];
        if (digit < '0' || digit > '9')
            return std::nullopt;
        size = size * 10 + (digit - '0');
    }
    // The size counts from "LYRICSBEGIN" to the size digits.
    const std::int64_t start = end - static_cast<std::int64_t>(kLyricsEndSize) - size;
    if (start < lowest)
        return std::nullopt;
    const auto begin = readExactly(file, start, 11);
    if (!begin || !startsWith(*begin, "LYRICSBEGIN"))
        return std::nullopt;
    return Found{start, kTagLyrics3v2};
}

std::optional<Found> tagPlusEndingAt(platform::RandomReader& file, std::int64_t lowest, std::int64_t end)
{
    const std::int64_t start = end - static_cast<std::int64_t>(kTagPlusSize);
    if (start < lowest)
        return std::nullopt;
    const auto head = readExactly(file, start, 4);
    if (!head || !startsWith(*head, "TAG+"))
        return std::nullopt;
    return Found{start, kTagPlus};
}

std::optional<Found> id3v2EndingAt(platform::RandomReader& file, std::int64_t lowest, std::int64_t end)
{
    const auto footer = readExactly(file, end - static_cast<std::int64_t>(kId3v2FooterSize), kId3v2FooterSize);
    if (!footer || !startsWith(*footer, "3DI"))
        return std::nullopt;
    // The footer is the header with "3DI" in place of "ID3".
    std::array<std::uint8_t, kId3v2HeaderSize> header{};
    std::copy(footer->begin(), footer->end(), header.begin());
    header[0] = 'I';
    header[1] = 'D';
    header[2] = '3';
    const auto size = id3v2TagSize(header);
    if (!size || header[3] != 4)
        return std::nullopt;
    const std::int64_t start = end - static_cast<std::int64_t>(*size);
    if (start < lowest)
        return std::nullopt;
    const auto head = readExactly(file, start, kId3v2HeaderSize);
    if (!head || !std::equal(head->begin(), head->end(), header.begin()))
        return std::nullopt;
    return Found{start, kTagId3v2Behind};
}

}  // namespace

BackTags findBackTags(platform::RandomReader& file, std::int64_t lowest, std::int64_t end, bool beforeId3v1)
{
    BackTags tags{end, 0};
    for (int count = 0; count < kMaxBackTags; ++count) {
        std::optional<Found> found = apeTagEndingAt(file, lowest, tags.start);
        if (!found)
            found = lyricsEndingAt(file, lowest, tags.start);
        if (!found)
            found = id3v2EndingAt(file, lowest, tags.start);
        // TAG+ extends the ID3v1 tag and stands right in front of it.
        if (!found && count == 0 && beforeId3v1)
            found = tagPlusEndingAt(file, lowest, tags.start);
        if (!found)
            break;
        tags.start = found->start;
        tags.kinds |= found->kind;
    }
    return tags;
}

}  // namespace tags
