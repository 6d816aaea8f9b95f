#pragma once

#include "entry/column.h"
#include "entry/text_field.h"
#include "tags/id3v1.h"

#include <cstdint>
#include <string>
#include <string_view>

// Pending work and error bits of CLiedkramEntry::m_nFlags.
inline constexpr std::uint32_t ENTRY_TAG_DIRTY = 0x01;  // the ID3v1 tag must be written
inline constexpr std::uint32_t ENTRY_CUT_FRONT = 0x02;  // cut the junk before the audio
inline constexpr std::uint32_t ENTRY_CUT_BACK = 0x04;  // cut the junk behind the audio
inline constexpr std::uint32_t ENTRY_HEADER_DIRTY = 0x08;  // rewrite every frame header
inline constexpr std::uint32_t ENTRY_RENAME = 0x10;  // rename the file to m_strNewName
inline constexpr std::uint32_t ENTRY_SCAN_ERROR = 0x20;  // frames could not be followed; never rewrite
// The bits that make the file be rewritten.
inline constexpr std::uint32_t ENTRY_REWRITE_MASK =
    ENTRY_TAG_DIRTY | ENTRY_CUT_FRONT | ENTRY_CUT_BACK | ENTRY_HEADER_DIRTY;

namespace platform {
class RandomReader;
struct RepairSettings;
}  // namespace platform

namespace entry {
class ArchiveReader;
class ArchiveWriter;

// How loading a file into an entry ended. A skipped file gives no entry.
enum class LoadOutcome {
    FromList,  // not loaded from a file: read from a list file record
    Loaded,
    ForeignStream,  // an MPEG stream of a kind the program does not process: listed, never repaired
    Unreadable,  // skipped: the file could not be opened or read
    TooLarge,  // skipped: 2 GiB or more
    NoHeader,  // skipped: no frame header in the first 128 KiB
};
}  // namespace entry

// The record kept for one MP3 file of the list. Tag texts are Windows-1252
// bytes; m_szFileName, m_szPath and m_strNewName are file-system bytes.
class CLiedkramEntry {
public:
    // An empty entry, to be filled from a list file record.
    CLiedkramEntry();
    // An entry loaded from the file at fullPath (name and directory split at
    // the last separator). When the file was skipped (IsListable() is false),
    // the caller discards the entry.
    CLiedkramEntry(std::string_view fullPath, const platform::RepairSettings& settings);

    // Fills the entry from its file: first header, tags, trailer, names from
    // the file name, measuring, cut flags, as the settings ask. Problems are
    // reported to the user.
    void LoadFromFile(const std::string& fullPath, const platform::RepairSettings& settings);
    // Whether loading gave an entry for the list.
    bool IsListable() const
    {
        return m_loadOutcome == entry::LoadOutcome::Loaded || m_loadOutcome == entry::LoadOutcome::ForeignStream ||
               m_loadOutcome == entry::LoadOutcome::FromList;
    }
    // Walks every frame of the file to measure the audio exactly.
    void ScanBlocks(platform::RandomReader& file);
    // Writes the entry's record of the list file.
    void Serialize(entry::ArchiveWriter& archive) const;
    // Reads a record into a default-constructed entry, nothing else: the
    // reader marks the cuts its settings ask for. Throws platform::OutOfBytes
    // at the end of the data, ArchiveFormatError for a string that is none.
    void Serialize(entry::ArchiveReader& archive);
    // Marks the junk before and behind the audio for cutting, as the
    // settings ask; never clears a bit.
    void UpdateCutFlags(const platform::RepairSettings& settings);

    std::string GetFullPath() const;
    // 0 <= audio start <= audio end <= file size, and no negative measure:
    // what every entry loaded satisfies, and every one read from a list but
    // those that need a rescan.
    bool HasPossibleRange() const;
    // Measures the file again for an entry that needs it: offsets, frames,
    // length, header, size and cut flags come from the file, the tag texts
    // stay the entry's. False (and the entry as it was) when the file cannot
    // be loaded.
    bool Rescan(const platform::RepairSettings& settings);

    int GetSampleRate() const;
    std::string GetFormatText() const;
    std::string GetModeText() const;
    std::string GetEmphasisText() const;
    int GetProtectionBit() const;
    bool IsCopyright() const;
    bool IsOriginal() const;
    std::string GetGenreText() const;
    std::string GetLengthText() const;
    std::string GetBitrateText() const;
    int GetBitrate() const { return m_nBitrate; }
    int GetFrames() const { return m_nFrames; }

    // Put the bit into the header word; a change marks every frame header
    // for rewriting.
    void SetOriginal(int bit);
    void SetCopyright(int bit);

    // The text of a list column, UTF-8.
    std::string GetColumnText(Column column) const;

    // Every field alike.
    friend bool operator==(const CLiedkramEntry&, const CLiedkramEntry&) = default;

    PathField m_szFileName;
    std::string m_strNewName;
    PathField m_szPath;
    TextField m_szTitle;
    TextField m_szArtist;
    TextField m_szAlbum;
    int m_nYear = tags::kNoYear;
    int m_nGenre = -1;
    int m_nFileSize = 0;
    TextField m_szComment;
    int m_nAudioStart = 0;
    int m_nAudioEnd = 0;
    std::uint32_t m_nFlags = 0;
    std::uint8_t m_bVerified = 0;
    std::uint8_t m_bHasId3v2 = 0;
    std::uint32_t m_dwHeader = 0;
    int m_nLengthMs = 0;
    int m_nBitrate = 0;
    int m_nFrames = 0;
    std::uint8_t m_nTrack = 0;
    // When the file's content last changed, as it was when loaded (or last
    // rewritten) in this run, in nanoseconds; 0 for entries read from a list.
    // Not stored in the list file.
    std::int64_t m_nModifiedNs = 0;
    // The list record this entry was read from has offsets or measures that
    // cannot be (written by another program, say): shown, but never cut from;
    // a repair measures the file again first. Not stored in the list file.
    bool m_bNeedsRescan = false;
    // How the entry came to be. Not stored in the list file.
    entry::LoadOutcome m_loadOutcome = entry::LoadOutcome::FromList;
    // The tags the file carried when it was loaded (bits of tags/tag_kinds.h);
    // 0 for entries read from a list. Not stored in the list file.
    unsigned m_nTagKinds = 0;
    // The size of the readable ID3v2 tag at the file's start, which is kept
    // rather than cut as front junk. Not stored in the list file.
    int m_nFrontTagBytes = 0;
    // The bytes of the tags between the audio and the ID3v1 tag (APEv2,
    // Lyrics3v2, TAG+, an appended ID3v2 tag), kept when the back is cut.
    // Not stored in the list file.
    int m_nBackTagBytes = 0;
};
