#include "mpeg/fast_estimate.h"

namespace mpeg {

AudioMeasure fastEstimate(HeaderWord firstHeader, int audioBytes)
{
    AudioMeasure measure;
    const int kbps = bitrateKbps(firstHeader);
    const int rate = sampleRate(firstHeader);
    if (kbps <= 0 || rate <= 0)
        return measure;
    // A tag that overlaps the first frame leaves no audio, not a negative amount.
    const int bytes = audioBytes > 0 ? audioBytes : 0;
    measure.bitrate = kbps * 1000;
    measure.lengthMs = (bytes / kbps) * 8;
    const int bytesPerFrame = coefficientK(firstHeader) / 1000 * measure.bitrate / rate;
    measure.frames = bytesPerFrame > 0 ? bytes / bytesPerFrame : 0;
    return measure;
}

}  // namespace mpeg
