#include "interop/test_sound.h"

#include <cmath>
#include <cstdint>
#include <numbers>

namespace interop {

namespace {

constexpr int kChannels = 2;
constexpr int kBytesPerSample = 2;

void putLe(testsupport::Bytes& bytes, std::uint32_t value, int count)
{
    for (int i = 0; i < count; ++i)
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void putText(testsupport::Bytes& bytes, const char* text)
{
    while (*text)
        bytes.push_back(static_cast<std::uint8_t>(*text++));
}

// Deterministic noise in -1..1, so every run encodes the same file.
class Noise {
public:
    double next()
    {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<double>(state_ >> 8) / static_cast<double>(1u << 23) - 1.0;
    }

private:
    std::uint32_t state_ = 12345;
};

double sample(double t, double baseHz, Noise& noise)
{
    const double swell = 0.75 + 0.25 * std::sin(2.0 * std::numbers::pi * 0.4 * t);
    const double tones = 0.30 * std::sin(2.0 * std::numbers::pi * baseHz * t) +
                         0.15 * std::sin(2.0 * std::numbers::pi * baseHz * 1.5 * t) +
                         0.08 * std::sin(2.0 * std::numbers::pi * baseHz * 4.1 * t);
    return swell * tones + 0.08 * noise.next();
}

}  // namespace

testsupport::Bytes testSoundWav(int seconds)
{
    const auto samples = static_cast<std::uint32_t>(seconds * kSoundSampleRate);
    const std::uint32_t dataSize = samples * kChannels * kBytesPerSample;
    testsupport::Bytes wav;
    wav.reserve(44 + dataSize);
    putText(wav, "RIFF");
    putLe(wav, 36 + dataSize, 4);
    putText(wav, "WAVEfmt ");
    putLe(wav, 16, 4);
    putLe(wav, 1, 2);  // PCM
    putLe(wav, kChannels, 2);
    putLe(wav, kSoundSampleRate, 4);
    putLe(wav, kSoundSampleRate * kChannels * kBytesPerSample, 4);
    putLe(wav, kChannels * kBytesPerSample, 2);
    putLe(wav, 8 * kBytesPerSample, 2);
    putText(wav, "data");
    putLe(wav, dataSize, 4);

    Noise noise;
    for (std::uint32_t i = 0; i < samples; ++i) {
        const double t = static_cast<double>(i) / kSoundSampleRate;
        for (const double baseHz : {220.0, 277.2}) {
            const auto value = static_cast<std::int16_t>(std::lround(sample(t, baseHz, noise) * 32000.0));
            putLe(wav, static_cast<std::uint16_t>(value), kBytesPerSample);
        }
    }
    return wav;
}

}  // namespace interop
