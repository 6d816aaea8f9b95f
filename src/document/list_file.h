#pragma once

#include "platform/file.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CLiedkramEntry;

namespace entry {
class ArchiveReader;
}

namespace platform {
struct RepairSettings;
}

namespace document {

// Reads a list file's records: the count, then one entry after the other,
// each marked with the cuts the settings ask for and handed to handle; handle returning false stops the reading. expect
// learns first how many records the count promises and how many the file
// can hold at most. Throws platform::OutOfBytes when the data ends inside a
// record, and entry::ArchiveFormatError when bytes are left behind the last
// record (then the file is no list) or a string is none.
void readListRecords(entry::ArchiveReader& archive, const platform::RepairSettings& settings,
                     const std::function<bool(std::unique_ptr<CLiedkramEntry>)>& handle,
                     const std::function<void(std::size_t, std::size_t)>& expect = nullptr);

// What the bytes of a list file turned out to be.
enum class ListShape {
    Whole,  // the count, then exactly that many records
    CutShort,  // ends before its last record; the complete records before the cut are entries of this program
    NotAList,  // bytes behind the last record, or records no listed file can have given
};

struct ListRecords {
    ListShape shape = ListShape::Whole;
    // The complete records in file order; none for NotAList.
    std::vector<std::unique_ptr<CLiedkramEntry>> entries;
    // How many records the file's count promises (0 for a count below 1).
    std::size_t claimed = 0;
};

// Reads the whole list; a read error of the file itself is thrown as
// platform::FileError.
ListRecords readListFile(entry::ArchiveReader& archive, const platform::RepairSettings& settings);

// A list file opened for reading, with its length; throws
// platform::FileError, also for a file too large to be a list.
struct OpenListFile {
    platform::File file;
    std::int64_t length = 0;
};
OpenListFile openListFile(const std::string& path);

// Writes the bytes as the file's new content in one step (a file that
// exists is replaced only once the new content is complete); an MP3 file or
// a file the user may not write is never replaced. Throws platform::FileError.
void writeWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
// Throws the platform::FileError writeWholeFile would throw for a file it
// must not replace, without writing anything.
void requireWritableList(const std::string& path);

}  // namespace document
