#pragma once

#include "support/mp3_builder.h"

namespace interop {

inline constexpr int kSoundSampleRate = 44100;

// A WAV file of 16-bit stereo sound at 44100 Hz: a few tones per channel
// that swell and fade slowly, with some noise. It is loud from the first
// sample to the last, so an encoder makes no frame of digital silence.
testsupport::Bytes testSoundWav(int seconds);

}  // namespace interop
