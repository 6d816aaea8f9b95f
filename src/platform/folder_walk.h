#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// A folder the walk could not read, with the system's reason.
struct UnreadableFolder {
    std::string path;
    std::string reason;
};

struct FolderWalk {
    // Regular files (or links to them) named "*.mp3" in any case, in byte
    // order of the full path.
    std::vector<std::string> files;
    std::vector<UnreadableFolder> unreadable;
    // The named folder is one where the program keeps originals: not entered.
    bool backupFolder = false;
};

// Whether a folder of this name holds kept originals of this program
// (".liedkram-backup-<uid>" and the older ".liedkram-backup").
bool isBackupFolderName(std::string_view name);

// The MP3 files in the folder and below it. Hidden folders below it are
// passed over, the program's backup folders and the folders named in
// neverEnter (absolute paths) are never entered, and links to folders are
// not followed: they could lead in a circle.
FolderWalk mp3FilesBelow(const std::string& folder, const std::vector<std::string>& neverEnter = {});

}  // namespace platform
