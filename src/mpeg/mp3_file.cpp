#include "mpeg/mp3_file.h"

#include "mpeg/first_header_search.h"
#include "mpeg/frame_chain.h"
#include "mpeg/frame_walk.h"
#include "platform/file.h"
#include "platform/file_error.h"
#include "platform/path.h"
#include "platform/text.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <vector>

namespace mpeg {

namespace {

constexpr std::string_view kExtension = ".mp3";
constexpr std::size_t kProbeSize = kChainFrames * kFollowBytes;

bool hasMp3Name(const std::string& path)
{
    const std::string name = platform::splitPath(path).name;
    return name.size() >= kExtension.size() &&
           platform::equalsIgnoreAsciiCase(std::string_view(name).substr(name.size() - kExtension.size()), kExtension);
}

bool startsWithId3v2(std::span<const std::uint8_t> bytes)
{
    return bytes.size() >= 4 && bytes[0] == 'I' && bytes[1] == 'D' && bytes[2] == '3' && bytes[3] >= 2 && bytes[3] <= 4;
}

}  // namespace

bool hasMp3Content(platform::RandomReader& file, std::int64_t fileSize)
{
    std::vector<std::uint8_t> first(
        static_cast<std::size_t>(std::clamp<std::int64_t>(fileSize, 0, static_cast<std::int64_t>(kHeaderSearchBytes))));
    first.resize(file.readAt(0, first));
    return startsWithId3v2(first) || startsAcceptedChain(first) || findFrameChain(first, 0, ChainKind::Any).has_value();
}

bool isMp3File(const std::string& path)
{
    std::error_code failed;
    const auto real = std::filesystem::canonical(path, failed);
    if (hasMp3Name(path) || (!failed && hasMp3Name(real.string())))
        return true;
    try {
        platform::File file = platform::File::openRegular(path);
        std::array<std::uint8_t, kProbeSize> first{};
        const std::size_t got = file.readAt(0, first);
        const auto bytes = std::span<const std::uint8_t>(first.data(), got);
        return startsWithId3v2(bytes) || startsAcceptedChain(bytes);
    } catch (const platform::FileError&) {
        return false;
    }
}

}  // namespace mpeg
