#include "mpeg/frame_header.h"
#include "mpeg/stream_scan.h"
#include "platform/file.h"
#include "support/mp3_builder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace testsupport;

namespace {

constexpr int kFrame = 417;  // 128 kbit/s, 44100 Hz

// The scan adds the frame durations one by one; so does this.
int summedMs(int frames)
{
    const double frameMs = mpeg::frameDurationMs(headerWord({}));
    double sum = 0.0;
    for (int i = 0; i < frames; ++i)
        sum += frameMs;
    return static_cast<int>(sum);
}

// Sets how many bytes in front of it the frame at `at` takes its main data
// from: the builder's music frames carry random bits there.
void setMainDataBegin(Bytes& bytes, std::size_t at, int begin)
{
    bytes[at + 4] = static_cast<std::uint8_t>(begin >> 1);
    bytes[at + 5] = static_cast<std::uint8_t>((bytes[at + 5] & 0x7F) | (begin & 1) << 7);
}

class StreamScan : public ::testing::Test {
protected:
    mpeg::ScanResult scan(const Bytes& bytes, int audioStart = 0, int audioEnd = -1)
    {
        const auto path = dir_.write("scan.mp3", bytes);
        platform::File file(path, platform::File::Mode::Read);
        return mpeg::scanBlocks(file, audioStart, audioEnd < 0 ? static_cast<int>(bytes.size()) : audioEnd);
    }

    TempDir dir_;
};

}  // namespace

TEST_F(StreamScan, EveryFrameOfTheAudioIsCounted)
{
    const int count = 500;
    const auto result = scan(frames({}, count));
    EXPECT_EQ(result.outcome, mpeg::ScanOutcome::Music);
    EXPECT_FALSE(result.damage);
    EXPECT_EQ(result.audioStart, 0);
    EXPECT_EQ(result.audioEnd, count * kFrame);
    EXPECT_EQ(result.frames, count);
    EXPECT_EQ(result.lengthMs, summedMs(count));
    EXPECT_EQ(result.bitrate, 128000);
}

TEST_F(StreamScan, JunkBeforeTheAudioIsNotWalked)
{
    Bytes bytes = musicBytes(417);
    append(bytes, frames({}, 200));
    const auto result = scan(bytes, 417);
    EXPECT_EQ(result.audioStart, 417);
    EXPECT_EQ(result.audioEnd, static_cast<int>(bytes.size()));
    EXPECT_EQ(result.frames, 200);
}

TEST_F(StreamScan, EveryLengthAnAcceptedHeaderGivesIsAFrame)
{
    struct Row {
        const char* name;
        HeaderSpec kind;
        int length;
    };
    HeaderSpec mpeg2Low;  // 8 kbit/s at 24000 Hz: the shortest frame
    mpeg2Low.version = mpeg::kVersion2;
    mpeg2Low.bitrateIndex = 1;
    mpeg2Low.sampleRateIndex = 1;
    mpeg2Low.mode = 3;
    HeaderSpec mpeg2Speech = mpeg2Low;  // 16000 Hz, as lame makes speech
    mpeg2Speech.sampleRateIndex = 2;
    HeaderSpec layer3At32k;  // 320 kbit/s at 32000 Hz
    layer3At32k.bitrateIndex = 14;
    layer3At32k.sampleRateIndex = 2;
    HeaderSpec layer2At32k;  // 384 kbit/s at 32000 Hz: the longest frame
    layer2At32k.layer = mpeg::kLayer2;
    layer2At32k.bitrateIndex = 14;
    layer2At32k.sampleRateIndex = 2;
    layer2At32k.padding = true;
    for (const Row& row : {Row{"mpeg2_8k_24kHz", mpeg2Low, 24}, Row{"mpeg2_8k_16kHz", mpeg2Speech, 36},
                           Row{"layer3_320k_32kHz", layer3At32k, 1440}, Row{"layer2_384k_32kHz", layer2At32k, 1729}}) {
        SCOPED_TRACE(row.name);
        ASSERT_EQ(mpeg::frameLength(headerWord(row.kind)), row.length);
        const int count = 300;
        Bytes bytes = frames(row.kind, count);
        append(bytes, id3v1Tag({}));
        const auto result = scan(bytes, 0, count * row.length);
        EXPECT_FALSE(result.damage);
        EXPECT_EQ(result.audioStart, 0);
        EXPECT_EQ(result.audioEnd, count * row.length);
        EXPECT_EQ(result.frames, count);
    }
}

