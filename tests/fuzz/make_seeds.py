"""Writes the seed corpora of the fuzz targets into tests/data/fuzz/: the
shapes the tests build (tags, trailers, damaged starts, every kind of frame),
kept small. Findings of the fuzzers are added there as files of their own.

Usage: make_seeds.py [DIRECTORY]
"""
import os
import random
import struct
import sys
import zlib

rnd = random.Random(1)
MUSIC = [b for b in range(256) if b not in (0x00, 0xFF, 0x55, 0xAA)]


def music(count):
    return bytes(rnd.choice(MUSIC) for _ in range(count))


def header(b1=0xFB, b2=0x90, b3=0x44):
    return bytes([0xFF, b1, b2, b3])


def frame(length, b1=0xFB, b2=0x90, b3=0x44, silent=False):
    body = bytes(length - 4) if silent else music(length - 4)
    return header(b1, b2, b3) + body


def frames(count, length=417, **kind):
    return b"".join(frame(length, **kind) for _ in range(count))


def id3v1(title=b"Song", artist=b"Band", year=b"2001", track=3, genre=17):
    tag = bytearray(128)
    tag[0:3] = b"TAG"
    tag[3:3 + len(title)] = title
    tag[33:33 + len(artist)] = artist
    tag[93:93 + len(year)] = year
    tag[126] = track
    tag[127] = genre
    return bytes(tag)


def syncsafe(size):
    return bytes((size >> shift) & 0x7F for shift in (21, 14, 7, 0))


def id3v2(version, content, footer=False):
    frame_header = (b"APIC" + struct.pack(">I", len(content)) + b"\0\0") if version > 2 else (b"PIC" + struct.pack(">I", len(content))[1:])
    body = frame_header + content
    flags = 0x10 if footer else 0
    tag = b"ID3" + bytes([version, 0, flags]) + syncsafe(len(body)) + body
    if footer:
        tag += b"3DI" + bytes([version, 0, flags]) + syncsafe(len(body))
    return tag


def text(encoding, words):
    """A text frame's content in one of the four encodings."""
    codec = {0: "latin-1", 1: "utf-16", 2: "utf-16-be", 3: "utf-8"}[encoding]
    return bytes([encoding]) + words.encode(codec)


def unsynchronise(data):
    return data.replace(b"\xff", b"\xff\x00")


def tag_of(version, frames, flags=0, padding=64, extended=b""):
    """A whole tag of real frames: (name, content) or (name, content, frame flags)."""
    body = extended
    for item in frames:
        name, content = item[0], item[1]
        frame_flags = item[2] if len(item) > 2 else b"\0\0"
        if version == 2:
            body += name + struct.pack(">I", len(content))[1:] + content
        else:
            size = syncsafe(len(content)) if version == 4 else struct.pack(">I", len(content))
            body += name + size + frame_flags + content
    body += bytes(padding)
    if version == 3 and flags & 0x80:
        body = unsynchronise(body)
    return b"ID3" + bytes([version, 0, flags]) + syncsafe(len(body)) + body


def picture(kind):
    return b"\0image/jpeg\0" + bytes([kind]) + b"\0" + b"\xff\xd8\xff\xe0" + bytes(range(256)) * 2


