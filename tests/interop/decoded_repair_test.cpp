#include "autoedit/auto_edit.h"
#include "entry/liedkram_entry.h"
#include "interop/external_tools.h"
#include "interop/stream_tools.h"
#include "mpeg/frame_decoder.h"
#include "mpeg/frame_header.h"
#include "platform/repair_settings.h"
#include "support/seam_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <ostream>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

// Files straight from the encoders, with silence at the ends, a fade-out or
// an abrupt end, stray bytes, a zeroed sector or a tag behind, repaired with
// the default settings. A decoder hears both files: the sound after the
// repair must be one piece of the sound before it, and what the repair took
// away must be silent. ffprobe and mutagen must find the length the entry
// shows, and every frame kept must be the same bytes but for its header bits.

namespace {

using testsupport::Bytes;
using testsupport::readFile;

enum class Harm { None, StrayByte, ZeroedSector, ApeTagBehind, ZeroFramesAround };

struct Case {
    const char* name;
    const char* sound;  // an ffmpeg lavfi source
    std::vector<std::string> encoder;  // the WAV and the MP3 file are appended
    Harm harm = Harm::None;
};

void PrintTo(const Case& c, std::ostream* out)
{
    *out << c.name;
}

// One second of silence before and behind three of pink noise.
constexpr const char* kQuietEnds = "anoisesrc=c=pink:d=3:a=0.3:r=44100,adelay=1s:all=1,apad=pad_dur=1";
constexpr const char* kFadeOut = "anoisesrc=c=pink:d=4:a=0.3:r=44100,afade=t=out:st=1.5:d=2.5";
constexpr const char* kAbruptEnd = "anoisesrc=c=pink:d=4:a=0.3:r=44100";
// Speech-like bursts with pauses, silence at both ends.
constexpr const char* kSpeech =
    "aevalsrc=0.4*sin(2*PI*300*t)*sin(2*PI*3*t)*lt(mod(t\\,1.5)\\,0.9):s=44100:d=5,adelay=700ms:all=1,"
    "apad=pad_dur=1";
constexpr const char* kLong = "anoisesrc=c=pink:d=12:a=0.3:r=44100";

std::vector<Case> cases()
{
    const std::vector<std::string> lame = {"lame", "--quiet"};
    auto with = [](std::vector<std::string> command, std::vector<std::string> options) {
        command.insert(command.end(), options.begin(), options.end());
        return command;
    };
    return {
        {"lame_cbr128", kQuietEnds, with(lame, {"-b", "128"})},
        {"lame_cbr320", kQuietEnds, with(lame, {"-b", "320"})},
        {"lame_v0_fade", kFadeOut, with(lame, {"-V", "0"})},
        {"lame_v2", kQuietEnds, with(lame, {"-V", "2"})},
        {"lame_v5_abrupt", kAbruptEnd, with(lame, {"-V", "5"})},
        {"lame_v9_mpeg2_speech", kSpeech, with(lame, {"--resample", "16", "-V", "9", "-m", "m"})},
        {"lame_mpeg2_22050", kQuietEnds, with(lame, {"--resample", "22.05", "-b", "64"})},
        {"lame_mpeg2_24000_mono32", kSpeech, with(lame, {"--resample", "24", "-b", "32", "-m", "m"})},
        {"ffmpeg_libmp3lame",
         kQuietEnds,
         {"ffmpeg", "-v", "error", "-y", "-i", "WAV", "-c:a", "libmp3lame", "-q:a", "4"}},
        {"twolame", kQuietEnds, {"twolame", "--quiet", "-b", "192"}},
        {"lame_stray_byte", kAbruptEnd, with(lame, {"-b", "128"}), Harm::StrayByte},
        {"lame_ape_behind", kFadeOut, with(lame, {"-V", "2"}), Harm::ApeTagBehind},
        {"lame_zeroed_sector", kLong, with(lame, {"-b", "128"}), Harm::ZeroedSector},
        {"lame_zero_frames_around", kAbruptEnd, with(lame, {"-b", "128"}), Harm::ZeroFramesAround},
    };
}

struct Comparison {
    std::map<std::string, std::string> values;
    double operator[](const std::string& key) const
    {
        const auto found = values.find(key);
        return found == values.end() ? -1e9 : std::stod(found->second);
    }
};

Comparison compareDecoded(const std::string& before, const std::string& after)
{
    const auto run = interop::runProgram({interop::kPython, LIEDKRAM_DECODE_COMPARE, before, after});
    if (run.exitCode != 0)
        throw std::runtime_error("decode_compare.py failed:\n" + run.output);
    return {interop::keyValueLines(run.output)};
}

void encode(const Case& c, const std::string& wav, const std::string& mp3)
{
    const auto made =
        interop::runProgram({"ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i", c.sound, "-ac", "2", wav});
    if (made.exitCode != 0)
        throw std::runtime_error("ffmpeg made no sound:\n" + made.output);
    std::vector<std::string> command = c.encoder;
    if (command.front() == "ffmpeg") {
        for (auto& word : command)
            word = word == "WAV" ? wav : word;
        command.push_back(mp3);
    } else {
        command.insert(command.end(), {wav, mp3});
    }
    const auto encoded = interop::runProgram(command);
    if (encoded.exitCode != 0)
        throw std::runtime_error(command.front() + " failed:\n" + encoded.output);
}

void harm(Harm how, const std::string& mp3, testsupport::TempDir& dir)
{
    Bytes bytes = readFile(mp3);
    const auto walk = interop::walkFrames(mp3, 0);
    if (how == Harm::StrayByte)
        bytes.insert(bytes.begin() + walk.offsets.at(5), 0x12);
    if (how == Harm::ZeroedSector)
        std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() / 2 / 4096 * 4096), 4096, 0);
    if (how == Harm::ZeroFramesAround) {
        // Digital silence as editors insert it: headers of the stream's own
        // kind, then zeros, behind the Info frame and behind the last frame.
        const int at = walk.offsets.at(1);
        Bytes zeros(bytes.begin() + at, bytes.begin() + walk.offsets.at(2));
        std::fill(zeros.begin() + 4, zeros.end(), 0);
        Bytes silence;
        for (int i = 0; i < 40; ++i)
            silence.insert(silence.end(), zeros.begin(), zeros.end());
        bytes.insert(bytes.end(), silence.begin(), silence.end());
        bytes.insert(bytes.begin() + at, silence.begin(), silence.end());
    }
    dir.write("harmed.mp3", bytes);
    std::filesystem::rename(dir.file("harmed.mp3"), mp3);
    if (how == Harm::ApeTagBehind) {
        const auto tagged = interop::runProgram(
            {interop::kPython, "-c",
             "import sys, mutagen.apev2 as a; t = a.APEv2(); t['Title'] = 'Schrei'; t.save(sys.argv[1])", mp3});
        if (tagged.exitCode != 0)
            throw std::runtime_error("no APEv2 tag:\n" + tagged.output);
    }
}

