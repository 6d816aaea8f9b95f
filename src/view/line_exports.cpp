#include "view/line_exports.h"

#include "entry/liedkram_entry.h"
#include "platform/byte_writer.h"
#include "platform/path.h"

namespace view {

using platform::ByteWriter;

namespace {

constexpr std::string_view kLineEnd = "\r\n";

}  // namespace

std::vector<std::uint8_t> playlistBytes(const Selection& entries)
{
    ByteWriter out;
    for (const CLiedkramEntry* entry : entries) {
        out.text(platform::joinPath(entry->m_szPath.view(), entry->m_szFileName.view()));
        out.text(kLineEnd);
    }
    return out.take();
}

std::vector<std::uint8_t> nameListBytes(const Selection& entries)
{
    ByteWriter out;
    for (const CLiedkramEntry* entry : entries) {
        out.text(entry->m_szFileName.view());
        out.text(kLineEnd);
    }
    return out.take();
}

}  // namespace view
