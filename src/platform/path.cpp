#include "platform/path.h"

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

}  // namespace platform
