#include "cli/path_collection.h"

#include "platform/path.h"
#include "platform/text.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace cli {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kMp3Extension = ".mp3";

bool hasMp3Extension(std::string_view name)
{
    return name.size() >= kMp3Extension.size() &&
           platform::equalsIgnoreAsciiCase(name.substr(name.size() - kMp3Extension.size()), kMp3Extension);
}

void walk(const fs::path& directory, std::vector<std::string>& files, std::vector<std::string>& problems)
{
    const auto cannotRead = [&](const std::error_code& error) {
        problems.push_back("Can't read folder '" + directory.string() + "': " + error.message() + " -> skipped.");
    };
    std::error_code error;
    fs::directory_iterator it(directory, error);
    if (error) {
        cannotRead(error);
        return;
    }
    // A failing step ends the iteration and leaves the error behind.
    for (; it != fs::directory_iterator(); it.increment(error)) {
        const fs::directory_entry& entry = *it;
        std::error_code ignored;
        // Links to folders are not followed: they could lead in a circle.
        if (entry.is_directory(ignored) && !entry.is_symlink(ignored))
            walk(entry.path(), files, problems);
        else if (entry.is_regular_file(ignored) && hasMp3Extension(entry.path().filename().string()))
            files.push_back(entry.path().string());
    }
    if (error)
        cannotRead(error);
}

}  // namespace

CollectedPaths collectPaths(const std::vector<std::string>& named)
{
    CollectedPaths result;
    for (const std::string& path : named) {
        std::error_code error;
        const fs::file_status status = fs::status(path, error);
        if (status.type() == fs::file_type::not_found) {
            result.problems.push_back("'" + path + "' does not exist -> skipped.");
        } else if (error) {
            result.problems.push_back("Can't reach '" + path + "': " + error.message() + " -> skipped.");
        } else if (fs::is_directory(status)) {
            std::vector<std::string> found;
            walk(platform::absolutePath(path), found, result.problems);
            std::sort(found.begin(), found.end());
            result.files.insert(result.files.end(), found.begin(), found.end());
        } else if (fs::is_regular_file(status)) {
            result.files.push_back(platform::absolutePath(path));
        } else {
            result.problems.push_back("'" + path + "' is no file -> skipped.");
        }
    }
    return result;
}

}  // namespace cli
