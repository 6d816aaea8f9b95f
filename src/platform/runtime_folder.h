#pragma once

#include <optional>
#include <string>

namespace platform {

// A folder for this user's sockets that nobody else may enter: the session's
// runtime folder when it is this user's and closed to others, otherwise
// liedkram-UID in tempRoot, made for the purpose. None when neither is so
// (another user made the fallback first, or it is a link).
std::optional<std::string> privateRuntimeFolder(const std::optional<std::string>& runtimeFolder,
                                                const std::string& tempRoot = "/tmp");

}  // namespace platform
