#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

// The program's entry points for bytes it did not write, each run on
// arbitrary input and checked for what must hold whatever the input. The
// fuzzers and the replay test call the same functions.
namespace fuzz {

// What must hold did not: the input that showed it is a finding.
class InvariantBroken : public std::logic_error {
public:
    explicit InvariantBroken(const std::string& what) : std::logic_error(what) {}
};

// The bytes as an MP3 file, loaded with the block scan and with the fast
// estimate: the entry's offsets and measures are possible, its texts fit,
// and its list record reads back as the same record.
void loadTarget(std::span<const std::uint8_t> data);

// The bytes as a list file: when it reads, every entry is possible, writing,
// reading and writing again gives the same bytes, and sorting, the
// statistics, the exports and the cover texts run.
void listTarget(std::span<const std::uint8_t> data);

// The bytes as texts: the file-name parser, the name normalisation under all
// sixteen settings, the comparison forms, the rename pattern and the code
// page conversions.
void textTarget(std::span<const std::uint8_t> data);

// The bytes as an MP3 file, loaded, marked for every repair and rewritten:
// the entry describes the new file, and the frames of verified audio are
// unchanged but for the two bits and the check words.
void rewriteTarget(std::span<const std::uint8_t> data);

// The bytes as a list file whose entries all name files of one scratch
// folder (a shell start file, a text, a FIFO, a folder, a link, two MP3
// files), each put through the automatic edit with every rename taken:
// nothing but the two MP3 files changes, and every new name is a regular file.
void fixListTarget(std::span<const std::uint8_t> data);

}  // namespace fuzz