TEST_F(StreamScan, BitrateIsWeightedByDuration)
{
    HeaderSpec low;
    low.bitrateIndex = 5;  // 64 kbit/s
    HeaderSpec high;
    high.bitrateIndex = 14;  // 320 kbit/s
    Bytes bytes = frames(low, 100);
    append(bytes, frames(high, 100));
    const auto result = scan(bytes);
    EXPECT_EQ(result.frames, 200);
    EXPECT_EQ(result.bitrate, 192000);
    EXPECT_EQ(result.audioEnd, static_cast<int>(bytes.size()));
}

TEST_F(StreamScan, SilenceAtBothEndsBecomesJunk)
{
    // About two seconds of digital silence each side.
    const int silent = 77;
    const int music = 400;
    Bytes bytes = frames({}, silent, Payload::Silence);
    append(bytes, frames({}, music));
    append(bytes, frames({}, silent, Payload::Silence, 0xFF));
    setMainDataBegin(bytes, silent * kFrame, 0);
    auto result = scan(bytes);
    EXPECT_EQ(result.audioStart, silent * kFrame);
    EXPECT_EQ(result.audioEnd, (silent + music) * kFrame);
    // What is counted is what remains.
    EXPECT_EQ(result.frames, music);
    EXPECT_EQ(result.lengthMs, summedMs(music));

    // The first music frame takes 500 bytes from the silence in front: the
    // two frames that hold them are kept (381 bytes of main data each).
    setMainDataBegin(bytes, silent * kFrame, 500);
    result = scan(bytes);
    EXPECT_EQ(result.audioStart, (silent - 2) * kFrame);
    EXPECT_EQ(result.frames, music + 2);
}

TEST_F(StreamScan, AVbrHeaderFrameIsNoAudioAndNoJunk)
{
    // An Info frame as lame writes it: mostly zero bytes, like silence.
    Bytes info = frame({}, Payload::Silence);
    const std::string tag = "Info";
    std::copy(tag.begin(), tag.end(), info.begin() + 36);
    const int music = 300;
    Bytes plain = info;
    append(plain, frames({}, music));
    auto result = scan(plain);
    EXPECT_EQ(result.audioStart, 0) << "the header frame stays the first frame";
    EXPECT_EQ(result.frames, music);

    const int silent = 40;
    Bytes quiet = info;
    append(quiet, frames({}, silent, Payload::Silence));
    append(quiet, frames({}, music));
    setMainDataBegin(quiet, (1 + silent) * kFrame, 0);
    result = scan(quiet);
    EXPECT_EQ(result.audioStart, (1 + silent) * kFrame) << "the silence behind the header frame is junk";
    EXPECT_EQ(result.frames, music);
}

TEST_F(StreamScan, DigitalSilenceNeverStarts)
{
    const auto result = scan(frames({}, 300, Payload::Silence, 0x55));
    EXPECT_EQ(result.outcome, mpeg::ScanOutcome::NoMusic);
    EXPECT_EQ(result.frames, 0);
    EXPECT_EQ(result.lengthMs, 0);
    EXPECT_EQ(result.bitrate, 0);
}

TEST_F(StreamScan, AFrameAcrossTheBlockEndIsJudgedWithBytesFromBothBlocks)
{
    // Frame 39 runs from 16263 to 16680: only 121 of its bytes lie in the
    // first block, too few to call it silent on their own.
    const int silent = 40;
    Bytes bytes = frames({}, silent, Payload::Silence);
    append(bytes, frames({}, 300));
    setMainDataBegin(bytes, silent * kFrame, 0);
    const auto result = scan(bytes);
    EXPECT_EQ(result.audioStart, silent * kFrame);
}

