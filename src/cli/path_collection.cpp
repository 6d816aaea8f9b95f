#include "cli/path_collection.h"

#include "document/collection_walk.h"
#include "platform/path.h"

#include <filesystem>
#include <system_error>

namespace cli {

namespace fs = std::filesystem;

namespace {

void takeWalk(const std::string& path, CollectedPaths& result)
{
    const platform::FolderWalk walk = document::collectionFilesBelow(path);
    if (walk.backupFolder)
        result.problems.push_back("'" + path + "' holds originals kept for undo -> skipped.");
    for (const platform::UnreadableFolder& folder : walk.unreadable)
        result.problems.push_back("Can't read folder '" + folder.path + "': " + folder.reason + " -> skipped.");
    result.files.insert(result.files.end(), walk.files.begin(), walk.files.end());
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
            takeWalk(path, result);
        } else if (fs::is_regular_file(status)) {
            result.files.push_back(platform::absolutePath(path));
        } else {
            result.problems.push_back("'" + path + "' is no file -> skipped.");
        }
    }
    return result;
}

}  // namespace cli
