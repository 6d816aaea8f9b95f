#include "view/output_file.h"

#include "mpeg/mp3_file.h"
#include "platform/file_error.h"
#include "platform/prompter.h"
#include "platform/replacement_file.h"

namespace view {

bool writeOutputFile(const std::string& path, std::span<const std::uint8_t> bytes)
{
    try {
        platform::replaceWholeFile(path, bytes, mpeg::isMp3File);
        return true;
    } catch (const platform::FileError& error) {
        platform::prompter().showMessage("Cannot create '" + path + "' cause: " + error.causeText());
        return false;
    }
}

}  // namespace view
