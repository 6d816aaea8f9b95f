#include "view/output_file.h"

#include "platform/file_error.h"
#include "platform/prompter.h"
#include "platform/replacement_file.h"

#include <cerrno>
#include <filesystem>
#include <unistd.h>

namespace view {

namespace {

// The replacement is made beside the target, so its directory must be known.
std::string absolutePath(const std::string& path)
{
    if (path.empty())
        throw platform::FileError(platform::FileCause::BadPath, path, "no file name");
    if (path.front() == '/')
        return path;
    std::error_code failed;
    auto absolute = std::filesystem::absolute(path, failed);
    if (failed)
        throw platform::FileError::fromErrno(failed.value(), path, "cannot resolve");
    return absolute.string();
}

// Replacing by rename would pass over a file the user may not write; such a
// file stays as it is, as it would when opened for writing.
void requireWritableTarget(const std::string& path)
{
    if (::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0)
        throw platform::FileError::fromErrno(errno, path, "cannot write");
}

}  // namespace

bool writeOutputFile(const std::string& path, std::span<const std::uint8_t> bytes)
{
    try {
        const std::string target = absolutePath(path);
        requireWritableTarget(target);
        platform::ReplacementFile out(target);
        out.file().write(bytes);
        out.commit();
        return true;
    } catch (const platform::FileError& error) {
        platform::prompter().showMessage("Cannot create '" + path + "' cause: " + error.causeText());
        return false;
    }
}

}  // namespace view
