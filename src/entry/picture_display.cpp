#include "entry/picture_display.h"

#include "entry/id3v2_reading.h"
#include "entry/liedkram_entry.h"
#include "platform/file.h"
#include "platform/file_error.h"
#include "platform/private_temp_dir.h"
#include "platform/prompter.h"
#include "platform/shell_open.h"
#include "tags/id3v2.h"
#include "tags/id3v2_fields.h"

#include <optional>
#include <strings.h>
#include <vector>

namespace entry {

namespace {

// Viewers choose by the name, so a PNG picture gets its own.
std::string pictureFileName(const std::string& mimeType)
{
    return ::strcasecmp(mimeType.c_str(), "image/png") == 0 ? "temp.png" : "temp.jpg";
}

// The picture of the tag at the file's start. Throws FileError when the
// file cannot be opened or read.
std::optional<tags::Id3v2Picture> filePicture(const CLiedkramEntry& entry)
{
    platform::File mp3 = platform::File::openRegular(entry.GetFullPath());
    std::vector<std::uint8_t> header(tags::kId3v2HeaderSize);
    header.resize(mp3.readAt(0, header));
    const std::vector<std::uint8_t> tag = frontTagBytes(mp3, mp3.length(), header);
    if (tag.empty())
        return std::nullopt;
    return tags::readId3v2Picture(tag);
}

}  // namespace

bool hasId3v2Picture(const CLiedkramEntry& entry)
{
    try {
        return filePicture(entry).has_value();
    } catch (const platform::FileError&) {
        return false;
    }
}

bool showId3v2Picture(const CLiedkramEntry& entry, platform::PrivateTempDir& directory, platform::ShellOpener& shell)
{
    std::optional<tags::Id3v2Picture> picture;
    try {
        picture = filePicture(entry);
    } catch (const platform::FileError&) {
        platform::prompter().showFileMessage(entry.GetFullPath(), "Cant open mp3 4 r");
        return false;
    }
    if (!picture)
        return false;

    std::string target;
    try {
        target = directory.file(pictureFileName(picture->mimeType));
        platform::File out(target, platform::File::Mode::CreateTruncate, 0600);
        out.write(picture->data);
        out.close();
    } catch (const platform::FileError& error) {
        platform::prompter().showMessage("Can't write the picture '" + error.path() + "' cause: " + error.causeText());
        return false;
    }
    if (!shell.open(target, entry.m_szPath.str())) {
        platform::prompter().showMessage("Can't open '" + target + "'");
        return false;
    }
    return true;
}

}  // namespace entry
