"""Reads a repaired MP3 file the way other programs do and prints what it
finds, one "key value" line each.

The ID3v1 tag and an ID3v2 tag at the start are read by mutagen, each on
its own; the frame headers are walked here, with tables of our own, from
behind the ID3v2 tag (offset 0 without one) to the ID3v1 tag.

Usage: fix_probe.py FILE
"""
import sys

import mutagen.id3
import mutagen.mp3

ID3V1_SIZE = 128

# kbit/s by bitrate index, for (MPEG-1?, layer).
BITRATES = {
    (True, 1): [0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448],
    (True, 2): [0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384],
    (True, 3): [0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320],
    (False, 1): [0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256],
    (False, 2): [0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160],
    (False, 3): [0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160],
}
# Hz by sample-rate index, for the two version bits (1 is reserved).
SAMPLE_RATES = {3: [44100, 48000, 32000], 2: [22050, 24000, 16000], 0: [11025, 12000, 8000]}


def frame_length(header):
    """The length of the frame the four bytes start, or None for no header."""
    if header[0] != 0xFF or header[1] & 0xE0 != 0xE0:
        return None
    version = (header[1] >> 3) & 3
    layer = 4 - ((header[1] >> 1) & 3)
    bitrate_index = header[2] >> 4
    rate_index = (header[2] >> 2) & 3
    padding = (header[2] >> 1) & 1
    if version == 1 or layer == 4 or bitrate_index in (0, 15) or rate_index == 3:
        return None
    mpeg1 = version == 3
    bitrate = BITRATES[(mpeg1, layer)][bitrate_index] * 1000
    rate = SAMPLE_RATES[version][rate_index]
    if layer == 1:
        return (12 * bitrate // rate + padding) * 4
    if layer == 3 and not mpeg1:
        return 72 * bitrate // rate + padding
    return 144 * bitrate // rate + padding


def id3v2_size(data):
    """The whole size of the ID3v2 tag the data begin with, 0 without one."""
    if data[:3] != b"ID3":
        return 0
    size = 0
    for byte in data[6:10]:
        size = size << 7 | byte
    return 10 + size


def walk(data, start, end):
    """Frames from start up to end: their count, where the chain stops and
    how many headers carry the copyright bit or lack the original bit."""
    position, frames, copyright, not_original = start, 0, 0, 0
    while position + 4 <= end:
        length = frame_length(data[position:position + 4])
        if length is None:
            break
        copyright += 1 if data[position + 3] & 0x08 else 0
        not_original += 0 if data[position + 3] & 0x04 else 1
        frames += 1
        position += length
    return frames, position, copyright, not_original


def text(tags, key):
    return str(tags[key].text[0]) if key in tags else ""


def print_tag(prefix, tags):
    print(prefix + "title", text(tags, "TIT2"))
    print(prefix + "artist", text(tags, "TPE1"))
    print(prefix + "album", text(tags, "TALB"))
    print(prefix + "year", text(tags, "TDRC"))
    comments = tags.getall("COMM")
    print(prefix + "comment", comments[0].text[0] if comments else "")
    print(prefix + "track", text(tags, "TRCK"))
    print(prefix + "genre", tags["TCON"].genres[0] if "TCON" in tags else "")


def main(path):
    with open(path, "rb") as stream:
        data = stream.read()
    tag_start = len(data) - ID3V1_SIZE
    audio_start = id3v2_size(data)
    frames, chain_end, copyright, not_original = walk(data, audio_start, tag_start)
    print("size", len(data))
    print("frames", frames)
    print("chain_end", chain_end)
    print("copyright_set", copyright)
    print("original_clear", not_original)

    print("id3v2_size", audio_start)
    if audio_start:
        tags = mutagen.id3.ID3(path)
        print("id3v2_version", ".".join(str(part) for part in tags.version))
        print_tag("v2_", tags)
    # The ID3v1 tag alone, as mutagen reads it where no ID3v2 tag is.
    v1 = mutagen.id3.ID3()
    for frame in (mutagen.id3.ParseID3v1(data[tag_start:]) or {}).values():
        v1.add(frame)
    print("tag_version", "1.1" if data[tag_start:tag_start + 3] == b"TAG" else "none")
    print_tag("", v1)

    info = mutagen.mp3.MP3(path).info
    print("mutagen_first_frame", info.frame_offset)
    print("mutagen_sample_rate", info.sample_rate)


if __name__ == "__main__":
    main(sys.argv[1])
