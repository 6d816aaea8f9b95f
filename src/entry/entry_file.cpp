#include "entry/entry_file.h"

#include "entry/liedkram_entry.h"
#include "mpeg/mp3_file.h"
#include "platform/file_error.h"

namespace entry {

void requireMp3Content(platform::File& file, std::int64_t expectedSize)
{
    const std::int64_t size = file.length();
    if (!mpeg::hasMp3Content(file, size))
        throw platform::FileError(platform::FileCause::AccessDenied, file.path(),
                                  "'" + file.path() + "' is not an MP3 file", "Not an MP3 file");
    if (size != expectedSize)
        throw platform::FileError(platform::FileCause::AccessDenied, file.path(),
                                  "'" + file.path() + "' has changed since it was listed",
                                  "Changed since it was listed");
}

platform::File openEntryFile(const CLiedkramEntry& entry)
{
    platform::File file = platform::File::openRegular(entry.GetFullPath());
    requireMp3Content(file, entry.m_nFileSize);
    return file;
}

}  // namespace entry
