#include "platform/folder_walk.h"

#include "platform/path.h"
#include "platform/text.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace platform {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kMp3Extension = ".mp3";
constexpr std::string_view kBackupFolder = ".liedkram-backup";

bool hasMp3Extension(std::string_view name)
{
    return name.size() >= kMp3Extension.size() &&
           equalsIgnoreAsciiCase(name.substr(name.size() - kMp3Extension.size()), kMp3Extension);
}

class Walk {
public:
    Walk(FolderWalk& result, const std::vector<std::string>& neverEnter) : result_(result)
    {
        for (const std::string& path : neverEnter)
            neverEnter_.push_back(absolutePath(path));
    }

    bool mayEnter(const fs::path& folder) const
    {
        return !isBackupFolderName(folder.filename().string()) &&
               std::find(neverEnter_.begin(), neverEnter_.end(), folder.string()) == neverEnter_.end();
    }

    void enter(const fs::path& folder)
    {
        std::error_code error;
        fs::directory_iterator it(folder, error);
        if (error) {
            cannotRead(folder, error);
            return;
        }
        // A failing step ends the iteration and leaves the error behind.
        for (; it != fs::directory_iterator(); it.increment(error)) {
            const fs::directory_entry& entry = *it;
            const std::string name = entry.path().filename().string();
            std::error_code ignored;
            if (entry.is_directory(ignored) && !entry.is_symlink(ignored)) {
                if (!name.starts_with('.') && mayEnter(entry.path()))
                    enter(entry.path());
            } else if (entry.is_regular_file(ignored) && hasMp3Extension(name)) {
                result_.files.push_back(entry.path().string());
            }
        }
        if (error)
            cannotRead(folder, error);
    }

private:
    void cannotRead(const fs::path& folder, const std::error_code& error)
    {
        result_.unreadable.push_back({folder.string(), error.message()});
    }

    FolderWalk& result_;
    std::vector<std::string> neverEnter_;
};

}  // namespace

bool isBackupFolderName(std::string_view name)
{
    return name.starts_with(kBackupFolder);
}

FolderWalk mp3FilesBelow(const std::string& folder, const std::vector<std::string>& neverEnter)
{
    FolderWalk result;
    Walk walk(result, neverEnter);
    const fs::path named = absolutePath(folder);
    if (!walk.mayEnter(named)) {
        result.backupFolder = true;
        return result;
    }
    walk.enter(named);
    std::sort(result.files.begin(), result.files.end());
    return result;
}

}  // namespace platform
