#include "tags/tag_kinds.h"

#include <array>
#include <utility>

namespace tags {

unsigned frontId3v2Kind(int majorVersion)
{
    switch (majorVersion) {
    case 2:
        return kTagId3v22;
    case 3:
        return kTagId3v23;
    case 4:
        return kTagId3v24;
    default:
        return 0;
    }
}

std::string tagKindsText(unsigned kinds)
{
    static constexpr std::array<std::pair<unsigned, const char*>, 8> kNames = {{
        {kTagId3v22, "ID3v2.2"},
        {kTagId3v23, "ID3v2.3"},
        {kTagId3v24, "ID3v2.4"},
        {kTagApeV2, "APEv2"},
        {kTagLyrics3v2, "Lyrics3v2"},
        {kTagPlus, "TAG+"},
        {kTagId3v2Behind, "ID3v2.4"},
        {kTagId3v1, "ID3v1"},
    }};
    std::string text;
    for (const auto& [bit, name] : kNames) {
        if (!(kinds & bit))
            continue;
        if (!text.empty())
            text += ' ';
        text += name;
    }
    return text;
}

}  // namespace tags
