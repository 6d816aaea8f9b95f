#pragma once

#include <string>
#include <vector>

namespace clitest {

// What a listed entry holds, as the list file stores it.
struct ListedEntry {
    std::string folder;  // m_szPath
    std::string name;  // m_szFileName
    std::string artist;  // Windows-1252, as tags hold texts
    std::string title;
    int fileSize = 0;
    int lengthMs = 0;
    int bitrate = 128000;
    std::string album = {};
    int genre = -1;
    std::string comment = {};
    // The audio range as stored; 0 and 0 for none.
    int audioStart = 0;
    int audioEnd = 0;
};

// Writes a list file of the entries, in their order, with the document's
// own saving, so the program reads back exactly these values.
void writeList(const std::string& path, const std::vector<ListedEntry>& entries);

}  // namespace clitest
