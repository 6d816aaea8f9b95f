#include "entry/picture_display.h"

#include "entry/liedkram_entry.h"
#include "platform/file.h"
#include "platform/file_error.h"
#include "platform/private_temp_dir.h"
#include "platform/prompter.h"
#include "platform/shell_open.h"
#include "tags/id3v2_picture.h"

#include <vector>

namespace entry {

namespace {
constexpr const char* kPictureFileName = "temp.jpg";
}

bool showId3v2Picture(const CLiedkramEntry& entry, platform::PrivateTempDir& directory, platform::ShellOpener& shell)
{
    std::vector<std::uint8_t> first(tags::kPictureProbeSize);
    try {
        platform::File mp3(entry.GetFullPath(), platform::File::Mode::Read);
        first.resize(mp3.read(first));
    } catch (const platform::FileError&) {
        platform::prompter().showFileMessage(entry.GetFullPath(), "Cant open mp3 4 r");
        return false;
    }

    const auto picture = tags::id3v2PictureBytes(first);
    if (!picture)
        return false;

    std::string target;
    try {
        target = directory.file(kPictureFileName);
        platform::File out(target, platform::File::Mode::CreateTruncate, 0600);
        out.write(*picture);
        out.close();
    } catch (const platform::FileError& error) {
        platform::prompter().showMessage("Can't write the picture '" + error.path() + "' cause: " + error.causeText());
        return false;
    }
    return shell.open(target, entry.m_szPath.str());
}

}  // namespace entry
