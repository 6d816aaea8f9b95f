#pragma once

#include <string>
#include <vector>

namespace cli {

struct CollectedPaths {
    // Absolute paths of the files to load, in the order they are to be loaded.
    std::vector<std::string> files;
    // One message for every named path that does not exist or is no file,
    // for every folder that could not be read and for a named folder of
    // kept originals.
    std::vector<std::string> problems;
};

// Named files are taken whatever their name; a named folder gives every
// regular file below it whose name ends in ".mp3" (any case), in byte order
// of the full path, passing over hidden folders and never entering the
// program's folders of kept originals. Named paths keep their order.
CollectedPaths collectPaths(const std::vector<std::string>& named);

}  // namespace cli
