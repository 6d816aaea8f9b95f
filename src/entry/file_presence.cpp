#include "entry/file_presence.h"

#include <sys/stat.h>

namespace entry {

FilePresence CheckPresence(const std::string& path, std::int64_t listedSize)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return FilePresence::Missing;
    return info.st_size == listedSize ? FilePresence::Present : FilePresence::Changed;
}

}  // namespace entry
