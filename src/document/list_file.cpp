#include "document/list_file.h"

#include "entry/archive.h"
#include "entry/liedkram_entry.h"
#include "mpeg/frame_header.h"
#include "mpeg/mp3_file.h"
#include "platform/byte_reader.h"
#include "platform/file.h"
#include "platform/file_error.h"
#include "platform/replacement_file.h"

#include <algorithm>
#include <limits>

namespace document {

namespace {

// Six empty strings and the numbers: no record is shorter.
constexpr std::size_t kMinRecordSize = 6 + 42;

}  // namespace

void readListRecords(entry::ArchiveReader& archive, const platform::RepairSettings& settings,
                     const std::function<bool(std::unique_ptr<CLiedkramEntry>)>& handle,
                     const std::function<void(std::size_t, std::size_t)>& expect)
{
    const std::int32_t count = archive.readI32();
    if (count > 0) {
        // A count the rest of the file cannot hold promises nothing.
        if (expect)
            expect(static_cast<std::size_t>(count),
                   std::min(static_cast<std::size_t>(count), archive.remaining() / kMinRecordSize));
        for (std::int32_t i = 0; i < count; ++i) {
            auto entry = std::make_unique<CLiedkramEntry>();
            entry->Serialize(archive);
            // A record that needs measuring again is cut from only after that.
            if (!entry->m_bNeedsRescan)
                entry->UpdateCutFlags(settings);
            if (!handle(std::move(entry)))
                return;
        }
    }
    // A list's bytes end with its last record; other bytes merely begin like one.
    if (archive.remaining() != 0)
        throw entry::ArchiveFormatError();
}

ListRecords readListFile(entry::ArchiveReader& archive, const platform::RepairSettings& settings)
{
    ListRecords list;
    try {
        readListRecords(
            archive, settings,
            [&list](std::unique_ptr<CLiedkramEntry> entry) {
                list.entries.push_back(std::move(entry));
                return true;
            },
            [&list](std::size_t claimed, std::size_t possible) {
                list.claimed = claimed;
                list.entries.reserve(possible);
            });
    } catch (const platform::OutOfBytes&) {
        list.shape = ListShape::NotAList;
    } catch (const entry::ArchiveFormatError&) {
        list.shape = ListShape::NotAList;
    }
    if (list.shape == ListShape::Whole)
        return list;
    // Every listed entry was loaded from a frame header; random bytes read
    // as records almost never carry one, a list cut in half always does.
    const bool cut = list.entries.size() < list.claimed && !list.entries.empty() &&
                     std::all_of(list.entries.begin(), list.entries.end(),
                                 [](const auto& entry) { return mpeg::isMpegHeader(entry->m_dwHeader); });
    if (cut)
        list.shape = ListShape::CutShort;
    else
        list.entries.clear();
    return list;
}

OpenListFile openListFile(const std::string& path)
{
    OpenListFile list{platform::File(path, platform::File::Mode::Read)};
    list.length = list.file.length();
    if (list.length > std::numeric_limits<std::int32_t>::max())
        throw platform::FileError(platform::FileCause::InvalidFile, path, "'" + path + "' is too large",
                                  "File too large");
    return list;
}

void writeWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    platform::replaceWholeFile(path, bytes, mpeg::isMp3File);
}

void requireWritableList(const std::string& path)
{
    platform::requireReplaceable(path, mpeg::isMp3File);
}

}  // namespace document
