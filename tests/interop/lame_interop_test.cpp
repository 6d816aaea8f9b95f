#include "entry/liedkram_entry.h"
#include "interop/external_tools.h"
#include "interop/mutagen_probe.h"
#include "interop/test_sound.h"
#include "mpeg/frame_header.h"
#include "platform/repair_settings.h"
#include "support/seam_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

// Files encoded by lame from a generated sound, loaded as the program loads
// them and compared with what mutagen reads from the same files.
//
// What the block scan is expected to count. lame's first frame is its
// Info/Xing frame (kept: nearly every real file has one). Its side
// information and most of its bytes are zero, but its TOC and LAME tag keep
// the share of filler bytes at about 66 % of a 417-byte frame and 33 % of a
// 208-byte one, below the 80 % that makes a frame silent, so it is judged
// music. Block 0's judgment, the Info frame and the first audio frame are
// then the three music judgments that start the music: the audio start stays
// at 0, and every frame from the first audio frame on is counted, which is
// exactly the frame count of the Xing header. lame's last frames hold the
// flush of the encoder padded with filler bytes; the scan may judge them
// silent and put the audio end at the start of one of them, but those frames
// are still counted.

namespace {

constexpr int kSeconds = 8;

struct LameVariant {
    const char* name;
    std::vector<std::string> options;
    int version;
    int protectionBit;  // 0: every frame carries a CRC
    int channelMode;
    int sampleRate;
    int cbrKbps;  // 0: variable bitrate
};

void PrintTo(const LameVariant& variant, std::ostream* out)
{
    *out << variant.name;
}

constexpr int kJointStereo = 1;
constexpr int kMono = 3;

const std::vector<LameVariant>& variants()
{
    static const std::vector<LameVariant> all = {
        {"cbr_128_stereo", {"-b", "128"}, mpeg::kVersion1, 1, kJointStereo, 44100, 128},
        {"vbr_v2", {"-V", "2"}, mpeg::kVersion1, 1, kJointStereo, 44100, 0},
        {"mpeg2_22050", {"--resample", "22.05", "-b", "64"}, mpeg::kVersion2, 1, kJointStereo, 22050, 64},
        {"mono", {"-m", "m", "-b", "64"}, mpeg::kVersion1, 1, kMono, 44100, 64},
        {"crc", {"-p", "-b", "128"}, mpeg::kVersion1, 0, kJointStereo, 44100, 128},
    };
    return all;
}

class LameInterop : public ::testing::TestWithParam<LameVariant> {
protected:
    void SetUp() override
    {
        const std::string missing = interop::missingTools();
        ASSERT_TRUE(missing.empty()) << missing;
    }

    testsupport::TempDir dir_;
};

}  // namespace

TEST_P(LameInterop, ScanAgreesWithMutagen)
{
    const LameVariant& variant = GetParam();
    const std::string wav = dir_.write("sound.wav", interop::testSoundWav(kSeconds));
    // Named like a collection's file, so the name parser runs as it would.
    const std::string mp3 = dir_.file(std::string("01 - lame - ") + variant.name + ".mp3");
    // No -t: lame's Info/Xing frame stays in, as it is in nearly every real file.
    std::vector<std::string> command = {"lame", "--quiet"};
    command.insert(command.end(), variant.options.begin(), variant.options.end());
    command.insert(command.end(), {wav, mp3});
    const auto lame = interop::runProgram(command);
    ASSERT_EQ(lame.exitCode, 0) << lame.output;

    const interop::MutagenInfo info = interop::probeWithMutagen(mp3);
    // What the expectations below rest on: the file is lame's Info/Xing frame
    // followed by audio frames, nothing before or behind them, and lame has
    // recorded the sound's exact length.
    ASSERT_EQ(info.firstFrame, 0);
    ASSERT_EQ(info.xingFrames, info.framesWalked - 1) << "the first frame must be lame's Info/Xing frame";
    ASSERT_GE(info.encoderDelay, 0) << "lame wrote no LAME tag";
    ASSERT_NEAR(info.lengthMs, kSeconds * 1000.0, 1.0);

    testsupport::ScopedSeams seams;
    const CLiedkramEntry entry(mp3, platform::readRepairSettings());
    ASSERT_NE(entry.m_dwHeader, 0u);
    EXPECT_TRUE(seams.prompter.prompts().empty());
    EXPECT_EQ(entry.m_bVerified, 1);
    EXPECT_EQ(entry.m_nFlags & ENTRY_SCAN_ERROR, 0u);

    EXPECT_EQ(mpeg::versionField(entry.m_dwHeader), variant.version);
    EXPECT_EQ(mpeg::layerField(entry.m_dwHeader), mpeg::kLayer3);
    EXPECT_EQ(entry.GetProtectionBit(), variant.protectionBit);
    EXPECT_EQ(mpeg::channelMode(entry.m_dwHeader), variant.channelMode);
    EXPECT_EQ(entry.GetSampleRate(), variant.sampleRate);
    EXPECT_EQ(info.version, variant.version == mpeg::kVersion1 ? 1.0 : 2.0);
    EXPECT_EQ(info.layer, 3);
    EXPECT_EQ(info.crc, entry.GetProtectionBit() == 0);
    EXPECT_EQ(info.mode, mpeg::channelMode(entry.m_dwHeader));
    EXPECT_EQ(info.sampleRate, entry.GetSampleRate());

    EXPECT_EQ(entry.m_nFileSize, info.streamEnd);
    EXPECT_EQ(entry.m_nAudioStart, 0);
    std::vector<int> possibleEnds = info.lastFrameStarts;
    possibleEnds.push_back(info.streamEnd);
    EXPECT_NE(std::ranges::find(possibleEnds, entry.m_nAudioEnd), possibleEnds.end())
        << "audio end " << entry.m_nAudioEnd << " is not the start of one of the last three frames nor the end";

    EXPECT_EQ(entry.m_nFrames, info.xingFrames);
    const double frameMs = mpeg::frameDurationMs(entry.m_dwHeader);
    EXPECT_NEAR(entry.m_nLengthMs, entry.m_nFrames * frameMs, 1.0);
    // mutagen leaves lame's encoder delay and end padding out of the length;
    // the scan counts whole frames, so it is longer by exactly those samples
    // (1.5 to 3 frames: more than two frames for this MPEG-2 file).
    const double paddedMs = (info.encoderDelay + info.encoderPadding) * 1000.0 / info.sampleRate;
    EXPECT_NEAR(entry.m_nLengthMs, info.lengthMs + paddedMs, 1.0);

    // Both average over the same frames, the audio frames behind the Info
    // frame: mutagen from the Xing header's byte count, which holds the
    // padding bytes too, the scan from each frame's nominal bitrate.
    EXPECT_NEAR(entry.m_nBitrate, info.bitrate, info.bitrate * 0.01);
    EXPECT_NEAR(entry.m_nBitrate, info.meanAudioBitrate, 1.0);
    if (variant.cbrKbps != 0) {
        EXPECT_EQ(entry.m_nBitrate, variant.cbrKbps * 1000);
    }
}

INSTANTIATE_TEST_SUITE_P(Variants, LameInterop, ::testing::ValuesIn(variants()),
                         [](const auto& test) { return std::string(test.param.name); });
