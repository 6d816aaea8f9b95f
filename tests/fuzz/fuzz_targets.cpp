#include "fuzz/fuzz_targets.h"
#include "platform/repair_settings.h"
#include "support/test_doubles.h"

#include "autoedit/auto_edit.h"
#include "autoedit/normalize_name.h"
#include "autoedit/rewrite_file.h"
#include "document/liedkram_doc.h"
#include "document/track_compare.h"
#include "entry/archive.h"
#include "entry/file_name_parser.h"
#include "entry/liedkram_entry.h"
#include "mpeg/frame_header.h"
#include "mpeg/frame_walk.h"
#include "mpeg/vbr_header.h"
#include "platform/byte_reader.h"
#include "platform/file.h"
#include "platform/private_temp_dir.h"
#include "platform/profile.h"
#include "platform/prompter.h"
#include "platform/settings.h"
#include "platform/text.h"
#include "tags/genre_list.h"
#include "tags/id3v1.h"
#include "tags/id3v2.h"
#include "tags/id3v2_fields.h"
#include "view/cover_texts.h"
#include "view/export_commands.h"
#include "view/list_statistics.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace fuzz {

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kTextLimit = 255;

// Answers every question the way that lets the work go on and keeps no
// record, so millions of runs use no more memory than one.
class QuietPrompter : public platform::Prompter {
public:
    void showMessage(std::string_view) override {}
    platform::Answer askYesNoCancel(std::string_view) override { return platform::Answer::No; }
    platform::DuplicateChoice askDuplicate(std::string_view) override { return platform::DuplicateChoice::Add; }
    platform::Answer askProgress(std::string_view) override { return platform::Answer::No; }
};

// A fresh store (the defaults) for what still reads one, and the quiet
// prompter, for one run; the repairs get their settings as values.
void freshSeams()
{
    static testsupport::MemoryProfile profile;
    static QuietPrompter prompter;
    profile = testsupport::MemoryProfile();
    platform::installProfile(&profile);
    platform::installPrompter(&prompter);
}

void require(bool holds, const std::string& what)
{
    if (!holds)
        throw InvariantBroken(what);
}

platform::PrivateTempDir& scratch()
{
    static platform::PrivateTempDir dir;
    return dir;
}

std::string writeInput(std::span<const std::uint8_t> data)
{
    const std::string path = scratch().file("Band - Song.mp3");
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    return path;
}

