#pragma once

#include "platform/folder_walk.h"

#include <string>

namespace document {

// The MP3 files below the folder as both fronts collect them: hidden
// folders passed over, the program's kept originals (the journal's folder
// among them) never entered. The front tells the problems in its words.
platform::FolderWalk collectionFilesBelow(const std::string& folder);

}  // namespace document
