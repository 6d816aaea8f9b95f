#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Tag texts are Windows-1252 bytes; file names and everything shown to a
// person are UTF-8. These convert between the two.

// Every byte value converts; the five bytes Windows-1252 leaves undefined
// become the C1 control characters of the same value, so they survive a
// round trip.
std::string cp1252ToUtf8(std::string_view text);
// Characters Windows-1252 cannot hold, and malformed UTF-8, become "?".
std::string utf8ToCp1252(std::string_view text);

// The Windows-1252 byte of a character, "?" when the code page has none.
char cp1252FromCodePoint(char32_t codePoint);
// The character of the UTF-8 sequence at text[pos] (pos < text.size()),
// advancing pos past it; a malformed sequence gives U+FFFD for one byte.
char32_t decodeUtf8(std::string_view text, std::size_t& pos);

// An accented Windows-1252 letter spelt in ASCII ("\xC4" as "Ae", "\xDF" as
// "ss", "\xE9" as "e", with the letter's case), or null for any other byte:
// the 57 letters names and comparisons spell out.
const char* spelledAccent(char letter);

// A text with tab, carriage return, line break and backslash written as \t,
// \r, \n and \\, and every other control character (C0, DEL, C1 in UTF-8)
// as \xHH byte by byte, so that any text fits one field of a tab-separated
// line and no terminal acts on it; and back (nothing for a backslash that
// starts no such escape).
std::string escapedControls(std::string_view text);
// A message for a terminal: its line breaks (also as \r\n) and tabs stay, every other
// control character is written as \r or \xHH, a backslash as it is.
std::string terminalText(std::string_view text);
std::optional<std::string> unescapedControls(std::string_view text);

// Case folding of the ASCII letters only; all other bytes compare as they are.
char asciiLower(char c);
char asciiUpper(char c);
// The text with A-Z lowered.
std::string asciiLowered(std::string_view text);
bool equalsIgnoreAsciiCase(std::string_view a, std::string_view b);
// <0, 0 or >0 like strcmp, comparing unsigned bytes after lowering A-Z.
int compareIgnoreAsciiCase(std::string_view a, std::string_view b);

}  // namespace platform
