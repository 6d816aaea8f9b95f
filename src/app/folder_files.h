#pragma once

#include "platform/folder_walk.h"

#include <QString>

// The MP3 files below the folder as every folder walk of the program finds
// them (hidden folders passed over, kept originals never entered). Folders
// that could not be read, and a folder of kept originals, are told through
// the prompter by name.
platform::FolderWalk walkFolder(const QString& folder);
