#include "platform/runtime_folder.h"

#include "platform/directory.h"

#include <unistd.h>

namespace platform {

std::optional<std::string> privateRuntimeFolder(const std::optional<std::string>& runtimeFolder,
                                                const std::string& tempRoot)
{
    try {
        if (runtimeFolder && !runtimeFolder->empty() && Directory(*runtimeFolder).isPrivate())
            return *runtimeFolder;
    } catch (const FileError&) {
    }
    try {
        const Directory top(tempRoot);
        const std::string name = "liedkram-" + std::to_string(::geteuid());
        top.makeChild(name, 0700);
        if (top.child(name).isPrivate())
            return top.pathOf(name);
    } catch (const FileError&) {
    }
    return std::nullopt;
}

}  // namespace platform
