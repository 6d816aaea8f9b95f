"""Prints what mutagen reads from an MP3 file, one "key value" line each.

Usage: mutagen_probe.py FILE
"""
import sys

from mutagen.mp3 import MP3, MPEGFrame, HeaderNotFoundError, XingHeader, XingHeaderError


def walk_frames(stream, first, size):
    """Offsets and bitrates of the frames that follow each other from first."""
    offsets, bitrates = [], []
    position = first
    while position < size:
        stream.seek(position)
        try:
            frame = MPEGFrame(stream)
        except HeaderNotFoundError:
            break
        end = stream.tell()
        if end > size:
            break
        offsets.append(position)
        bitrates.append(frame.bitrate)
        position = end
    return offsets, bitrates, position


def main(path):
    info = MP3(path).info
    with open(path, "rb") as stream:
        stream.seek(0, 2)
        size = stream.tell()
        offsets, bitrates, end = walk_frames(stream, info.frame_offset, size)
        stream.seek(info.frame_offset)
        first = MPEGFrame(stream)
        stream.seek(info.frame_offset + XingHeader.get_offset(first))
        try:
            xing = XingHeader(stream)
        except XingHeaderError:
            xing = None
    lame = xing.lame_header if xing else None
    # The first frame carries the Xing header and a bitrate made up from it;
    # the audio frames are the ones behind it.
    audio_bitrates = bitrates[1:]
    print("length_ms", info.length * 1000.0)
    print("bitrate", info.bitrate)
    print("sample_rate", info.sample_rate)
    print("version", info.version)
    print("layer", info.layer)
    print("protected", int(info.protected))
    print("mode", info.mode)
    print("first_frame", info.frame_offset)
    print("frames_walked", len(offsets))
    print("stream_end", end)
    print("xing_frames", xing.frames if xing else -1)
    print("encoder_delay", lame.encoder_delay_start if lame else -1)
    print("encoder_padding", lame.encoder_padding_end if lame else -1)
    print("mean_audio_bitrate", sum(audio_bitrates) / len(audio_bitrates))
    print("last_frame_starts", *offsets[-3:])


if __name__ == "__main__":
    main(sys.argv[1])