def id3v2_seeds():
    """Tags as taggers write them, for TagLib to read: every field, every
    encoding, unsynchronisation, an extended header, a compressed frame, damage."""
    fields3 = [(b"TIT2", text(1, "\u00dcber den Wolken")), (b"TPE1", text(0, "Kapelle Gr\u00fcn")),
               (b"TALB", text(1, "\u041a\u0430\u043b\u0438\u043d\u043a\u0430")), (b"TYER", text(0, "1993")),
               (b"TRCK", text(0, "3/12")), (b"TCON", text(0, "(17)")),
               (b"COMM", b"\0deu\0Kommentar"), (b"COMM", b"\0deuBeschreibung\0Anderes"),
               (b"TXXX", text(0, "REPLAYGAIN_TRACK_GAIN\0-7.5 dB")), (b"USLT", b"\0deu\0Lalala"),
               (b"APIC", picture(4)), (b"APIC", picture(3))]
    fields4 = [(b"TIT2", text(3, "\u00dcber den Wolken")), (b"TPE1", text(3, "Kapelle Gr\u00fcn")),
               (b"TDRC", text(3, "1993-05-01")), (b"TRCK", text(3, "3")), (b"TCON", text(3, "Rock")),
               (b"APIC", unsynchronise(picture(3)), b"\0\x02")]
    fields2 = [(b"TT2", text(0, "Alt")), (b"TP1", text(1, "Band")), (b"TAL", text(0, "Album")),
               (b"TYE", text(0, "1979")), (b"TRK", text(0, "7/9")), (b"TCO", text(0, "Punk")),
               (b"COM", b"\0eng\0Kommentar"), (b"PIC", b"\0JPG\x03\0" + bytes(range(256)))]
    packed = zlib.compress(text(0, "Gepackt").ljust(200, b"x"))
    compressed = [(b"TIT2", struct.pack(">I", 201) + packed, b"\0\x80"), (b"TPE1", text(0, "Band"))]
    over = bytearray(tag_of(3, [(b"TIT2", text(0, "Gut")), (b"TPE1", text(0, "Weg"))], padding=0))
    over[10 + 14 + 6] = 0x7F
    return {
        "id3v23_fields": tag_of(3, fields3) + frames(12),
        "id3v23_unsynchronised": tag_of(3, fields3, flags=0x80) + frames(12),
        "id3v24_fields_extended": tag_of(4, fields4, flags=0x40, extended=syncsafe(6) + b"\x01\0") + frames(12),
        "id3v22_fields": tag_of(2, fields2) + frames(12) + id3v1(),
        "id3v23_compressed": tag_of(3, compressed) + frames(12),
        "id3v23_frame_runs_over": bytes(over) + frames(12),
    }


def with_crc(count):
    """MPEG-1 Layer III frames with a CRC and a correct check word."""
    out = b""
    for _ in range(count):
        data = bytearray(frame(417, b1=0xFA))
        crc = 0xFFFF
        for byte in data[2:4] + data[6:38]:
            for bit in range(7, -1, -1):
                top = (crc >> 15) & 1
                crc = (crc << 1) & 0xFFFF
                if top ^ ((byte >> bit) & 1):
                    crc ^= 0x8005
        data[4:6] = crc.to_bytes(2, "big")
        out += bytes(data)
    return out


def trailer():
    records = b""
    for text in (b"Song", b"Album", b"Band") + tuple(b"skip%d" % i for i in range(6)):
        records += struct.pack("<h", len(text)) + text
    records += b" " * 12 + struct.pack("<h", 8) + b"one more" + struct.pack("<h", 8) + b"7a0b1c2d"
    return records.ljust(400, b"\0")


def mp3_seeds():
    rnd.seed(1)  # the same bytes for every target that takes MP3 files
    seeds = {}
    seeds["plain_with_tag"] = frames(12) + id3v1()
    seeds["padding"] = frames(6) + frames(6, 418, b2=0x92)
    seeds["id3v23"] = id3v2(3, music(300)) + frames(12) + id3v1(year=b"99")
    seeds["id3v24_footer"] = id3v2(4, music(200), footer=True) + frames(12)
    seeds["id3v22"] = id3v2(2, music(200)) + frames(12)
    seeds["two_tags"] = id3v2(3, music(100)) + id3v2(4, music(100)) + frames(10)
    seeds["tag_larger_than_file"] = b"ID3\x03\0\0\x7f\x7f\x7f\x7f" + frames(10)
    seeds["riff_junk"] = b"RIFF" + music(413) + frames(12)
    seeds["garbage_behind"] = frames(12) + music(300) + id3v1()
    tagged = frames(12)
    seeds["trailer"] = (tagged + trailer() + struct.pack("<I", len(tagged) + 1) + bytes(12)
                        + struct.pack("<I", len(tagged) + 1) + b"Brav" + bytes(44) + id3v1())
    seeds["damaged_start"] = frames(3) + music(700) + frames(12)
    seeds["damaged_middle"] = frames(170) + b"\0\0\0\0" + frames(20)
    seeds["silence_around"] = frames(6, silent=True) + frames(8) + frames(6, silent=True)
    seeds["crc"] = with_crc(12) + id3v1()
    seeds["mpeg2"] = frames(12, 208, b1=0xF3, b2=0x80)
    seeds["layer2"] = frames(12, 626, b1=0xFD, b2=0xA0)
    seeds["layer1"] = frames(12, 416, b1=0xFF, b2=0x90)
    seeds["mpeg25"] = frames(12, 209, b1=0xE3, b2=0x40)
    seeds["mpeg2_crc"] = frames(12, 208, b1=0xF2, b2=0x80)
    seeds["layer2_crc"] = frames(12, 626, b1=0xFC, b2=0xA0)
    seeds["free_format"] = b"".join(header(0xFB, 0x00) + music(646) for _ in range(10))
    fake = bytearray(id3v1())
    fake[10:14] = header()
    seeds["header_inside_tag"] = music(200) + bytes(fake)
    seeds["tiny"] = header()
    seeds.update(id3v2_seeds())
    return seeds


