#include "platform/file_move.h"

#include "platform/file_error.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "platform/replacement_file.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

Directory folderOf(const std::string& path)
{
    return Directory(directoryPath(splitPath(path).directory));
}

FileError changedMeanwhile(const std::string& path)
{
    return FileError(FileCause::AccessDenied, path, "'" + path + "' changed meanwhile", "Changed meanwhile");
}

}  // namespace

FileMove::FileMove(File& source, std::string from, std::string to)
    : from_(std::move(from)),
      to_(std::move(to)),
      fromFolder_(folderOf(from_)),
      toFolder_(folderOf(to_)),
      fromName_(splitPath(from_).name),
      toName_(splitPath(to_).name)
{
    before_ = source.stamp();
    after_ = before_;
    const auto named = fromFolder_.find(fromName_);
    if (!named)
        throw FileError::fromErrno(ENOENT, from_, "cannot move");
    if (!named->sameFile(before_))
        throw FileError(FileCause::AccessDenied, from_, "'" + from_ + "' is not the file itself", "Is a symbolic link");
    if (toFolder_.find(toName_))
        throw FileError::fromErrno(EEXIST, to_, "cannot move '" + from_ + "' to");
    if (toFolder_.stamp().device != before_.device)
        copyAcross(source);
}

FileMove::~FileMove()
{
    if (committed_ || !copy_ || temporaryName_.empty())
        return;
    const auto there = toFolder_.find(temporaryName_);
    if (there && there->sameFile(copy_->stamp()))
        ::unlinkat(toFolder_.fd(), temporaryName_.c_str(), 0);
}

std::string FileMove::temporaryPath() const
{
    return temporaryName_.empty() ? std::string() : toFolder_.pathOf(temporaryName_);
}

void FileMove::copyAcross(File& source)
{
    // The old name goes only once the copy is in place, so it must be removable.
    if (::faccessat(fromFolder_.fd(), ".", W_OK, AT_EACCESS) != 0)
        throw FileError::fromErrno(errno, from_, "cannot remove");
    if (auto unnamed = File::unnamedIn(toFolder_, 0600)) {
        copy_ = std::move(*unnamed);
    } else {
        temporaryName_ = splitPath(ReplacementFile::temporaryPathFor(to_)).name;
        removeLeftover(toFolder_, temporaryName_);
        copy_ = toFolder_.open(temporaryName_, File::Mode::CreateExclusive, 0600);
    }
    copyContent(source, *copy_);
    const FileOwner owner = source.owner();
    copy_->setPermissions(owner.permissions);
    // Keeps the owner where we may (as root); others own their copies anyway.
    copy_->setOwner(owner.user, owner.group);
    copy_->setModified(before_);
    copy_->sync();
    after_ = copy_->stamp();
}

void FileMove::requireUnchanged() const
{
    if (fromFolder_.find(fromName_) != before_)
        throw changedMeanwhile(from_);
}

void FileMove::commit()
{
    requireUnchanged();
    if (!copy_) {
        fromFolder_.renameNoReplace(fromName_, toFolder_, toName_);
        committed_ = true;
        const auto moved = toFolder_.find(toName_);
        if (!moved || !moved->sameFile(before_)) {
            // Swapped in the moment between the look and the rename: it goes back.
            toFolder_.renameNoReplace(toName_, fromFolder_, fromName_);
            throw changedMeanwhile(from_);
        }
    } else {
        if (temporaryName_.empty()) {
            linkOpenFile(*copy_, toFolder_, toName_);
        } else {
            const auto there = toFolder_.find(temporaryName_);
            if (!there || !there->sameFile(after_))
                throw changedMeanwhile(toFolder_.pathOf(temporaryName_));
            toFolder_.renameNoReplace(temporaryName_, toFolder_, toName_);
            temporaryName_.clear();
        }
        committed_ = true;
        toFolder_.sync();
        // The file must not end up in both places, nor be lost if it was written to while it was copied.
        try {
            requireUnchanged();
            fromFolder_.remove(fromName_);
        } catch (const FileError&) {
            const auto placed = toFolder_.find(toName_);
            if (placed && placed->sameFile(after_))
                ::unlinkat(toFolder_.fd(), toName_.c_str(), 0);
            toFolder_.sync();
            throw;
        }
    }
    toFolder_.sync();
    if (!fromFolder_.stamp().sameFile(toFolder_.stamp()))
        fromFolder_.sync();
}

}  // namespace platform
