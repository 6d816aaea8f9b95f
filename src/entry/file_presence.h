#pragma once

#include <cstdint>
#include <string>

namespace entry {

// Whether a listed file is still there as the list knows it.
enum class FilePresence {
    Present,
    Missing,  // no file of that name (a drive that is gone, a file moved away)
    Changed,  // a file of another size: the list's offsets no longer fit it
};

FilePresence CheckPresence(const std::string& path, std::int64_t listedSize);

}  // namespace entry
