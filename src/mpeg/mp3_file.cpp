#include "mpeg/mp3_file.h"

#include "mpeg/frame_chain.h"
#include "platform/file.h"
#include "platform/file_error.h"
#include "platform/path.h"
#include "platform/text.h"

#include <array>
#include <filesystem>

namespace mpeg {

namespace {

constexpr std::string_view kExtension = ".mp3";
constexpr std::size_t kProbeSize = kChainFrames * 1056 + 4;

bool hasMp3Name(const std::string& path)
{
    const std::string name = platform::splitPath(path).name;
    return name.size() >= kExtension.size() &&
           platform::equalsIgnoreAsciiCase(std::string_view(name).substr(name.size() - kExtension.size()), kExtension);
}

}  // namespace

bool isMp3File(const std::string& path)
{
    std::error_code failed;
    const auto real = std::filesystem::canonical(path, failed);
    if (hasMp3Name(path) || (!failed && hasMp3Name(real.string())))
        return true;
    try {
        platform::File file(path, platform::File::Mode::Read);
        std::array<std::uint8_t, kProbeSize> first{};
        const std::size_t got = file.readAt(0, first);
        const auto bytes = std::span<const std::uint8_t>(first.data(), got);
        if (got >= 4 && bytes[0] == 'I' && bytes[1] == 'D' && bytes[2] == '3' && bytes[3] >= 2 && bytes[3] <= 4)
            return true;
        return startsAcceptedChain(bytes);
    } catch (const platform::FileError&) {
        return false;
    }
}

}  // namespace mpeg
