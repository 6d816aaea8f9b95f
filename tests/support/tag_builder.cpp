#include "support/tag_builder.h"

#include <cstdio>
#include <stdexcept>

namespace testsupport {

namespace {

// The code points of UTF-8 text, for the encodings that need them.
std::u32string codePoints(const std::string& utf8)
{
    std::u32string points;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<std::uint8_t>(utf8[i]);
        int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        char32_t point = extra == 0 ? c : c & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k)
            point = point << 6 | (static_cast<std::uint8_t>(utf8[i + k]) & 0x3F);
        points.push_back(point);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return points;
}

Bytes encoded(const std::string& utf8, std::uint8_t encoding)
{
    Bytes bytes;
    if (encoding == kUtf8)
        return Bytes(utf8.begin(), utf8.end());
    if (encoding == kLatin1) {
        for (const char32_t point : codePoints(utf8))
            bytes.push_back(point < 0x100 ? static_cast<std::uint8_t>(point) : '?');
        return bytes;
    }
    bytes = {0xFF, 0xFE};
    for (const char32_t point : codePoints(utf8)) {
        if (point > 0xFFFF)
            throw std::invalid_argument("only the basic plane");
        bytes.push_back(static_cast<std::uint8_t>(point));
        bytes.push_back(static_cast<std::uint8_t>(point >> 8));
    }
    return bytes;
}

Bytes terminator(std::uint8_t encoding)
{
    return encoding == kUtf16 ? Bytes{0, 0} : Bytes{0};
}

void putSize(Bytes& to, std::size_t size, int bytes, bool syncsafe)
{
    const int bits = syncsafe ? 7 : 8;
    for (int i = bytes - 1; i >= 0; --i)
        to.push_back(static_cast<std::uint8_t>((size >> (i * bits)) & (syncsafe ? 0x7F : 0xFF)));
}

void putLe32(Bytes& to, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        to.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

Id3v2Frame textFrame(const std::string& id, const std::string& utf8, std::uint8_t encoding)
{
    Bytes content = {encoding};
    append(content, encoded(utf8, encoding));
    return {id, content};
}

Id3v2Frame commentFrame(const std::string& description, const std::string& utf8, std::uint8_t encoding)
{
    Bytes content = {encoding, 'd', 'e', 'u'};
    append(content, encoded(description, encoding));
    append(content, terminator(encoding));
    append(content, encoded(utf8, encoding));
    return {"COMM", content};
}

Id3v2Frame pictureFrame(std::uint8_t pictureType, const Bytes& data, const std::string& mime)
{
    Bytes content = {kLatin1};
    content.insert(content.end(), mime.begin(), mime.end());
    content.push_back(0);
    content.push_back(pictureType);
    content.push_back(0);  // empty description
    append(content, data);
    return {"APIC", content};
}

Bytes id3v2Frames(std::uint8_t majorVersion, const std::vector<Id3v2Frame>& frames, std::size_t padding, bool footer)
{
    Bytes body;
    for (const auto& frame : frames) {
        body.insert(body.end(), frame.id.begin(), frame.id.end());
        if (majorVersion == 2) {
            putSize(body, frame.content.size(), 3, false);
        } else {
            putSize(body, frame.content.size(), 4, majorVersion == 4);
            body.push_back(0);
            body.push_back(0);
        }
        append(body, frame.content);
    }
    body.insert(body.end(), padding, 0);
    Bytes tag = {'I', 'D', '3', majorVersion, 0, static_cast<std::uint8_t>(footer ? 0x10 : 0)};
    putSize(tag, body.size(), 4, true);
    append(tag, body);
    if (footer) {
        Bytes end(tag.begin(), tag.begin() + 10);
        end[0] = '3';
        end[1] = 'D';
        end[2] = 'I';
        append(tag, end);
    }
    return tag;
}

Bytes apeTag(bool withHeader)
{
    Bytes items;
    const std::string key = "MP3GAIN_MINMAX";
    const std::string value = "102,210";
    putLe32(items, static_cast<std::uint32_t>(value.size()));
    putLe32(items, 0);
    items.insert(items.end(), key.begin(), key.end());
    items.push_back(0);
    items.insert(items.end(), value.begin(), value.end());
    const auto block = [&](bool isHeader) {
        Bytes b = {'A', 'P', 'E', 'T', 'A', 'G', 'E', 'X'};
        putLe32(b, 2000);
        putLe32(b, static_cast<std::uint32_t>(items.size() + 32));
        putLe32(b, 1);
        putLe32(b, (withHeader ? 0x80000000u : 0) | (isHeader ? 0x20000000u : 0));
        b.insert(b.end(), 8, 0);
        return b;
    };
    Bytes tag = withHeader ? block(true) : Bytes{};
    append(tag, items);
    append(tag, block(false));
    return tag;
}

Bytes lyrics3v2()
{
    const std::string body = "LYRICSBEGININD0000210LYR00011Hallo Welt!";
    char size[8];
    std::snprintf(size, sizeof size, "%06zu", body.size());
    const std::string all = body + size + "LYRICS200";
    return Bytes(all.begin(), all.end());
}

Bytes tagPlus()
{
    Bytes tag = {'T', 'A', 'G', '+'};
    tag.resize(227, 'x');
    return tag;
}

}  // namespace testsupport
