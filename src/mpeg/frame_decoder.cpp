#include "mpeg/frame_decoder.h"

#include <mpg123.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <stdexcept>
#include <string>

namespace mpeg {

namespace {

void initialiseLibrary()
{
    // Needed by libmpg123 before 1.27, a no-op since.
    static std::once_flag once;
    std::call_once(once, [] {
        if (mpg123_init() != MPG123_OK)
            throw std::runtime_error("libmpg123 cannot be initialised");
    });
}

int loudestOf(const unsigned char* audio, std::size_t bytes)
{
    int loudest = 0;
    const std::size_t count = bytes / sizeof(std::int16_t);
    for (std::size_t i = 0; i < count; ++i) {
        std::int16_t sample;
        std::copy_n(audio + i * sizeof sample, sizeof sample, reinterpret_cast<unsigned char*>(&sample));
        loudest = std::max(loudest, std::abs(static_cast<int>(sample)));
    }
    return loudest;
}

}  // namespace

FrameDecoder::FrameDecoder()
{
    initialiseLibrary();
    int error = MPG123_OK;
    handle_ = mpg123_new(nullptr, &error);
    if (!handle_)
        throw std::runtime_error(std::string("no MPEG audio decoder: ") + mpg123_plain_strerror(error));
    // Whole frames are fed, so each is decoded as it comes; no Info frame
    // or gapless trimming takes samples away, and nothing is printed.
    mpg123_param(handle_, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_NO_READAHEAD | MPG123_IGNORE_INFOFRAME, 0.0);
    mpg123_param(handle_, MPG123_REMOVE_FLAGS, MPG123_GAPLESS, 0.0);
    mpg123_format_none(handle_);
    const long* rates = nullptr;
    std::size_t count = 0;
    mpg123_rates(&rates, &count);
    for (std::size_t i = 0; i < count; ++i)
        mpg123_format(handle_, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    restart();
}

FrameDecoder::~FrameDecoder()
{
    mpg123_delete(handle_);
}

void FrameDecoder::restart()
{
    mpg123_close(handle_);
    if (mpg123_open_feed(handle_) != MPG123_OK)
        throw std::runtime_error(std::string("MPEG audio decoder: ") + mpg123_strerror(handle_));
}

std::optional<int> FrameDecoder::loudestSample(std::span<const std::uint8_t> frame)
{
    if (mpg123_feed(handle_, frame.data(), frame.size()) != MPG123_OK)
        return std::nullopt;
    std::optional<int> loudest;
    for (;;) {
        off_t number = 0;
        unsigned char* audio = nullptr;
        std::size_t bytes = 0;
        const int result = mpg123_decode_frame(handle_, &number, &audio, &bytes);
        if (result == MPG123_NEW_FORMAT)
            continue;
        if (result != MPG123_OK)
            break;
        if (bytes > 0)
            loudest = std::max(loudest.value_or(0), loudestOf(audio, bytes));
    }
    return loudest;
}

}  // namespace mpeg
