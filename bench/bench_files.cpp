#include "bench_files.h"

#include "platform/settings.h"
#include "support/test_doubles.h"

#include <cstdio>
#include <exception>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

namespace bench {

namespace {

constexpr std::uint8_t kHeader[] = {0xFF, 0xFB, 0x90, 0x44};
constexpr int kFrameBytes = 417;  // 144000 x 128 / 44100, without padding
// The fraction an encoder carries from frame to frame: 144000 x 128 mod 44100.
constexpr int kPaddingStep = 144000 * 128 % 44100;
constexpr int kSampleRate = 44100;
constexpr std::size_t kPoolSize = 65536;

bool isFiller(std::uint8_t b)
{
    return b == 0x00 || b == 0xFF || b == 0x55 || b == 0xAA;
}

Bytes musicPool()
{
    Bytes pool;
    pool.reserve(kPoolSize);
    std::uint32_t state = 2463534242u;
    while (pool.size() < kPoolSize) {
        state = state * 1664525u + 1013904223u;
        const auto b = static_cast<std::uint8_t>(state >> 24);
        if (!isFiller(b))
            pool.push_back(b);
    }
    return pool;
}

void putText(Bytes& tag, std::size_t offset, std::size_t width, std::string_view text)
{
    std::copy_n(text.begin(), std::min(width, text.size()), tag.begin() + static_cast<std::ptrdiff_t>(offset));
}

void putFrame(Bytes& tag, std::string_view id, const Bytes& content)
{
    tag.insert(tag.end(), id.begin(), id.end());
    for (int shift = 24; shift >= 0; shift -= 8)
        tag.push_back(static_cast<std::uint8_t>(content.size() >> shift));
    tag.insert(tag.end(), {0, 0});
    tag.insert(tag.end(), content.begin(), content.end());
}

Bytes latin1Text(std::string_view text)
{
    Bytes content = {0};
    content.insert(content.end(), text.begin(), text.end());
    return content;
}

}  // namespace

Bytes musicFrames(std::size_t minBytes)
{
    const Bytes pool = musicPool();
    Bytes bytes;
    bytes.reserve(minBytes + kFrameBytes + 1);
    int carried = 0;
    std::size_t poolAt = 0;
    while (bytes.size() < minBytes) {
        carried += kPaddingStep;
        const bool padding = carried >= kSampleRate;
        if (padding)
            carried -= kSampleRate;
        bytes.insert(bytes.end(), std::begin(kHeader), std::end(kHeader));
        if (padding)
            bytes[bytes.size() - 2] |= 0x02;
        const std::size_t payload = kFrameBytes + (padding ? 1 : 0) - sizeof kHeader;
        // Successive frames start at different places of the pool, so no two
        // neighbours are alike.
        poolAt = (poolAt + 7919) % (kPoolSize - payload);
        bytes.insert(bytes.end(), pool.begin() + static_cast<std::ptrdiff_t>(poolAt),
                     pool.begin() + static_cast<std::ptrdiff_t>(poolAt + payload));
    }
    return bytes;
}

Bytes id3v1Tag(std::string_view title, std::string_view artist)
{
    Bytes tag(128, 0);
    putText(tag, 0, 3, "TAG");
    putText(tag, 3, 30, title);
    putText(tag, 33, 30, artist);
    putText(tag, 93, 4, "2001");
    tag[127] = 17;
    return tag;
}

void turnOffRepairs(testsupport::MemoryProfile& profile)
{
    for (const auto setting : {platform::Setting::Rename, platform::Setting::DelFront, platform::Setting::DelBack,
                               platform::Setting::DelCopy, platform::Setting::SetOrig, platform::Setting::SetID3,
                               platform::Setting::SetID3V2})
        profile.writeInt(platform::settingInfo(setting).key, 0);
}

void writeFile(const std::string& path, std::span<const std::uint8_t> bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::size_t readWhole(const std::string& path, std::span<std::uint8_t> block)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw std::runtime_error("cannot open " + path + ": " + std::strerror(errno));
    std::size_t total = 0;
    for (;;) {
        const ssize_t got = ::read(fd, block.data(), block.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            const int error = errno;
            ::close(fd);
            throw std::runtime_error("cannot read " + path + ": " + std::strerror(error));
        }
        if (got == 0)
            break;
        total += static_cast<std::size_t>(got);
    }
    ::close(fd);
    return total;
}

int runWithSeams(const char* program,
                 const std::function<int(testsupport::MemoryProfile&, testsupport::ScriptedPrompter&)>& run)
{
    testsupport::MemoryProfile profile;
    testsupport::ScriptedPrompter prompter;
    platform::installProfile(&profile);
    platform::installPrompter(&prompter);
    try {
        return run(profile, prompter);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", program, error.what());
        return 1;
    }
}

Bytes id3v2Tag(std::string_view title, std::string_view artist, std::size_t pictureBytes, std::size_t minBytes)
{
    Bytes frames;
    putFrame(frames, "TIT2", latin1Text(title));
    putFrame(frames, "TPE1", latin1Text(artist));
    putFrame(frames, "TALB", latin1Text("Greatest Hits"));
    putFrame(frames, "TYER", latin1Text("1999"));
    putFrame(frames, "TRCK", latin1Text("3/12"));
    putFrame(frames, "TCON", latin1Text("(17)"));
    if (pictureBytes > 0) {
        const std::string_view head("\0image/jpeg\0\x03\0", 14);
        Bytes picture(head.begin(), head.end());
        const Bytes data = musicFrames(pictureBytes);
        picture.insert(picture.end(), data.begin(), data.begin() + static_cast<std::ptrdiff_t>(pictureBytes));
        putFrame(frames, "APIC", picture);
    }
    const std::size_t body = std::max(frames.size(), minBytes > 10 ? minBytes - 10 : 0);
    frames.resize(body, 0);
    Bytes tag = {'I', 'D', '3', 3, 0, 0};
    for (int shift = 21; shift >= 0; shift -= 7)
        tag.push_back(static_cast<std::uint8_t>((body >> shift) & 0x7F));
    tag.insert(tag.end(), frames.begin(), frames.end());
    return tag;
}

}  // namespace bench
