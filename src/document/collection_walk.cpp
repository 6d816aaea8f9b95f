#include "document/collection_walk.h"

#include "history/journal_location.h"

namespace document {

platform::FolderWalk collectionFilesBelow(const std::string& folder)
{
    // The journal's kept originals are the user's old files, not the collection.
    return platform::mp3FilesBelow(folder, {history::dataDirectory()});
}

}  // namespace document
