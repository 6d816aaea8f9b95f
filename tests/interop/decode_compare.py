"""Decodes an MP3 file before and after a repair as a player does (mpg123,
no gapless trimming) and tells how the two sounds relate, and what ffprobe
and mutagen make of the repaired file.

Usage: decode_compare.py BEFORE AFTER
Prints "key value" lines:
  offset            sample frames of BEFORE's sound in front of AFTER's, or -1
                    when AFTER's sound is no piece of BEFORE's
  worst_difference  the largest difference between AFTER's samples and the
                    piece of BEFORE's they match
  removed_loudest   the largest sample of BEFORE's sound outside that piece
  samples_before, samples_after, rate, channels
  ffprobe_ms, mutagen_ms, xing_frames, delay, padding (of AFTER; -1 for none)
  lame_check        1 when AFTER's LAME tag holds the right check word, 0 when
                    not, -1 without a LAME tag
"""
import array
import os
import subprocess
import sys
import tempfile
import wave

from mutagen.mp3 import MP3, MPEGFrame, XingHeader, XingHeaderError

# Where a piece may start: frames hold 576 or 1152 samples.
STEP = 576
WINDOW = 4096
LOUD = 1000


def decode(path, directory):
    out = os.path.join(directory, "%d.wav" % len(os.listdir(directory)))
    subprocess.run(["mpg123", "-q", "--no-gapless", "-w", out, path], check=True)
    with wave.open(out, "rb") as sound:
        samples = array.array("h", sound.readframes(sound.getnframes()))
        return samples, sound.getnchannels(), sound.getframerate()


def worst(before, after, offset, start, count):
    end = min(len(after), start + count)
    return max((abs(after[i] - before[offset + i]) for i in range(start, end)), default=0)


def find_piece(before, after, channels):
    loud = next((i for i, s in enumerate(after) if abs(s) > LOUD), None)
    if loud is None or len(after) > len(before):
        return -1
    best, best_offset = None, -1
    for frames in range(0, (len(before) - len(after)) // channels + 1, STEP):
        offset = frames * channels
        difference = worst(before, after, offset, loud, WINDOW)
        if best is None or difference < best:
            best, best_offset = difference, offset
    return best_offset


def lame_facts(path):
    info = MP3(path).info
    if info.layer != 3:
        return info.length, -1, -1, -1
    with open(path, "rb") as stream:
        stream.seek(info.frame_offset)
        first = MPEGFrame(stream)
        stream.seek(info.frame_offset + XingHeader.get_offset(first))
        try:
            xing = XingHeader(stream)
        except XingHeaderError:
            return info.length, -1, -1, -1
    lame = xing.lame_header
    if lame is None:
        return info.length, xing.frames, -1, -1
    return info.length, xing.frames, lame.encoder_delay_start, lame.encoder_padding_end


def crc16_arc(data):
    crc = 0
    for byte in data:
        crc ^= byte
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return crc


def lame_check(path):
    """Whether the LAME tag's check word covers the frame's bytes in front of it."""
    info = MP3(path).info
    with open(path, "rb") as stream:
        stream.seek(info.frame_offset)
        head = stream.read(2000)
    xing = max(head.find(b"Xing"), head.find(b"Info"))
    if xing < 0 or info.layer != 3:
        return -1
    flags = int.from_bytes(head[xing + 4:xing + 8], "big")
    at = xing + 8 + 4 * bool(flags & 1) + 4 * bool(flags & 2) + 100 * bool(flags & 4) + 4 * bool(flags & 8)
    if not head[at:at + 1].isalpha():
        return -1
    return int(crc16_arc(head[:at + 34]) == int.from_bytes(head[at + 34:at + 36], "big"))


def main(before_path, after_path):
    with tempfile.TemporaryDirectory() as directory:
        before, channels, rate = decode(before_path, directory)
        after, _, _ = decode(after_path, directory)
    offset = find_piece(before, after, channels)
    print("channels", channels)
    print("rate", rate)
    print("samples_before", len(before) // channels)
    print("samples_after", len(after) // channels)
    print("offset", offset // channels if offset >= 0 else -1)
    if offset >= 0:
        print("worst_difference", worst(before, after, offset, 0, len(after)))
        outside = [before[i] for i in range(offset)] + [before[i] for i in range(offset + len(after), len(before))]
        print("removed_loudest", max((abs(s) for s in outside), default=0))
    probe = subprocess.run(["ffprobe", "-v", "error", "-show_entries", "format=duration", "-of",
                            "default=nw=1:nk=1", after_path], check=True, capture_output=True, text=True)
    print("ffprobe_ms", float(probe.stdout.strip()) * 1000.0)
    length, frames, delay, padding = lame_facts(after_path)
    print("mutagen_ms", length * 1000.0)
    print("xing_frames", frames)
    print("delay", delay)
    print("padding", padding)
    print("lame_check", lame_check(after_path))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
