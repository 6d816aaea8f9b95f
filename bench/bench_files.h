#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {
class MemoryProfile;
class ScriptedPrompter;
}  // namespace testsupport

namespace bench {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::size_t kReadBlock = 16384;

// Whole MPEG-1 Layer III frames at 128 kbit/s and 44100 Hz, padded the way
// an encoder pads them, with music-like bytes (no filler byte anywhere), at
// least minBytes long.
Bytes musicFrames(std::size_t minBytes);
// A 128-byte ID3v1 tag.
Bytes id3v1Tag(std::string_view title, std::string_view artist);
// An ID3v2.3 tag as taggers write it: title, artist, album, year, track and
// genre frames, a front cover of pictureBytes (none for 0), padding up to
// minBytes in all.
Bytes id3v2Tag(std::string_view title, std::string_view artist, std::size_t pictureBytes, std::size_t minBytes);

// Runs a benchmark with an in-memory profile and a prompter that records
// messages installed; reports an exception under the program's name.
int runWithSeams(const char* program,
                 const std::function<int(testsupport::MemoryProfile&, testsupport::ScriptedPrompter&)>& run);

// Nothing to rename, repair or ask: an edit run is left with its own work.
void turnOffRepairs(testsupport::MemoryProfile& profile);

void writeFile(const std::string& path, std::span<const std::uint8_t> bytes);
// Opens the file and reads it with read() in blocks of the buffer's size;
// returns the bytes read.
std::size_t readWhole(const std::string& path, std::span<std::uint8_t> block);

}  // namespace bench