TEST_F(StreamScan, DamageMovesTheAudioStartOnlyBeforeTheMusic)
{
    const int count = 600;
    // Behind the first frame, before three music frames in a row: front junk.
    Bytes early = frames({}, count);
    std::fill_n(early.begin() + kFrame, 4, 0x00);
    auto result = scan(early);
    EXPECT_FALSE(result.damage);
    EXPECT_EQ(result.audioStart, 2 * kFrame);
    EXPECT_EQ(result.frames, count - 2);

    // Once the music has started, damage and stray bytes stay where they are.
    const int damaged = 48;  // about 20 KB in
    Bytes late = frames({}, count);
    std::fill_n(late.begin() + damaged * kFrame, 4, 0x00);
    result = scan(late);
    EXPECT_FALSE(result.damage);
    EXPECT_EQ(result.audioStart, 0);
    EXPECT_EQ(result.frames, count - 1);
    EXPECT_EQ(result.audioEnd, count * kFrame);

    Bytes stray = frames({}, 4);
    stray.push_back(0x12);
    append(stray, frames({}, count - 4));
    result = scan(stray);
    EXPECT_EQ(result.audioStart, 0);
    EXPECT_EQ(result.frames, count);
}

TEST_F(StreamScan, DamageInTheMiddleIsReportedAndWalkedAcross)
{
    const int count = 10060;  // about 4 MiB
    const int damaged = 491;  // about 200 KiB in
    Bytes bytes = frames({}, count);
    std::fill_n(bytes.begin() + damaged * kFrame, 4, 0x00);
    const auto result = scan(bytes);
    EXPECT_EQ(result.outcome, mpeg::ScanOutcome::Damaged);
    ASSERT_TRUE(result.damage);
    EXPECT_EQ(result.frames, count - 1);
    EXPECT_EQ(result.lengthMs, summedMs(count - 1));
    EXPECT_EQ(result.audioEnd, count * kFrame);

    // The message names the spot two bytes behind the miss and what was read there.
    const int spot = damaged * kFrame + 2;
    const std::array<std::uint8_t, 4> there = {bytes[spot], bytes[spot + 1], bytes[spot + 2], bytes[spot + 3]};
    const auto word = mpeg::headerWordFromBytes(there);
    char expected[300];
    std::snprintf(expected, sizeof expected,
                  "'scan.mp3':\tauch nach +2 Mist:\r\noffset: %x, wert: %x, flen: 0     %i  %i  %i       (%i %i %i)\r\n"
                  "wird trotzdem gelistet (Frameanz+Zeit falsch)",
                  spot, word, mpeg::coefficientK(word), mpeg::bitrateKbps(word), mpeg::sampleRate(word),
                  mpeg::versionField(word), mpeg::sampleRateIndex(word), mpeg::bitrateIndex(word));
    EXPECT_EQ(mpeg::listedDespiteDamageText("scan.mp3", *result.damage), expected);
}

TEST_F(StreamScan, TheLastGoodFrameIsKeptWhateverFollowsIt)
{
    const int count = 300;
    Bytes bytes = frames({}, count);
    append(bytes, musicBytes(1000, 99));
    auto result = scan(bytes);
    EXPECT_FALSE(result.damage);
    EXPECT_EQ(result.audioEnd, count * kFrame);
    EXPECT_EQ(result.frames, count);

    // A frame cut short by the end of the file is no audio.
    Bytes truncated = frames({}, 100);
    truncated.resize(truncated.size() - 200);
    result = scan(truncated);
    EXPECT_EQ(result.audioEnd, 99 * kFrame);
    EXPECT_EQ(result.frames, 99);
}

TEST_F(StreamScan, TwoByteSlipIsFollowed)
{
    // Two stray bytes between frames: the header is found two bytes on and
    // the chain goes on.
    const int count = 400;
    Bytes bytes = frames({}, 200);
    bytes.push_back(0x12);
    bytes.push_back(0x34);
    append(bytes, frames({}, count - 200));
    const auto result = scan(bytes);
    EXPECT_FALSE(result.damage);
    EXPECT_EQ(result.audioStart, 0);
    EXPECT_EQ(result.frames, count);
}

TEST_F(StreamScan, ASilentPassageInAShortFileIsNoFrontJunk)
{
    // Every frame of a short file lies in both judged regions; the pause in
    // the middle must not move the audio start behind the music before it.
    Bytes bytes = frames({}, 100);
    append(bytes, frames({}, 40, Payload::Silence));
    append(bytes, frames({}, 100));
    const auto result = scan(bytes);
    EXPECT_EQ(result.audioStart, 0);
    EXPECT_EQ(result.audioEnd, 240 * kFrame);
}