class DecodedRepair : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override
    {
        const std::string missing = interop::missingTools() + interop::missingStreamTools();
        ASSERT_TRUE(missing.empty()) << missing;
    }

    testsupport::TempDir dir_;
};

}  // namespace

TEST_P(DecodedRepair, KeepsEveryAudibleSampleAndTellsTheTruth)
{
    const Case& c = GetParam();
    const std::string path = dir_.file("Die Aerzte - Schrei nach Liebe.mp3");
    encode(c, dir_.file("sound.wav"), path);
    harm(c.harm, path, dir_);
    const std::string original = dir_.write("original.mp3", readFile(path));
    const Bytes before = readFile(path);

    testsupport::ScopedSeams seams;
    seams.prompter.setFallback(testsupport::ScriptedPrompter::Kind::Progress, platform::Answer::No);
    CLiedkramEntry entry(path, platform::readRepairSettings());
    ASSERT_NE(entry.m_dwHeader, 0u);
    const auto whole = interop::walkFrames(original, 0, true);
    const double frameMs = mpeg::frameDurationMs(entry.m_dwHeader);

    if (c.harm == Harm::ZeroedSector) {
        // Listed with its damage, measured across it, never repaired.
        EXPECT_EQ(seams.prompter.messages().size(), 1u);
        EXPECT_NE(entry.m_nFlags & ENTRY_SCAN_ERROR, 0u);
        EXPECT_NEAR(entry.m_nLengthMs, static_cast<double>(whole.offsets.size() - 1) * frameMs, 12 * frameMs);
        EXPECT_EQ(autoedit::EditEntry(entry, platform::readRepairSettings()), autoedit::EditStep::Incomplete);
        EXPECT_TRUE(readFile(path) == before);
        return;
    }
    EXPECT_TRUE(seams.prompter.prompts().empty()) << seams.prompter.messages().front();
    EXPECT_EQ(entry.m_bVerified, 1);
    const int listedFrames = entry.m_nFrames;
    const int listedMs = entry.m_nLengthMs;
    const int audioStart = entry.m_nAudioStart;
    const int audioEnd = entry.m_nAudioEnd;
    ASSERT_EQ(autoedit::EditEntry(entry, platform::readRepairSettings()), autoedit::EditStep::Done);
    EXPECT_TRUE(seams.prompter.messages().empty()) << seams.prompter.messages().front();
    EXPECT_EQ(entry.m_nFrames, listedFrames);
    EXPECT_EQ(entry.m_nLengthMs, listedMs);

    // What a listener hears.
    const Comparison heard = compareDecoded(original, path);
    ASSERT_GE(heard["offset"], 0) << "the sound after the repair is no piece of the sound before";
    EXPECT_LE(heard["worst_difference"], 2 * mpeg::kInaudibleAmplitude);
    EXPECT_LE(heard["removed_loudest"], mpeg::kInaudibleAmplitude) << "music was cut";
    EXPECT_GT(heard["samples_after"], heard["samples_before"] / 3);

    // What players read: the header frame's count; ffprobe's length of the
    // frames, mutagen's without the encoder's delay and padding.
    const auto after = interop::walkFrames(path, 0, true);
    const bool headed = heard["xing_frames"] >= 0;
    EXPECT_EQ(static_cast<int>(after.offsets.size()) - (headed ? 1 : 0), entry.m_nFrames);
    if (headed) {
        EXPECT_EQ(heard["xing_frames"], entry.m_nFrames);
    }
    EXPECT_NE(heard["lame_check"], 0) << "the LAME tag's check word is wrong";
    const double coder = heard["delay"] >= 0 ? (heard["delay"] + heard["padding"]) * 1000.0 / heard["rate"] : 0.0;
    // Without a header frame both guess from the file's size, the new ID3v1 tag included.
    const double tagMs = headed ? 0.0 : 128 * 8000.0 / entry.m_nBitrate;
    EXPECT_NEAR(heard["ffprobe_ms"], entry.m_nLengthMs, frameMs + tagMs);
    EXPECT_NEAR(heard["mutagen_ms"], entry.m_nLengthMs - coder, frameMs + tagMs);

    // Every frame kept is the frame it was, but for its header bits.
    std::vector<int> kept;
    for (std::size_t i = headed ? 1 : 0; i < whole.offsets.size(); ++i) {
        if (whole.offsets[i] >= audioStart && whole.offsets[i] < audioEnd)
            kept.push_back(whole.offsets[i]);
    }
    const Bytes repaired = readFile(path);
    ASSERT_EQ(kept.size() + (headed ? 1 : 0), after.offsets.size());
    for (std::size_t i = 0; i < kept.size(); ++i) {
        const int a = after.offsets[i + (headed ? 1 : 0)];
        const int length =
            mpeg::frameLength(mpeg::headerWordFromBytes(std::span<const std::uint8_t, 4>(&before[kept[i]], 4)));
        const std::string difference = interop::frameDifference(before, kept[i], repaired, a, length);
        ASSERT_TRUE(difference.empty()) << "frame " << i << ": " << difference;
    }
}

INSTANTIATE_TEST_SUITE_P(Encoders, DecodedRepair, ::testing::ValuesIn(cases()),
                         [](const auto& test) { return std::string(test.param.name); });
