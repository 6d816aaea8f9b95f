#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CLiedkramDoc;

namespace document {

// Whether a listed file is still there as the list knows it.
enum class FilePresence {
    Present,
    Missing,  // no file of that name (a drive that is gone, a file moved away)
    Changed,  // a file of another size: the list's offsets no longer fit it
};

FilePresence CheckPresence(const std::string& path, std::int64_t listedSize);

// Why a file is skipped or shown greyed, without a full stop.
std::string PresenceText(FilePresence presence);

// The rows whose files are there as listed, in the order given. Every other
// one is told through the prompter, naming its file, and left as it is.
std::vector<std::size_t> RowsPresent(const CLiedkramDoc& doc, const std::vector<std::size_t>& rows);

}  // namespace document
