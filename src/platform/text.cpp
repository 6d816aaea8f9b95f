#include "platform/text.h"

#include <array>
#include <cstdint>

namespace platform {

namespace {

// Code points of the bytes 0x80..0x9F; the undefined ones map to themselves.
// clang-format off
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
// clang-format on

char32_t codePointOf(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return kHighControls[byte - 0x80];
    return byte;
}

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

char byteFor(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<char>(cp);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == cp)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

}  // namespace

char32_t decodeUtf8(std::string_view text, std::size_t& pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    int extra = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07;
        minimum = 0x10000;
    } else {
        ++pos;
        return 0xFFFD;
    }
    if (text.size() - pos <= static_cast<std::size_t>(extra)) {
        ++pos;
        return 0xFFFD;
    }
    for (int i = 1; i <= extra; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return 0xFFFD;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++pos;
        return 0xFFFD;
    }
    pos += extra + 1;
    return cp;
}

char cp1252FromCodePoint(char32_t codePoint)
{
    return byteFor(codePoint);
}

std::string cp1252ToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text)
        appendUtf8(out, codePointOf(static_cast<unsigned char>(c)));
    return out;
}

std::string utf8ToCp1252(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size())
        out.push_back(byteFor(decodeUtf8(text, pos)));
    return out;
}

char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

std::string asciiLowered(std::string_view text)
{
    std::string lowered(text);
    for (char& c : lowered)
        c = asciiLower(c);
    return lowered;
}

char asciiUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - ('a' - 'A')) : c;
}

bool equalsIgnoreAsciiCase(std::string_view a, std::string_view b)
{
    return compareIgnoreAsciiCase(a, b) == 0;
}

int compareIgnoreAsciiCase(std::string_view a, std::string_view b)
{
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < common; ++i) {
        const auto x = static_cast<unsigned char>(asciiLower(a[i]));
        const auto y = static_cast<unsigned char>(asciiLower(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

// clang-format off
const char* spelledAccent(char letter)
{
    switch (static_cast<unsigned char>(letter)) {
    case 0xC0: case 0xC1: case 0xC2: case 0xC3: case 0xC5:
        return "A";
    case 0xC4: case 0xC6:
        return "Ae";
    case 0xC7:
        return "C";
    case 0xD0:
        return "D";
    case 0xC8: case 0xC9: case 0xCA: case 0xCB:
        return "E";
    case 0xCC: case 0xCD: case 0xCE: case 0xCF:
        return "I";
    case 0xD1:
        return "N";
    case 0xD2: case 0xD3: case 0xD4: case 0xD5:
        return "O";
    case 0xD6:
        return "Oe";
    case 0xD9: case 0xDA: case 0xDB:
        return "U";
    case 0xDC:
        return "Ue";
    case 0xDD:
        return "Y";
    case 0xDF:
        return "ss";
    case 0xE0: case 0xE1: case 0xE2: case 0xE3: case 0xE5:
        return "a";
    case 0xE4: case 0xE6:
        return "ae";
    case 0xE7:
        return "c";
    case 0xE8: case 0xE9: case 0xEA: case 0xEB:
        return "e";
    case 0xEC: case 0xED: case 0xEE: case 0xEF:
        return "i";
    case 0xF1:
        return "n";
    case 0xF2: case 0xF3: case 0xF4: case 0xF5:
        return "o";
    case 0xF6:
        return "oe";
    case 0xF9: case 0xFA: case 0xFB:
        return "u";
    case 0xFC:
        return "ue";
    case 0xFD: case 0xFF:
        return "y";
    default:
        return nullptr;
    }
}
// clang-format on

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

void appendHexEscape(std::string& to, unsigned char byte)
{
    to += "\\x";
    to += kHexDigits[byte >> 4];
    to += kHexDigits[byte & 0x0F];
}

// A control character a terminal acts on: C0, DEL, and C1 as UTF-8 (C2 80 to C2 9F).
std::size_t controlLength(std::string_view text, std::size_t at)
{
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte < 0x20 || byte == 0x7F)
        return 1;
    if (byte == 0xC2 && at + 1 < text.size() && static_cast<unsigned char>(text[at + 1]) >= 0x80 &&
        static_cast<unsigned char>(text[at + 1]) <= 0x9F)
        return 2;
    return 0;
}

// Writes every control character as an escape; keep says which stay as they are.
std::string escaped(std::string_view text, bool (*keep)(char), bool escapeBackslash)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const std::size_t control = controlLength(text, i);
        if (c == '\\' && escapeBackslash) {
            out += "\\\\";
        } else if (control == 0 || keep(c) ||
                   (c == '\r' && i + 1 < text.size() && keep(text[i + 1]) && text[i + 1] == '\n')) {
            out += c;
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            for (std::size_t part = 0; part < control; ++part)
                appendHexEscape(out, static_cast<unsigned char>(text[i + part]));
            i += control - 1;
        }
    }
    return out;
}

std::optional<int> hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return std::nullopt;
}

}  // namespace

std::string escapedControls(std::string_view text)
{
    return escaped(
        text, [](char) { return false; }, true);
}

std::string terminalText(std::string_view text)
{
    return escaped(
        text, [](char c) { return c == '\n' || c == '\t'; }, false);
}

std::optional<std::string> unescapedControls(std::string_view text)
{
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            plain += text[i];
            continue;
        }
        if (++i == text.size())
            return std::nullopt;
        switch (text[i]) {
        case 't':
            plain += '\t';
            break;
        case 'r':
            plain += '\r';
            break;
        case 'n':
            plain += '\n';
            break;
        case '\\':
            plain += '\\';
            break;
        case 'x': {
            const auto high = i + 2 < text.size() ? hexValue(text[i + 1]) : std::nullopt;
            const auto low = i + 2 < text.size() ? hexValue(text[i + 2]) : std::nullopt;
            if (!high || !low)
                return std::nullopt;
            plain += static_cast<char>(*high * 16 + *low);
            i += 2;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return plain;
}

}  // namespace platform
