#include "mpeg/frame_header.h"
#include "mpeg/side_info.h"
#include "support/mp3_builder.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

using namespace mpeg;

namespace {

HeaderWord word(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3)
{
    const std::array<std::uint8_t, 4> bytes = {b0, b1, b2, b3};
    return headerWordFromBytes(bytes);
}

}  // namespace

TEST(FrameHeader, WordHoldsTheFileBytesLittleEndian)
{
    const HeaderWord w = word(0xFF, 0xFB, 0x90, 0x44);
    EXPECT_EQ(w, 0x4490FBFFu);
    EXPECT_EQ(headerBytes(w), (std::array<std::uint8_t, 4>{0xFF, 0xFB, 0x90, 0x44}));
    EXPECT_EQ(testsupport::headerWord({}), w);
}

TEST(FrameHeader, AcceptsOnlyTheSupportedKinds)
{
    EXPECT_TRUE(isAcceptedHeader(word(0xFF, 0xFB, 0x90, 0x44)));
    EXPECT_TRUE(isAcceptedHeader(word(0xFF, 0xFB, 0x92, 0x44)));
    EXPECT_TRUE(isAcceptedHeader(word(0xFF, 0xFA, 0x90, 0x44)));  // CRC
    EXPECT_TRUE(isAcceptedHeader(word(0xFF, 0xFD, 0x90, 0x44)));  // MPEG-1 Layer II
    EXPECT_TRUE(isAcceptedHeader(word(0xFF, 0xFF, 0x90, 0x44)));  // MPEG-1 Layer I
    EXPECT_TRUE(isAcceptedHeader(word(0xFF, 0xF3, 0x80, 0x44)));  // MPEG-2 Layer III
    EXPECT_FALSE(isAcceptedHeader(word(0xFF, 0xF2, 0x90, 0x44)));  // MPEG-2 Layer III with CRC
    EXPECT_FALSE(isAcceptedHeader(word(0xFF, 0xFC, 0x90, 0x44)));
    EXPECT_FALSE(isAcceptedHeader(word(0xFF, 0xFE, 0x90, 0x44)));
    EXPECT_FALSE(isAcceptedHeader(word(0xFF, 0xE3, 0x90, 0x44)));  // MPEG-2.5
    EXPECT_FALSE(isAcceptedHeader(word(0xFF, 0xFB, 0x9C, 0x44)));  // sample-rate index 3
    EXPECT_FALSE(isAcceptedHeader(word(0xFF, 0xFB, 0x00, 0x44)));  // free format
    EXPECT_FALSE(isAcceptedHeader(word(0xFF, 0xFB, 0x0F, 0x44)));
    EXPECT_FALSE(isAcceptedHeader(word(0xFF, 0xFB, 0x90, 0xFF)));
    EXPECT_FALSE(isAcceptedHeader(word(0xFF, 0xFB, 0x90, 0x46)));  // emphasis 2
    EXPECT_TRUE(isAcceptedHeader(word(0xFF, 0xFB, 0x90, 0x47)));  // emphasis 3
    EXPECT_FALSE(isAcceptedHeader(word(0xFE, 0xFB, 0x90, 0x44)));
    EXPECT_FALSE(isAcceptedHeader(word(0xFF, 0xFB, 0xF0, 0x44)));  // bitrate index 15
    EXPECT_TRUE(isAcceptedHeader(word(0xFF, 0xFB, 0xE0, 0x44)));  // index 14
}

// Whatever four bytes the scan meets: an accepted header always has a
// bitrate, a sample rate and a frame length, so nothing divides by zero.
TEST(FrameHeader, EveryAcceptedHeaderCanBeMeasured)
{
    int accepted = 0;
    for (unsigned b1 = 0; b1 < 256; ++b1) {
        for (unsigned b2 = 0; b2 < 256; ++b2) {
            for (unsigned b3 = 0; b3 < 256; ++b3) {
                const HeaderWord w = word(0xFF, static_cast<std::uint8_t>(b1), static_cast<std::uint8_t>(b2),
                                          static_cast<std::uint8_t>(b3));
                if (!isAcceptedHeader(w))
                    continue;
                ++accepted;
                ASSERT_GT(bitrateKbps(w), 0) << std::hex << w;
                ASSERT_GT(sampleRate(w), 0) << std::hex << w;
                ASSERT_GT(coefficientK(w), 0) << std::hex << w;
                ASSERT_GE(frameLength(w), 24) << std::hex << w;
                ASSERT_LE(frameLength(w), 2881) << std::hex << w;
            }
        }
    }
    // 5 kinds x 14 bitrates x 3 sample rates x 2 padding x 2 private bits,
    // and 191 values of byte 3 (not 0xFF, no emphasis 2).
    EXPECT_EQ(accepted, 5 * 14 * 3 * 2 * 2 * 191);
}