def archive_string(text):
    if len(text) < 255:
        return bytes([len(text)]) + text
    if len(text) < 65534:
        return b"\xff" + struct.pack("<H", len(text)) + text
    return b"\xff\xff\xff" + struct.pack("<I", len(text)) + text


def record(name, path, title=b"Song", artist=b"Band", size=5132, start=0, end=5004, flags=0, frames_=11):
    strings = b"".join(archive_string(t) for t in (name, path, title, artist, b"Album", b"note"))
    numbers = struct.pack("<iiiIiiiiiIBB", size, 17, 2001, 0x4490FBFF, 287, 128000, frames_, start, end, flags, 1, 3)
    return strings + numbers


def list_seeds():
    seeds = {}
    seeds["empty"] = b"\0\0\0\0"
    seeds["zero_length"] = b""
    seeds["one"] = struct.pack("<i", 1) + record(b"a.mp3", b"/music")
    seeds["three"] = struct.pack("<i", 3) + b"".join(
        record(b"%c.mp3" % c, b"/music/" + bytes([c]) * 300, artist=b"\xc4rzte", flags=0x3F)
        for c in b"abc")
    utf16 = b"\xff\xfe\xff" + bytes([5]) + "b\u00e4.mp".encode("utf-16-le")
    seeds["utf16"] = struct.pack("<i", 1) + utf16 + record(b"", b"/m")[1:]
    seeds["truncated"] = (struct.pack("<i", 3) + record(b"a.mp3", b"/music"))[:-7]
    seeds["negative_count"] = struct.pack("<i", -4)
    return seeds


def fix_list_seeds():
    # The names and sizes of the files the target puts in its scratch folder.
    files = [(b".bashrc", 17), (b"notes.txt", 16), (b"a.mp3", 8340), (b"b.mp3", 8340), (b"fifo.mp3", 0),
             (b"dir.mp3", 4096), (b"link.mp3", 8340)]
    seeds = {}
    seeds["all"] = struct.pack("<i", len(files)) + b"".join(
        record(name, b"/x", title=b"\nid>PWNED\n", size=size, start=0, end=0) for name, size in files)
    seeds["as_songs"] = struct.pack("<i", len(files)) + b"".join(
        record(name, b"/x", size=size, start=0, end=size, frames_=20) for name, size in files)
    seeds["same_name"] = struct.pack("<i", 2) + record(b"a.mp3", b"/x", size=8340, end=8340, frames_=20) + record(
        b"b.mp3", b"/x", size=8340, end=8340, frames_=20)
    return seeds


def text_seeds():
    return {
        "file_name": b"01 - the beatles - let it be.mp3",
        "brackets": b"(Artist) Title.mp3",
        "rock_n_roll": b"\x0fsimon_n_garfunkel_-_the_boxer.mp3\0Simon & Garfunkel\0Rock 'n' Roll\0R.E.M.\0feat. Eminem\0$Artist-$Title",
        "umlauts": b"\x03Bj\xf6rk \xc4rzte Stra\xdfe\0\xc9mile Zola\0AC/DC\0Rocky III\0U.S.A. for Africa\0$Track - $Artist - $Title",
        "utf8": "Die \u00c4rzte \u2013 Schrei nach Liebe.mp3".encode("utf-8"),
        "pattern": b"\x08\0Nena\099 Luftballons\0\0\0$Track $Artist $Title $Album $Genre $Comment $Year",
    }


def main(directory):
    for target, seeds in (("fuzz_load", mp3_seeds()), ("fuzz_rewrite", mp3_seeds()),
                          ("fuzz_list", list_seeds()), ("fuzz_text", text_seeds()),
                          ("fuzz_fixList", fix_list_seeds())):
        os.makedirs(os.path.join(directory, target), exist_ok=True)
        for name, data in seeds.items():
            with open(os.path.join(directory, target, "seed_" + name), "wb") as out:
                out.write(data)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "data", "fuzz"))
