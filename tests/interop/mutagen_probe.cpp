#include "interop/mutagen_probe.h"

#include "interop/external_tools.h"

#include <map>
#include <sstream>
#include <stdexcept>

namespace interop {

namespace {

using Lines = std::map<std::string, std::string>;

class Reader {
public:
    Reader(const Lines& lines, const std::string& output) : lines_(lines), output_(output) {}

    double number(const std::string& key) const
    {
        const auto found = lines_.find(key);
        if (found == lines_.end())
            throw std::runtime_error("mutagen probe printed no " + key + ":\n" + output_);
        return std::stod(found->second);
    }
    int integer(const std::string& key) const { return static_cast<int>(number(key)); }

    std::vector<int> integers(const std::string& key) const
    {
        const auto found = lines_.find(key);
        if (found == lines_.end())
            throw std::runtime_error("mutagen probe printed no " + key + ":\n" + output_);
        std::vector<int> values;
        std::istringstream in(found->second);
        int value = 0;
        while (in >> value)
            values.push_back(value);
        return values;
    }

private:
    const Lines& lines_;
    const std::string& output_;
};

}  // namespace

MutagenInfo probeWithMutagen(const std::string& mp3Path)
{
    const auto result = runProgram({kPython, LIEDKRAM_MUTAGEN_PROBE, mp3Path});
    if (result.exitCode != 0)
        throw std::runtime_error("mutagen probe failed on " + mp3Path + ":\n" + result.output);
    const Lines lines = keyValueLines(result.output);
    const Reader read(lines, result.output);

    MutagenInfo info;
    info.lengthMs = read.number("length_ms");
    info.bitrate = read.integer("bitrate");
    info.sampleRate = read.integer("sample_rate");
    info.version = read.number("version");
    info.layer = read.integer("layer");
    info.crc = read.integer("protected") != 0;
    info.mode = read.integer("mode");
    info.firstFrame = read.integer("first_frame");
    info.framesWalked = read.integer("frames_walked");
    info.streamEnd = read.integer("stream_end");
    info.xingFrames = read.integer("xing_frames");
    info.encoderDelay = read.integer("encoder_delay");
    info.encoderPadding = read.integer("encoder_padding");
    info.meanAudioBitrate = read.number("mean_audio_bitrate");
    info.lastFrameStarts = read.integers("last_frame_starts");
    return info;
}

}  // namespace interop
