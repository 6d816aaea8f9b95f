#pragma once

#include "platform/random_reader.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <sys/types.h>

namespace platform {

// What tells one state of a file from another: which file it is, its length
// and when its content last changed.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// An open file. Every failing operation throws FileError with the cause
// number of the failure; the descriptor is closed by the destructor.
class File final : public RandomReader {
public:
    enum class Mode {
        Read,  // existing file, read only
        ReadWrite,  // existing file, read and write
        CreateTruncate,  // created or emptied, read and write
        CreateExclusive,  // created, must not exist yet, read and write
    };

    File() = default;
    File(const std::string& path, Mode mode, unsigned permissions = 0666);
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    const std::string& path() const { return path_; }

    // Reads until the buffer is full or the file ends; returns the bytes read.
    std::size_t read(std::span<std::uint8_t> buffer);
    // Reads at an offset without moving the file position; returns the
    // bytes read, fewer at the end of the file.
    std::size_t readAt(std::int64_t offset, std::span<std::uint8_t> buffer) override;
    // Reads exactly the buffer's size or throws EndOfFile.
    void readExact(std::span<std::uint8_t> buffer);
    void write(std::span<const std::uint8_t> bytes);
    void seek(std::int64_t offset);
    std::int64_t length() const;
    // How many names (hard links) the file has.
    std::uint64_t linkCount() const;
    FileStamp stamp() const;
    void setLength(std::int64_t length);
    // Makes the written content durable before the caller relies on it.
    void sync();
    void close();

private:
    // Reads until the buffer is full or readPart (given the rest of the
    // buffer and the bytes done) reports the end; retries interrupted calls.
    std::size_t fill(std::span<std::uint8_t> buffer,
                     const std::function<ssize_t(std::span<std::uint8_t>, std::size_t)>& readPart);

    int fd_ = -1;
    std::string path_;
};

// Renames a file but never replaces an existing one: an existing target
// fails with AccessDenied.
void renameNoReplace(const std::string& from, const std::string& to);
void removeFile(const std::string& path);
bool fileExists(const std::string& path);
// The stamp of the file a path names (following symbolic links).
FileStamp fileStamp(const std::string& path);
// The same, or none when the path cannot be examined (gone, say).
std::optional<FileStamp> findFileStamp(const std::string& path);
// The permission bits (rwx for user, group, others and the special bits).
unsigned filePermissions(const std::string& path);
void setFilePermissions(const std::string& path, unsigned permissions);

}  // namespace platform