Bytes readBack(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes recordOf(const CLiedkramEntry& entry)
{
    entry::ArchiveWriter writer;
    entry.Serialize(writer);
    return writer.bytes();
}

void requirePossible(const CLiedkramEntry& entry, const std::string& where)
{
    require(entry.HasPossibleRange(), where + ": impossible audio range or measure");
    for (const TextField* text : {&entry.m_szTitle, &entry.m_szArtist, &entry.m_szAlbum, &entry.m_szComment})
        require(text->size() <= kTextLimit, where + ": a tag text longer than 255 bytes");
    for (const Column column : allColumns())
        entry.GetColumnText(column);
}

// Reads the bytes as a list file; false when they are none.
bool readList(CLiedkramDoc& doc, std::span<const std::uint8_t> data)
{
    try {
        entry::ArchiveReader reader(data);
        doc.Serialize(reader, platform::RepairSettings{});
        return true;
    } catch (const platform::OutOfBytes&) {
    } catch (const entry::ArchiveFormatError&) {
    }
    return false;
}

// The record written, read and written again is the same.
void requireRecordRoundTrip(const CLiedkramEntry& entry, const std::string& where)
{
    const Bytes record = recordOf(entry);
    entry::ArchiveReader reader(record);
    CLiedkramEntry same;
    same.Serialize(reader);
    require(reader.remaining() == 0, where + ": the record was not read whole");
    require(recordOf(same) == record, where + ": the record does not read back as written");
}

void loadWith(const std::string& path, std::size_t size, int chkAll)
{
    freshSeams();
    platform::RepairSettings settings;
    settings.scanAll = chkAll != 0;
    const CLiedkramEntry entry(path, settings);
    if (!entry.IsListable())
        return;
    const std::string where = chkAll ? "block scan" : "fast estimate";
    require(entry.m_nFileSize == static_cast<int>(size), where + ": file size");
    requirePossible(entry, where);
    requireRecordRoundTrip(entry, where);
}

Bytes listBytes(const CLiedkramDoc& doc)
{
    entry::ArchiveWriter writer;
    doc.Serialize(writer);
    return writer.bytes();
}

int sign(int value)
{
    return (value > 0) - (value < 0);
}

// The fuzzer's bytes cut into texts at every NUL byte.
std::vector<std::string> textsOf(std::span<const std::uint8_t> data)
{
    std::vector<std::string> texts(1);
    for (const std::uint8_t byte : data) {
        if (byte == 0)
            texts.emplace_back();
        else
            texts.back().push_back(static_cast<char>(byte));
    }
    return texts;
}

const std::string& textAt(const std::vector<std::string>& texts, std::size_t index)
{
    static const std::string empty;
    return index < texts.size() ? texts[index] : empty;
}

void checkNameParts(const std::string& name)
{
    const std::string fileName = name.substr(0, kTextLimit);
    const auto parts = entry::parseFileName(fileName);
    require(parts.artist.size() <= kTextLimit && parts.title.size() <= kTextLimit, "file-name parser: a part too long");
    require(parts.artist.find('\0') == std::string::npos && parts.title.find('\0') == std::string::npos,
            "file-name parser: a NUL in a part");
}

void checkConversions(const std::string& text)
{
    const std::string utf8 = platform::cp1252ToUtf8(text);
    require(platform::utf8ToCp1252(utf8) == text, "code page: a Windows-1252 text does not survive UTF-8");
    require(platform::utf8ToCp1252(text).size() <= text.size(), "code page: UTF-8 grew into more bytes");
    require(platform::equalsIgnoreAsciiCase(text, text), "case folding: a text differs from itself");
}

void checkNormalisation(const std::string& text, int combination)
{
    platform::NamingRules rules;
    rules.dropSpecial = (combination & 1) != 0;
    rules.spellUmlauts = ((combination >> 1) & 1) != 0;
    rules.ampersandAsN = ((combination >> 2) & 1) != 0;
    rules.underscores = ((combination >> 3) & 1) != 0;
    const std::string normal = autoedit::NormalizeName(text, rules);
    require(normal.find('\0') == std::string::npos, "NormalizeName: a NUL in the result");
    if (!normal.empty())
        require(normal.back() != '_' && normal.back() != ' ', "NormalizeName: a separator at the end");
    if (combination & 1)
        require(normal.find('/') == std::string::npos, "NormalizeName: a slash kept although CnvSonder is on");
}

void checkPattern(const std::vector<std::string>& texts)
{
    CLiedkramEntry entry;
    entry.m_szArtist = textAt(texts, 1);
    entry.m_szTitle = textAt(texts, 2);
    entry.m_szAlbum = textAt(texts, 3);
    entry.m_szComment = textAt(texts, 4);
    const std::string& pattern = textAt(texts, 5);
    entry.m_nGenre = static_cast<int>(pattern.size() % 150) - 1;
    entry.m_nTrack = static_cast<std::uint8_t>(pattern.size());
    // The pattern is stored as the options dialog stores it, in UTF-8.
    platform::NamingRules rules;
    rules.pattern = platform::cp1252ToUtf8(pattern);
    const std::string name = autoedit::ExpandPattern(entry, rules);
    require(name.size() >= 4 && name.compare(name.size() - 4, 4, ".mp3") == 0, "ExpandPattern: no .mp3 at the end");
    require(name != "." && name != "..", "ExpandPattern: a name that is a directory");
    require(name.find('\0') == std::string::npos, "ExpandPattern: a NUL in the name");
    if (pattern.find('/') == std::string::npos)
        require(name.find('/') == std::string::npos, "ExpandPattern: a slash from the tags although CnvSonder is on");
}

void checkComparison(const std::vector<std::string>& texts)
{
    freshSeams();
    CLiedkramEntry a;
    CLiedkramEntry b;
    a.m_szArtist = textAt(texts, 0);
    a.m_szTitle = textAt(texts, 1);
    a.m_szFileName = textAt(texts, 2);
    b.m_szArtist = textAt(texts, 3);
    b.m_szTitle = textAt(texts, 4);
    b.m_szFileName = textAt(texts, 5);
    require(document::IsSameTrack(a, a), "IsSameTrack: an entry is not the same track as itself");
    require(document::IsSameTrack(a, b) == document::IsSameTrack(b, a), "IsSameTrack: not symmetric");
    for (const Column column : allColumns()) {
        require(sign(document::CompareEntries(a, b, column)) == -sign(document::CompareEntries(b, a, column)),
                "CompareEntries: not antisymmetric in column " + std::to_string(columnNumber(column)));
    }
    for (const std::string& text : texts)
        document::FoldName(text);
}

// Every byte of the new audio equals the old one, but for the original and
// copyright bits of an accepted header and the check word behind a
// protected one.
void requireAudioKept(const Bytes& before, std::size_t oldStart, const Bytes& after, std::size_t newStart,
                      std::size_t length)
{
    require(oldStart + length <= before.size() && newStart + length <= after.size(), "rewrite: the audio is not whole");
    const auto headerAt = [&](std::size_t p) -> std::optional<mpeg::HeaderWord> {
        if (p < oldStart || p + 4 > oldStart + length)
            return std::nullopt;
        const mpeg::HeaderWord word = mpeg::headerWordFromBytes(std::span<const std::uint8_t, 4>(&before[p], 4));
        return mpeg::isAcceptedHeader(word) ? std::optional(word) : std::nullopt;
    };
    for (std::size_t i = 0; i < length; ++i) {
        const std::size_t p = oldStart + i;
        const std::uint8_t difference = before[p] ^ after[newStart + i];
        if (difference == 0)
            continue;
        const bool flagBits = p >= 3 && headerAt(p - 3) && (difference & ~0x0C) == 0;
        const auto protectedAt = [&](std::size_t back) {
            const auto word = p >= back ? headerAt(p - back) : std::nullopt;
            return word && mpeg::protectionBit(*word) == 0;
        };
        require(flagBits || protectedAt(4) || protectedAt(5),
                "rewrite: audio byte " + std::to_string(i) + " changed beyond the header bits");
    }
}

// The length of the frame at the offset when it holds a Xing, Info or VBRI
// header, else 0.
std::size_t headFrameAt(const Bytes& file, std::size_t at)
{
    if (at + 4 > file.size())
        return 0;
    const mpeg::HeaderWord word = mpeg::headerWordFromBytes(std::span<const std::uint8_t, 4>(&file[at], 4));
    const auto size = static_cast<std::size_t>(mpeg::acceptedFrameLength(word));
    if (size == 0 || at + size > file.size() || !mpeg::findVbrHeader(std::span(file).subspan(at, size)))
        return 0;
    return size;
}

// Takes every proposed name, as a user who clicks through would.
class RenamingPrompter : public QuietPrompter {
public:
    platform::Answer askProgress(std::string_view) override { return platform::Answer::Yes; }
};

// A name of the folder as found: its type, and its bytes or link target.
std::string stateOf(const std::filesystem::path& path)
{
    const auto status = std::filesystem::symlink_status(path);
    if (status.type() == std::filesystem::file_type::symlink)
        return "link " + std::filesystem::read_symlink(path).string();
    if (status.type() == std::filesystem::file_type::regular) {
        const Bytes bytes = readBack(path.string());
        return "file " + std::string(bytes.begin(), bytes.end());
    }
    return "other " + std::to_string(static_cast<int>(status.type()));
}

std::map<std::string, std::string> namesIn(const std::string& folder)
{
    std::map<std::string, std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        names[entry.path().lexically_relative(folder).string()] = stateOf(entry.path());
    return names;
}

// Twenty frames of MPEG-1 Layer III at 128 kbit/s, 417 bytes each.
Bytes decoySong(std::uint8_t seed)
{
    Bytes song;
    for (int frame = 0; frame < 20; ++frame) {
        song.insert(song.end(), {0xFF, 0xFB, 0x90, 0x44});
        for (int i = 4; i < 417; ++i)
            song.push_back(static_cast<std::uint8_t>(1 + (seed + frame * 31 + i * 7) % 250));
    }
    return song;
}

void writeDecoy(const std::string& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

void loadTarget(std::span<const std::uint8_t> data)
{
    tags::id3v2TagSize(data);
    tags::headerSearchStart(data);
    // TagLib on the bytes as the loader and the picture button hand them over.
    if (const auto fields = tags::readId3v2Fields(data)) {
        require(fields->majorVersion >= 2 && fields->majorVersion <= 4, "id3v2: impossible version");
        require(fields->genre >= tags::kNoGenre && fields->genre <= tags::kLastGenre, "id3v2: impossible genre");
        require(fields->year == tags::kNoYear || (fields->year > 0 && fields->year <= 9999), "id3v2: impossible year");
        require(!fields->hasPicture || tags::readId3v2Picture(data), "id3v2: a picture that cannot be read");
    }
    const std::string path = writeInput(data);
    loadWith(path, data.size(), 1);
    loadWith(path, data.size(), 0);
}

void listTarget(std::span<const std::uint8_t> data)
{
    freshSeams();
    CLiedkramDoc doc;
    if (!readList(doc, data))
        return;
    for (std::size_t row = 0; row < doc.GetCount(); ++row) {
        const CLiedkramEntry& entry = std::as_const(doc).GetEntry(row);
        require(entry.HasPossibleRange() || entry.m_bNeedsRescan, "list entry: impossible and not marked");
        if (!entry.m_bNeedsRescan)
            requirePossible(entry, "list entry " + std::to_string(row));
    }

    const Bytes written = listBytes(doc);
    CLiedkramDoc again;
    entry::ArchiveReader reader(written);
    again.Serialize(reader, platform::RepairSettings{});
    require(again.GetCount() == doc.GetCount(), "list: the written list holds another count");
    require(listBytes(again) == written, "list: writing what was read gives other bytes");

    const view::Selection selection = doc.Entries();
    view::statisticsText(view::sumStatistics(selection));
    if (selection.size() <= 65535)
        view::exportBytes(view::ExportKind::Spreadsheet, selection);
    view::exportBytes(view::ExportKind::Playlist, selection);
    view::exportBytes(view::ExportKind::NameList, selection);
    if (selection.size() >= view::kMinCoverTitles && selection.size() <= view::kMaxCoverTitles)
        view::coverTexts(selection);
    for (const Column column : allColumns())
        doc.SortByColumn(column);
}

void fixListTarget(std::span<const std::uint8_t> data)
{
    freshSeams();
    static RenamingPrompter prompter;
    platform::installPrompter(&prompter);
    CLiedkramDoc doc;
    if (!readList(doc, data))
        return;

    const std::string folder = scratch().file("fix-list");
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder + "/dir.mp3");
    const std::string text = "alias ll='ls -l'\n";
    writeDecoy(folder + "/.bashrc", Bytes(text.begin(), text.end()));
    writeDecoy(folder + "/notes.txt", Bytes(text.begin(), text.end() - 1));
    writeDecoy(folder + "/dir.mp3/inner.mp3", decoySong(3));
    writeDecoy(folder + "/a.mp3", decoySong(1));
    writeDecoy(folder + "/b.mp3", decoySong(2));
    ::mkfifo((folder + "/fifo.mp3").c_str(), 0600);
    std::filesystem::create_symlink(folder + "/.bashrc", folder + "/link.mp3");
    const auto before = namesIn(folder);

    for (std::size_t row = 0; row < doc.GetCount(); ++row) {
        CLiedkramEntry& entry = doc.GetEntry(row);
        // Names with a separator could reach beyond the scratch folder.
        if (entry.m_szFileName.view().find('/') != std::string_view::npos)
            continue;
        entry.m_szPath = folder;
        autoedit::EditEntry(entry, platform::RepairSettings{});
    }

    const auto after = namesIn(folder);
    for (const auto& [name, state] : before) {
        if (name == "a.mp3" || name == "b.mp3")
            continue;
        const auto now = after.find(name);
        require(now != after.end() && now->second == state, "fix list: " + name + " changed");
    }
    for (const auto& [name, state] : after)
        require(before.count(name) || state.rfind("file ", 0) == 0, "fix list: " + name + " is new and no file");
    require(after.size() == before.size(), "fix list: names came or went");
}

void textTarget(std::span<const std::uint8_t> data)
{
    const std::string whole(data.begin(), data.end());
    const auto texts = textsOf(data);
    checkNameParts(textAt(texts, 0));
    checkConversions(whole);
    const int combination = data.empty() ? 15 : data[0] & 15;
    checkNormalisation(textAt(texts, 0), combination);
    checkPattern(texts);
    checkComparison(texts);
}

void rewriteTarget(std::span<const std::uint8_t> data)
{
    freshSeams();
    platform::RepairSettings settings;
    settings.rename = false;
    const std::string path = writeInput(data);
    CLiedkramEntry entry(path, settings);
    if (!entry.IsListable())
        return;
    autoedit::MarkRepairs(entry, settings);
    const CLiedkramEntry before = entry;
    const Bytes original(data.begin(), data.end());

    const autoedit::RewriteOutcome outcome = autoedit::RewriteFile(entry, settings);
    const Bytes after = readBack(path);
    requirePossible(entry, "rewrite");
    require(static_cast<std::size_t>(entry.m_nFileSize) == after.size(), "rewrite: the entry's size is not the file's");
    if (outcome != autoedit::RewriteOutcome::Done) {
        require(after == original, "rewrite: a rewrite that was not done changed the file");
        return;
    }
    const auto length = static_cast<std::size_t>(before.m_nAudioEnd - before.m_nAudioStart);
    const auto newLength = static_cast<std::size_t>(entry.m_nAudioEnd - entry.m_nAudioStart);
    const auto oldStart = static_cast<std::size_t>(before.m_nAudioStart);
    const auto newStart = static_cast<std::size_t>(entry.m_nAudioStart);
    // A Xing, Info or VBRI frame stays the audio's first frame, its counts
    // made those of the frames kept; one that stood in front of the audio
    // joins it when the front is cut. Nothing else may join the audio.
    const std::size_t head = headFrameAt(after, newStart);
    const std::size_t joined = newLength > length ? newLength - length : 0;
    require(newLength == length || (joined != 0 && joined == head && joined <= oldStart),
            "rewrite: the audio changed its length");
    const bool rewrittenHead = joined == 0 && head != 0 && head <= length && headFrameAt(original, oldStart) == head;
    const std::size_t counted = rewrittenHead ? head : 0;
    requireAudioKept(original, oldStart + counted, after, newStart + joined + counted, length - counted);
    if (after == original)
        return;
    // A changed file begins with a whole ID3v2 tag, in place of the old one.
    const auto newTag = tags::id3v2TagSize(after);
    require(newTag && *newTag == static_cast<std::uint64_t>(entry.m_nFrontTagBytes),
            "rewrite: the file does not begin with the tag the entry names");
    const auto oldSize = tags::id3v2TagSize(original);
    const int oldTag =
        oldSize && *oldSize <= static_cast<std::uint64_t>(before.m_nAudioStart) ? static_cast<int>(*oldSize) : 0;
    const bool verified = before.m_bVerified == 1 && before.m_nFrames > 0;
    if (!verified) {
        require(entry.m_nAudioStart - entry.m_nFrontTagBytes == before.m_nAudioStart - oldTag,
                "rewrite: unverified audio moved");
        require(std::equal(original.begin() + oldTag, original.begin() + before.m_nAudioEnd,
                           after.begin() + entry.m_nFrontTagBytes),
                "rewrite: unverified audio or its front changed");
    }
}

}  // namespace fuzz
