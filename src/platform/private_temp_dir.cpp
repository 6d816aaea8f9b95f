#include "platform/private_temp_dir.h"

#include "platform/file_error.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace platform {

PrivateTempDir::~PrivateTempDir()
{
    clear();
}

const std::string& PrivateTempDir::path()
{
    if (path_.empty()) {
        std::error_code error;
        auto base = std::filesystem::temp_directory_path(error);
        if (error)
            base = "/tmp";
        std::string pattern = (base / "liedkram-XXXXXX").string();
        // mkdtemp makes the directory readable by this user only.
        if (!::mkdtemp(pattern.data()))
            throw FileError::fromErrno(errno, pattern, "cannot create the directory");
        path_ = pattern;
    }
    return path_;
}

std::string PrivateTempDir::file(const std::string& name)
{
    return path() + "/" + name;
}

void PrivateTempDir::clear()
{
    if (path_.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
    path_.clear();
}

}  // namespace platform
