#pragma once

#include "platform/file.h"

#include <cstdint>
#include <string>

namespace platform {

class Directory;

// Copies the whole content of from to the end of to (read by offset, so
// from's position does not matter); throws FileError.
void copyContent(File& from, File& to);
// Copies the open file into a new file of the folder (the name must not be
// taken) and makes it durable; the copy gets the file's permission bits and
// modification time. Returns the copy's stamp.
FileStamp copyInto(File& from, const Directory& folder, const std::string& name);
// The directory and the folders above it that do not exist yet, each made
// with the given permissions; throws FileError.
void makeDirectories(const std::string& path, unsigned permissions);
// Makes the directory's entries (a rename, a new name) durable.
void syncDirectory(const std::string& directory);
// The top directory of the file system that holds path: the last folder
// above it on the same device.
std::string mountTopOf(const std::string& path);

}  // namespace platform
