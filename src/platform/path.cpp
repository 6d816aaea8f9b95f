#include "platform/path.h"

#include <filesystem>
#include <system_error>

namespace platform {

SplitPath splitPath(std::string_view fullPath)
{
    const auto last = fullPath.rfind(kSeparator);
    if (last == std::string_view::npos)
        return {std::string(), std::string(fullPath)};
    return {std::string(fullPath.substr(0, last)), std::string(fullPath.substr(last + 1))};
}

std::string joinPath(std::string_view directory, std::string_view name)
{
    std::string joined;
    joined.reserve(directory.size() + 1 + name.size());
    joined.append(directory);
    joined.push_back(kSeparator);
    joined.append(name);
    return joined;
}

std::string directoryPath(std::string_view directory)
{
    return directory.empty() ? std::string(1, kSeparator) : std::string(directory);
}

std::string absolutePath(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error)
        return path;
    std::filesystem::path cleaned;
    for (const std::filesystem::path& part : absolute) {
        if (part.empty() || part == ".")
            continue;
        cleaned /= part;
    }
    return cleaned.string();
}

}  // namespace platform
