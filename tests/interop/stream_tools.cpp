#include "interop/stream_tools.h"

#include "interop/external_tools.h"

#include <sstream>
#include <stdexcept>

namespace interop {

namespace {

std::string valueOf(const std::map<std::string, std::string>& lines, const std::string& key, const std::string& output)
{
    const auto found = lines.find(key);
    if (found == lines.end())
        throw std::runtime_error("no " + key + " in:\n" + output);
    return found->second;
}

}  // namespace

void encodeTestSound(const std::string& wav, const std::vector<std::string>& encoder, const std::string& mp3)
{
    std::vector<std::string> command = encoder;
    command.insert(command.begin() + 1, "--quiet");
    command.insert(command.end(), {wav, mp3});
    const auto result = runProgram(command);
    if (result.exitCode != 0)
        throw std::runtime_error(encoder.front() + " failed:\n" + result.output);
}

TaggedCopy tagCopy(const std::string& source, const std::string& target, const std::string& kind)
{
    const auto result = runProgram({kPython, LIEDKRAM_TAG_FILE, source, target, kind});
    if (result.exitCode != 0)
        throw std::runtime_error("tag_file.py failed:\n" + result.output);
    const auto lines = keyValueLines(result.output);
    return {std::stoi(valueOf(lines, "audio_start", result.output)),
            std::stoi(valueOf(lines, "back_tags", result.output))};
}

std::map<std::string, std::string> id3v2Frames(const std::string& path)
{
    const auto result = runProgram({kPython, LIEDKRAM_ID3V2_PROBE, path});
    if (result.exitCode != 0)
        throw std::runtime_error("id3v2_probe.py failed:\n" + result.output);
    std::map<std::string, std::string> frames;
    std::istringstream lines(result.output);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t space = line.find(' ');
        if (line.rfind("version ", 0) == 0) {
            frames["version"] = line.substr(space + 1);
        } else if (line.rfind("frame ", 0) == 0) {
            const std::size_t second = line.find(' ', space + 1);
            frames[line.substr(space + 1, second - space - 1)] =
                second == std::string::npos ? "" : line.substr(second + 1);
        }
    }
    return frames;
}

std::string ffprobeTitle(const std::string& path)
{
    const auto result =
        runProgram({"ffprobe", "-v", "quiet", "-show_entries", "format_tags=title", "-of", "default=nw=1:nk=1", path});
    std::string title = result.output;
    while (!title.empty() && (title.back() == '\n' || title.back() == '\r'))
        title.pop_back();
    return title;
}

FrameWalk walkFrames(const std::string& path, int offset, bool resync)
{
    std::vector<std::string> command = {kPython, LIEDKRAM_FRAME_WALK, path, std::to_string(offset)};
    if (resync)
        command.push_back("resync");
    const auto result = runProgram(command);
    if (result.exitCode != 0)
        throw std::runtime_error("frame_walk.py failed:\n" + result.output);
    const auto lines = keyValueLines(result.output);
    FrameWalk walk;
    std::istringstream offsets(lines.count("offsets") ? lines.at("offsets") : "");
    for (int value = 0; offsets >> value;)
        walk.offsets.push_back(value);
    walk.end = std::stoi(valueOf(lines, "end", result.output));
    walk.crcChecked = std::stoi(valueOf(lines, "crc_checked", result.output));
    walk.crcBad = std::stoi(valueOf(lines, "crc_bad", result.output));
    return walk;
}

std::string frameDifference(const std::vector<std::uint8_t>& before, int b, const std::vector<std::uint8_t>& after,
                            int a, int length)
{
    if (static_cast<std::size_t>(b + length) > before.size() || static_cast<std::size_t>(a + length) > after.size())
        return "frame runs past the file";
    const bool checked = (before[static_cast<std::size_t>(b) + 1] & 1) == 0;
    for (int i = 0; i < length; ++i) {
        const auto x = before[static_cast<std::size_t>(b + i)];
        const auto y = after[static_cast<std::size_t>(a + i)];
        const bool checkWord = checked && (i == 4 || i == 5);
        const bool same = i == 3 ? (x & 0xF3) == (y & 0xF3) : (checkWord || x == y);
        if (!same)
            return "byte " + std::to_string(i) + " differs";
    }
    if ((after[static_cast<std::size_t>(a) + 3] & 0x0C) != 0x04)
        return "copyright not clear or original not set";
    return {};
}

std::string crcCheckingDecode(const std::string& path)
{
    // Only the audio: a picture of the tag would be a video stream of its own.
    const auto result = runProgram({"ffmpeg", "-nostdin", "-v", "error", "-err_detect", "crccheck+explode", "-i", path,
                                    "-map", "0:a", "-f", "null", "-"});
    return result.exitCode == 0 ? result.output : "exit " + std::to_string(result.exitCode) + ": " + result.output;
}

}  // namespace interop
