"""Walks the MPEG audio frames of a file from an offset, on its own reading
of the standard (every version and layer), and checks the CRC of protected
Layer III frames.

Usage: frame_walk.py FILE OFFSET [resync]
With resync, stray bytes between frames are passed over: the walk goes on at
the next header whose frame is followed by another. Prints "offsets O1 O2 ...", "end E" (behind the last frame) and
"crc_checked N" and "crc_bad M".
"""
import sys

BITRATES = {
    (1, 1): [0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448],
    (1, 2): [0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384],
    (1, 3): [0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320],
    (2, 1): [0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256],
    (2, 2): [0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160],
    (2, 3): [0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160],
}
RATES = {1: [44100, 48000, 32000], 2: [22050, 24000, 16000], 25: [11025, 12000, 8000]}


def parse(header):
    if header[0] != 0xFF or header[1] & 0xE0 != 0xE0:
        return None
    version = {3: 1, 2: 2, 0: 25}.get((header[1] >> 3) & 3)
    layer = {3: 1, 2: 2, 1: 3}.get((header[1] >> 1) & 3)
    index, rate_index = header[2] >> 4, (header[2] >> 2) & 3
    if version is None or layer is None or index in (0, 15) or rate_index == 3:
        return None
    kbps = BITRATES[(1 if version == 1 else 2, layer)][index]
    rate = RATES[version][rate_index]
    padding = (header[2] >> 1) & 1
    if layer == 1:
        length = (12000 * kbps // rate + padding) * 4
    elif layer == 3 and version != 1:
        length = 72000 * kbps // rate + padding
    else:
        length = 144000 * kbps // rate + padding
    mono = header[3] >> 6 == 3
    side = (17 if mono else 32) if version == 1 else (9 if mono else 17)
    return {"length": length, "protected": not header[1] & 1, "layer": layer, "side": side}


def crc16(data):
    crc = 0xFFFF
    for byte in data:
        for bit in range(7, -1, -1):
            top = (crc >> 15) & 1
            crc = (crc << 1) & 0xFFFF
            if top ^ ((byte >> bit) & 1):
                crc ^= 0x8005
    return crc


def follows(data, position):
    frame = parse(data[position:position + 4])
    if frame is None:
        return False
    end = position + frame["length"]
    return end == len(data) or parse(data[end:end + 4]) is not None


def main(path, offset, resync=False):
    with open(path, "rb") as stream:
        data = stream.read()
    position = int(offset)
    offsets = []
    checked = bad = 0
    while position + 4 <= len(data):
        frame = parse(data[position:position + 4])
        if frame is None and resync:
            found = next((p for p in range(position + 1, len(data) - 3) if follows(data, p)), None)
            if found is None:
                break
            position = found
            frame = parse(data[position:position + 4])
        if frame is None or position + frame["length"] > len(data):
            break
        if frame["protected"] and frame["layer"] == 3:
            covered = data[position + 2:position + 4] + data[position + 6:position + 6 + frame["side"]]
            stored = int.from_bytes(data[position + 4:position + 6], "big")
            checked += 1
            bad += crc16(covered) != stored
        offsets.append(position)
        position += frame["length"]
    print("offsets", *offsets)
    print("end", position)
    print("crc_checked", checked)
    print("crc_bad", bad)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2], len(sys.argv) > 3 and sys.argv[3] == "resync")