TEST(FrameHeader, BitrateTablesOfTheStandard)
{
    using testsupport::HeaderSpec;
    struct Row {
        int version;
        int layer;
        std::array<int, 14> kbps;  // indexes 1..14
    };
    const std::array<Row, 6> rows = {{
        {kVersion1, kLayer1, {32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448}},
        {kVersion1, kLayer2, {32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384}},
        {kVersion1, kLayer3, {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
        {kVersion2, kLayer1, {32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256}},
        {kVersion2, kLayer2, {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}},
        {kVersion25, kLayer3, {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}},
    }};
    for (const auto& row : rows) {
        for (int index = 1; index <= 14; ++index) {
            HeaderSpec kind;
            kind.version = row.version;
            kind.layer = row.layer;
            kind.bitrateIndex = index;
            EXPECT_EQ(bitrateKbps(testsupport::headerWord(kind)), row.kbps[index - 1])
                << "version " << row.version << " layer " << row.layer << " index " << index;
        }
    }
    EXPECT_EQ(bitrateKbps(word(0xFF, 0xFB, 0xF0, 0x44)), 0);
    EXPECT_EQ(bitrateKbps(word(0xFF, 0xFB, 0x00, 0x44)), 0);
    EXPECT_EQ(bitrateKbps(word(0xFF, 0xF9, 0x90, 0x44)), 0);  // reserved layer
    EXPECT_EQ(bitrateKbps(word(0xFF, 0xEB, 0x90, 0x44)), 0);  // reserved version
}

TEST(FrameHeader, SampleRatesAndCoefficients)
{
    EXPECT_EQ(sampleRate(word(0xFF, 0xFB, 0x90, 0x44)), 44100);
    EXPECT_EQ(sampleRate(word(0xFF, 0xFB, 0x94, 0x44)), 48000);
    EXPECT_EQ(sampleRate(word(0xFF, 0xFB, 0x98, 0x44)), 32000);
    EXPECT_EQ(sampleRate(word(0xFF, 0xFB, 0x9C, 0x44)), -1);
    EXPECT_EQ(sampleRate(word(0xFF, 0xF3, 0x84, 0x44)), 24000);
    EXPECT_EQ(sampleRate(word(0xFF, 0xE3, 0x88, 0x44)), 8000);
    EXPECT_EQ(sampleRate(word(0xFF, 0xEB, 0x80, 0x44)), -1);
    EXPECT_EQ(coefficientK(word(0xFF, 0xFB, 0x90, 0x44)), 144000);
    EXPECT_EQ(coefficientK(word(0xFF, 0xFD, 0x90, 0x44)), 144000);
    EXPECT_EQ(coefficientK(word(0xFF, 0xF3, 0x80, 0x44)), 72000);
    EXPECT_EQ(coefficientK(word(0xFF, 0xFF, 0x90, 0x44)), 48000);
}

TEST(FrameHeader, FrameLengthsAndDurations)
{
    EXPECT_EQ(frameLength(word(0xFF, 0xFB, 0x90, 0x44)), 417);
    EXPECT_EQ(frameLength(word(0xFF, 0xFB, 0x92, 0x44)), 418);
    EXPECT_EQ(frameLength(word(0xFF, 0xF3, 0x80, 0x44)), 208);
    EXPECT_EQ(frameLength(word(0xFF, 0xFB, 0x98, 0x44)), 576);
    EXPECT_EQ(frameLength(word(0xFF, 0xFD, 0x80, 0x44)), 417);  // Layer II 128 kbit/s
    // Layer I counts in 4-byte slots: 4 x (288 x 12000 / 44100 + padding).
    EXPECT_EQ(frameLength(word(0xFF, 0xFF, 0x90, 0x44)), 4 * 78);
    EXPECT_EQ(frameLength(word(0xFF, 0xFF, 0x92, 0x44)), 4 * 79);
    EXPECT_EQ(frameLength(word(0xFF, 0xFB, 0x9C, 0x44)), 0);
    EXPECT_NEAR(frameDurationMs(word(0xFF, 0xFB, 0x90, 0x44)), 26.1224, 0.0001);
    EXPECT_NEAR(frameDurationMs(word(0xFF, 0xF3, 0x80, 0x44)), 26.1224, 0.0001);
    EXPECT_NEAR(frameDurationMs(word(0xFF, 0xFF, 0x94, 0x44)), 8.0, 1e-9);
    EXPECT_EQ(frameDurationMs(word(0xFF, 0xFB, 0x9C, 0x44)), 0.0);
}

TEST(FrameHeader, TextsKeepTheirTrailingBlanks)
{
    EXPECT_EQ(std::string(versionText(0)), "mpeg-2.5 ");
    EXPECT_EQ(std::string(versionText(1)), "?? ");
    EXPECT_EQ(std::string(versionText(2)), "mpeg-2.0 ");
    EXPECT_EQ(std::string(versionText(3)), "mpeg-1.0 ");
    EXPECT_EQ(std::string(layerText(0)), "??");
    EXPECT_EQ(std::string(layerText(1)), "layer-3");
    EXPECT_EQ(std::string(layerText(3)), "layer-1");
    EXPECT_EQ(std::string(channelModeText(1)), "Joint Stereo");
    EXPECT_EQ(std::string(channelModeText(3)), "Mono");
    EXPECT_EQ(std::string(emphasisText(0)), "no emphasis");
    EXPECT_EQ(std::string(emphasisText(1)), "50/15 ms");
    EXPECT_EQ(std::string(emphasisText(3)), "CITT j.17");
}

TEST(FrameHeader, FieldsAndTheTwoSettableBits)
{
    testsupport::HeaderSpec kind;
    kind.crc = true;
    kind.copyright = true;
    kind.original = false;
    kind.mode = 3;
    kind.emphasis = 1;
    kind.padding = true;
    const HeaderWord w = testsupport::headerWord(kind);
    EXPECT_EQ(protectionBit(w), 0);
    EXPECT_EQ(copyrightBit(w), 1);
    EXPECT_EQ(originalBit(w), 0);
    EXPECT_EQ(channelMode(w), 3);
    EXPECT_EQ(emphasisField(w), 1);
    EXPECT_EQ(paddingBit(w), 1);
    EXPECT_EQ(bitrateIndex(w), 9);

    const HeaderWord changed = withOriginalBit(withCopyrightBit(w, false), true);
    EXPECT_EQ(copyrightBit(changed), 0);
    EXPECT_EQ(originalBit(changed), 1);
    EXPECT_EQ(changed & ~(3u << 26), w & ~(3u << 26)) << "no other bit may change";
    EXPECT_EQ(headerBytes(changed)[3], headerBytes(w)[3] - 0x08 + 0x04);
    EXPECT_EQ(withOriginalBit(changed, true), changed);
}

TEST(FrameContent, SilenceAsEncodersWriteItHoldsNoSound)
{
    struct Row {
        const char* name;
        std::vector<std::uint8_t> start;  // header and side information, the rest filled
        std::uint8_t filler;
        bool holdsNoSound;
        int mainDataBegin;
    };
    // Side information copied from frames lame 3.100 wrote for digital silence.
    const std::vector<Row> rows = {
        {"mpeg1_joint_stereo_silence",
         {0xFF, 0xFB, 0x90, 0x64, 0x40, 0x8F, 0xF0, 0x00, 0x00, 0x69, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x0D, 0x20,
          0x00, 0x00, 0x01, 0x00, 0x00, 0x01, 0xA4, 0x00, 0x00, 0x00, 0x20, 0x00, 0x00, 0x34, 0x80, 0x00, 0x00, 0x04},
         0x55,
         true,
         129},
        {"mpeg1_mono_silence",
         {0xFF, 0xFB, 0x52, 0xC4, 0xA1, 0x83, 0xC0, 0x00, 0x01, 0xA4, 0x00,
          0x00, 0x00, 0x20, 0x00, 0x00, 0x34, 0x80, 0x00, 0x00, 0x04},
         0x55,
         true,
         323},
        {"mpeg2_mono_silence",
         {0xFF, 0xF3, 0x48, 0xC4, 0x7C, 0x00, 0x00, 0x03, 0x48, 0x00, 0x00, 0x00, 0x00},
         0x55,
         true,
         124},
        // The third granule's part2_3_length is 1: one bit of music.
        {"mpeg1_one_coded_bit",
         {0xFF, 0xFB, 0x90, 0x64, 0x40, 0x8F, 0xF0, 0x00, 0x00, 0x69, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x0D, 0x20,
          0x00, 0x00, 0x01, 0x00, 0x04, 0x01, 0xA4, 0x00, 0x00, 0x00, 0x20, 0x00, 0x00, 0x34, 0x80, 0x00, 0x00, 0x04},
         0x55,
         false,
         129},
        {"layer3_zero_frame", {0xFF, 0xFB, 0x90, 0x44}, 0x00, true, 0},
        {"layer2_zero_frame", {0xFF, 0xFD, 0x90, 0x44}, 0x00, true, 0},
        {"layer2_filler_frame", {0xFF, 0xFD, 0x90, 0x44}, 0x55, false, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const HeaderWord w = word(row.start[0], row.start[1], row.start[2], row.start[3]);
        std::vector<std::uint8_t> frame = row.start;
        frame.resize(static_cast<std::size_t>(frameLength(w)), row.filler);
        const FrameContent content = frameContent(frame, w);
        EXPECT_EQ(content.holdsNoSound, row.holdsNoSound);
        EXPECT_EQ(content.mainDataBegin, row.mainDataBegin);
        // A frame cut short inside its side information or header is no proof of silence.
        EXPECT_FALSE(frameContent(std::span(frame).first(row.start.size() - 1), w).holdsNoSound);
    }
}
