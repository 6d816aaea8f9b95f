#pragma once

#include "platform/byte_sink.h"
#include "platform/file_error.h"
#include "platform/owned_fd.h"
#include "platform/random_reader.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <sys/types.h>

struct stat;

namespace platform {

class Directory;

// What tells one state of a file from another: which file it is, its length
// and when its content last changed.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
    // The same file, whatever its content.
    bool sameFile(const FileStamp& other) const { return device == other.device && inode == other.inode; }
};

FileStamp stampOf(const struct stat& info);

// Who a file belongs to and its permission bits.
struct FileOwner {
    std::uint32_t user = 0;
    std::uint32_t group = 0;
    unsigned permissions = 0;
};

// What a read lease on a file found.
enum class Lease {
    Taken,  // nobody else has the file open for writing; a later writer breaks it
    InUse,  // another program has the file open for writing
    Unavailable,  // the file system or the file's owner does not allow one
};

// An open file. Every failing operation throws FileError with the cause
// number of the failure; the descriptor is closed by the destructor.
class File final : public RandomReader, public ByteSink {
public:
    enum class Mode {
        Read,  // existing file, read only
        ReadWrite,  // existing file, read and write
        CreateTruncate,  // created or emptied, read and write
        CreateExclusive,  // created, must not exist yet, read and write
        CreateOpen,  // created when missing, else kept as it is, read and write
    };

    File() = default;
    File(const std::string& path, Mode mode, unsigned permissions = 0666);
    // Opens a name of the folder without following a link.
    File(const Directory& folder, const std::string& name, Mode mode, unsigned permissions = 0600);
    // A new file without a name in the folder; false when the file system
    // has no such files. It gets a name only through linkOpenFile.
    static std::optional<File> unnamedIn(const Directory& folder, unsigned permissions);
    // Opens an existing file for reading only when it is a regular file (a
    // link to one is followed); a device, FIFO, socket or folder is never
    // opened in a way that could block or change it: FileError with
    // AccessDenied, "Not a regular file".
    static File openRegular(const std::string& path);
    // What openRegular throws for a file that is there but no regular file.
    class NotRegular;
    ~File() override = default;
    File(File&& other) noexcept = default;
    File& operator=(File&& other) noexcept = default;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    bool isOpen() const { return fd_.get() >= 0; }
    int fd() const { return fd_.get(); }
    const std::string& path() const { return path_; }

    // Reads until the buffer is full or the file ends; returns the bytes read.
    std::size_t read(std::span<std::uint8_t> buffer);
    // Reads at an offset without moving the file position; returns the
    // bytes read, fewer at the end of the file.
    std::size_t readAt(std::int64_t offset, std::span<std::uint8_t> buffer) override;
    // Reads exactly the buffer's size at an offset or throws OutOfBytes: the
    // file ends sooner.
    void readExactAt(std::int64_t offset, std::span<std::uint8_t> buffer);
    void write(std::span<const std::uint8_t> bytes) override;
    void seek(std::int64_t offset);
    std::int64_t length() const;
    // How many names (hard links) the file has.
    std::uint64_t linkCount() const;
    FileStamp stamp() const;
    FileOwner owner() const;
    void setPermissions(unsigned permissions);
    // False when the user may not give the file that owner and group.
    bool setOwner(std::uint32_t user, std::uint32_t group);
    // Gives the file the modification time of the stamp.
    void setModified(const FileStamp& like);
    // A read lease, so that a writer who opens the file later is noticed;
    // held until the file is closed.
    Lease takeReadLease();
    // Whether a writer has opened the file since the lease was taken.
    bool leaseBroken() const;
    void setLength(std::int64_t length);
    // Makes the written content durable before the caller relies on it.
    void sync();
    void close();

private:
    // Reads until the buffer is full or readPart (given the rest of the
    // buffer and the bytes done) reports the end; retries interrupted calls.
    std::size_t fill(std::span<std::uint8_t> buffer,
                     const std::function<ssize_t(std::span<std::uint8_t>, std::size_t)>& readPart);

    File(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}

    OwnedFd fd_;
    std::string path_;
};

class File::NotRegular : public FileError {
public:
    explicit NotRegular(const std::string& path);
};

// Renames a file but never replaces an existing one: an existing target
// fails with AccessDenied.
void renameNoReplace(const std::string& from, const std::string& to);
bool fileExists(const std::string& path);
// The stamp of the file a path names (following symbolic links).
FileStamp fileStamp(const std::string& path);
// The same, or none when the path cannot be examined (gone, say).
std::optional<FileStamp> findFileStamp(const std::string& path);

}  // namespace platform
