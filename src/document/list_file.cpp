#include "document/list_file.h"

#include "mpeg/mp3_file.h"
#include "platform/file.h"
#include "platform/file_error.h"
#include "platform/replacement_file.h"

#include <limits>

namespace document {

std::vector<std::uint8_t> readWholeFile(const std::string& path)
{
    platform::File file(path, platform::File::Mode::Read);
    const std::int64_t length = file.length();
    if (length > std::numeric_limits<std::int32_t>::max())
        throw platform::FileError(platform::FileCause::InvalidFile, path, "'" + path + "' is too large", "File too large");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    bytes.resize(file.read(bytes));
    return bytes;
}

void writeWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    platform::replaceWholeFile(path, bytes, mpeg::isMp3File);
}

void requireWritableList(const std::string& path)
{
    platform::requireReplaceable(path, mpeg::isMp3File);
}

}  // namespace document
