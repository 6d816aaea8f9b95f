#pragma once

#include "entry/file_presence.h"

#include <cstddef>
#include <string>
#include <vector>

class CLiedkramDoc;

namespace document {

// Why a file is skipped or shown greyed, without a full stop.
std::string PresenceText(entry::FilePresence presence);

// The rows whose files are there as listed, in the order given. Every other
// one is told through the prompter, naming its file, and left as it is.
std::vector<std::size_t> RowsPresent(const CLiedkramDoc& doc, const std::vector<std::size_t>& rows);

}  // namespace document
