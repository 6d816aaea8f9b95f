#pragma once

#include "platform/file.h"

class CLiedkramEntry;

namespace entry {

// Opens the entry's file before anything changes it, renames it, moves it
// or marks it declined: only a regular file (a link to one is followed),
// opened without blocking, that is MP3 audio as loading knows it and still
// has the entry's size. Whatever a list file names, nothing else is ever
// touched. Throws platform::FileError: the error of the failed open, or
// AccessDenied with the reason ("Not a regular file", "Not an MP3 file",
// "Changed since it was listed").
platform::File openEntryFile(const CLiedkramEntry& entry);

// The same checks for a file already open.
void requireMp3Content(platform::File& file, std::int64_t expectedSize);

}  // namespace entry
