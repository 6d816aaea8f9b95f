#include "old_rip.h"

#include <utility>

namespace clitest {

namespace {

using testsupport::Bytes;
using testsupport::HeaderSpec;

// Every fourth frame padded, so a walk must read each header's own length.
Bytes frameRun(HeaderSpec kind, int count, bool copyright, bool original)
{
    kind.copyright = copyright;
    kind.original = original;
    kind.padding = false;
    const Bytes plain = testsupport::frame(kind);
    kind.padding = true;
    const Bytes padded = testsupport::frame(kind);
    Bytes bytes;
    bytes.reserve(static_cast<std::size_t>(count) * padded.size());
    for (int i = 0; i < count; ++i)
        testsupport::append(bytes, i % 4 == 1 ? padded : plain);
    return bytes;
}

OldRip makeRip(std::string name, std::string repairedName, const HeaderSpec& kind, int frameCount,
               const testsupport::Id3v1Fields& oldTag, const testsupport::Id3v1Fields& newTag)
{
    OldRip rip;
    rip.name = std::move(name);
    rip.repairedName = std::move(repairedName);
    rip.frameCount = frameCount;
    rip.bytes = testsupport::id3v2Tag(3, 1000);
    testsupport::append(rip.bytes, testsupport::musicBytes(333, 5));
    rip.junkSize = rip.bytes.size();
    testsupport::append(rip.bytes, frameRun(kind, frameCount, true, false));
    testsupport::append(rip.bytes, testsupport::id3v1Tag(oldTag));
    rip.repaired = frameRun(kind, frameCount, false, true);
    testsupport::append(rip.repaired, testsupport::id3v1Tag(newTag));
    return rip;
}

}  // namespace

OldRip beatlesRip(int frameCount)
{
    testsupport::Id3v1Fields oldTag;
    oldTag.album = "Let It Be";
    oldTag.year = "70";
    oldTag.comment = "Apple";
    oldTag.track = 6;
    oldTag.genre = 17;
    testsupport::Id3v1Fields newTag = oldTag;
    newTag.title = "Let It Be";
    newTag.artist = "The Beatles";
    newTag.year = "1970";
    return makeRip("the beatles - let it be.mp3", "The_Beatles-Let_It_Be.mp3", HeaderSpec{}, frameCount, oldTag,
                   newTag);
}

OldRip nenaRip()
{
    HeaderSpec kind;
    kind.version = mpeg::kVersion2;
    kind.bitrateIndex = 8;  // 64 kbit/s at 22050 Hz: 208-byte frames
    kind.mode = 3;
    testsupport::Id3v1Fields oldTag;
    oldTag.title = "Irgendwie";
    oldTag.artist = "Nena";
    oldTag.year = "84";
    oldTag.genre = 13;
    testsupport::Id3v1Fields newTag = oldTag;
    newTag.year = "1984";
    newTag.track = 0;
    return makeRip("nena irgendwie.mp3", "Nena-Irgendwie.mp3", kind, 300, oldTag, newTag);
}

}  // namespace clitest
