#pragma once

#include "platform/file.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// An open folder. Names in it are looked up and changed relative to it and
// never through a symbolic link, so a folder renamed or swapped for a link
// above it, or a name in it swapped for a link, changes nothing that was
// not meant. Every failing operation throws FileError.
class Directory {
public:
    Directory() = default;
    // Opens the folder a path names; links on the way are followed.
    explicit Directory(const std::string& path);
    ~Directory() = default;
    Directory(Directory&& other) noexcept = default;
    Directory& operator=(Directory&& other) noexcept = default;
    Directory(const Directory&) = delete;
    Directory& operator=(const Directory&) = delete;

    bool isOpen() const { return fd_.get() >= 0; }
    int fd() const { return fd_.get(); }
    const std::string& path() const { return path_; }
    std::string pathOf(const std::string& name) const;

    // The folder itself.
    FileStamp stamp() const;
    // Whether the folder belongs to this user and nobody else may enter it.
    bool isPrivate() const;
    // Whether it belongs to this user and nobody else may change what is in it.
    bool isOwnAndUnshared() const;

    // What the name is, the name itself (a link is not followed); none when
    // it is not there.
    std::optional<FileStamp> find(const std::string& name) const;
    // Whether the name is a folder (not a link to one).
    bool isDirectory(const std::string& name) const;
    // Opens a folder in it; a link is not followed.
    Directory child(const std::string& name) const;
    // Makes a folder in it unless there is one; an existing folder is kept
    // as it is (whose it is, is the caller's to check).
    void makeChild(const std::string& name, unsigned permissions) const;
    // Opens a file in it; a link is not followed.
    File open(const std::string& name, File::Mode mode, unsigned permissions = 0600) const;

    // Another name in to for the same file; an existing name fails with AccessDenied.
    void renameNoReplace(const std::string& from, const Directory& to, const std::string& toName) const;
    // Puts the file named from in place of toName in to, replacing what is there.
    void replace(const std::string& from, const Directory& to, const std::string& toName) const;
    // The names in it, but "." and "..".
    std::vector<std::string> names() const;
    // Removes a name that is not a folder.
    void remove(const std::string& name) const;
    // Removes a name and, for a folder, everything in it, without following
    // a link; what is not there is no error. Returns the bytes of the
    // regular files it removed.
    std::uint64_t removeTree(const std::string& name) const;
    // Makes the folder's entries (a rename, a new name) durable.
    void sync() const;

private:
    Directory(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}

    OwnedFd fd_;
    std::string path_;
};

// Gives the open file a name in the folder (the file itself, whatever has
// become of the name it was opened by); an existing name fails with AccessDenied.
void linkOpenFile(const File& file, const Directory& folder, const std::string& name);

// Gives the name from, which must name the open file (the file itself or a
// link to it), the name to; never replaces a file (AccessDenied). A name
// swapped for another file meanwhile is left as it is, or put back when the
// swap came in the moment before the rename.
void renameOpenFile(const File& file, const std::string& from, const std::string& to);

}  // namespace platform
