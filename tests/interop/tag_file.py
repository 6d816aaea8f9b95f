"""Puts an ID3v2 tag in front of an MP3 file as taggers write them.

Usage: tag_file.py SOURCE TARGET KIND
KIND: none, v23-picture, v24-picture (with padding), v24-footer, v22,
v23-rich and v24-rich (UTF-16 and UTF-8 texts, Cyrillic, an 80-character
album, track "3/12", lyrics, TXXX, a comment and two pictures),
v23-unsync (mutagen's tag, unsynchronised), eyed3 (written by eyeD3) and
id3v2-tool (written by the id3v2 program). KIND+back puts behind the audio
junk to cut, then an APEv2 tag written by mutagen, a Lyrics3v2 block and an
ID3v1 tag of the front tag's texts.
Prints "audio_start N": the offset at which the source's bytes begin, and
"back_tags N": how many bytes of tags stand between the junk and the ID3v1 tag.
The picture is 150 KB of bytes that, like real pictures, hold runs that
look like frame headers; it stands behind the text frames.
"""
import random
import shutil
import struct
import subprocess
import sys
import tempfile

from mutagen.apev2 import APEv2
from mutagen.id3 import APIC, COMM, ID3, TALB, TCON, TDRC, TIT2, TPE1, TRCK, TXXX, USLT
from mutagen.id3._util import unsynch


def picture():
    rnd = random.Random(7)
    data = bytearray(rnd.getrandbits(8) for _ in range(150000))
    # A header the program accepts every few kilobytes.
    for at in range(1000, len(data) - 4, 4099):
        data[at:at + 4] = b"\xff\xfb\x90\x44"
    return b"\xff\xd8\xff\xe0" + bytes(data)


def mutagen_tag(target, version, padding):
    tag = ID3()
    tag.add(TIT2(encoding=3, text="Schrei nach Liebe"))
    tag.add(TPE1(encoding=3, text="Die \u00c4rzte"))
    tag.add(TALB(encoding=3, text="Die Bestie in Menschengestalt"))
    tag.add(APIC(encoding=3, mime="image/jpeg", type=3, desc="Cover", data=picture()))
    tag.save(target, v2_version=version, padding=lambda info: padding)


def rich_tag(target, version):
    encoding = 1 if version == 3 else 3
    tag = ID3()
    tag.add(TIT2(encoding=encoding, text="Schrei nach Liebe"))
    tag.add(TPE1(encoding=encoding, text="Die \u00c4rzte"))
    tag.add(TALB(encoding=encoding, text="\u041a\u0430\u043b\u0438\u043d\u043a\u0430 " + "x" * 72))
    tag.add(TDRC(encoding=encoding, text="1993"))
    tag.add(TRCK(encoding=encoding, text="3/12"))
    tag.add(TCON(encoding=encoding, text="Punk"))
    tag.add(COMM(encoding=encoding, lang="deu", desc="", text="Gegen Nazis"))
    tag.add(USLT(encoding=encoding, lang="deu", desc="", text="Du hast nie gelernt\ndich zu artikulieren"))
    tag.add(TXXX(encoding=encoding, desc="REPLAYGAIN_TRACK_GAIN", text="-7.5 dB"))
    tag.add(APIC(encoding=encoding, mime="image/jpeg", type=4, desc="Hinten", data=picture()[:5000]))
    tag.add(APIC(encoding=encoding, mime="image/jpeg", type=3, desc="Cover", data=picture()))
    tag.save(target, v2_version=version, padding=lambda info: 512)


def syncsafe(size):
    return bytes((size >> shift) & 0x7F for shift in (21, 14, 7, 0))


def prepend(target, tag):
    with open(target, "rb") as stream:
        audio = stream.read()
    with open(target, "wb") as stream:
        stream.write(tag + audio)


def v24_with_footer(source, target):
    """mutagen writes no footer: its tag, flagged, with the footer behind it."""
    shutil.copy(source, target)
    mutagen_tag(target, 4, 0)
    with open(target, "rb") as stream:
        data = stream.read()
    size = (data[6] << 21) | (data[7] << 14) | (data[8] << 7) | data[9]
    header = bytearray(data[:10])
    header[5] |= 0x10
    footer = b"3DI" + bytes(header[3:])
    with open(target, "wb") as stream:
        stream.write(bytes(header) + data[10:10 + size] + footer + data[10 + size:])


def v22(target):
    """Version 2.2: three-letter frame names and three-byte sizes."""
    frames = b""
    for name, text in ((b"TT2", b"\x00Schrei nach Liebe"), (b"TP1", b"\x00Die \xc4rzte")):
        frames += name + struct.pack(">I", len(text))[1:] + text
    pic = b"\x00JPG\x03\x00" + picture()
    frames += b"PIC" + struct.pack(">I", len(pic))[1:] + pic
    prepend(target, b"ID3\x02\x00\x00" + syncsafe(len(frames)) + frames)


def unsynchronised(target):
    """mutagen's 2.3 tag with the whole tag unsynchronised, as version 2.3 does it."""
    mutagen_tag(target, 3, 0)
    with open(target, "rb") as stream:
        data = stream.read()
    size = (data[6] << 21) | (data[7] << 14) | (data[8] << 7) | data[9]
    body = unsynch.encode(data[10:10 + size])
    header = bytearray(data[:10])
    header[5] |= 0x80
    header[6:10] = syncsafe(len(body))
    with open(target, "wb") as stream:
        stream.write(bytes(header) + body + data[10 + size:])


def run(command):
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def eyed3(target):
    with tempfile.NamedTemporaryFile(suffix=".jpg") as cover:
        cover.write(picture())
        cover.flush()
        run(["eyeD3", "--no-color", "-Q", "--to-v2.4", "-t", "Schrei nach Liebe", "-a", "Die \u00c4rzte",
             "-A", "Die Bestie in Menschengestalt", "--add-image", cover.name + ":FRONT_COVER", target])


def id3v2_tool(target):
    # The program takes its texts in Latin-1.
    run([b"id3v2", b"-2", b"-t", b"Schrei nach Liebe", b"-a", b"Die \xc4rzte",
         b"-A", b"Die Bestie in Menschengestalt", target.encode()])


def text_field(text, width):
    return text.encode("latin-1")[:width].ljust(width, b"\0")


def back_tags(target):
    """Behind the audio: junk, then the tags, then an ID3v1 tag as the program writes it."""
    rnd = random.Random(11)
    with open(target, "ab") as stream:
        # Below 0x80, so no byte starts a frame header.
        stream.write(bytes(rnd.getrandbits(7) for _ in range(1500)))
    with open(target, "rb") as stream:
        before = len(stream.read())
    ape = APEv2()
    ape["REPLAYGAIN_TRACK_GAIN"] = "-7.50 dB"
    ape["MP3GAIN_MINMAX"] = "082,210"
    ape.save(target)
    lyrics = b"LYRICSBEGIN" + b"IND00002" + b"10" + b"LYR00011" + b"Hallo Welt!"
    lyrics += b"%06d" % len(lyrics) + b"LYRICS200"
    tags = ID3(target)
    id3v1 = (b"TAG" + text_field(str(tags["TIT2"]), 30) + text_field(str(tags["TPE1"]), 30)
             + text_field(str(tags["TALB"]) if "TALB" in tags else "", 30) + bytes(4) + bytes(30) + b"\xff")
    with open(target, "ab") as stream:
        stream.write(lyrics + id3v1)
    with open(target, "rb") as stream:
        after = len(stream.read())
    return after - before - 128


def main(source, target, kind):
    with open(source, "rb") as stream:
        original = len(stream.read())
    kind, _, back = kind.partition("+")
    if kind == "v24-footer":
        v24_with_footer(source, target)
    else:
        shutil.copy(source, target)
        if kind == "v23-picture":
            mutagen_tag(target, 3, 0)
        elif kind == "v24-picture":
            mutagen_tag(target, 4, 2048)
        elif kind == "v22":
            v22(target)
        elif kind == "v23-rich":
            rich_tag(target, 3)
        elif kind == "v24-rich":
            rich_tag(target, 4)
        elif kind == "v23-unsync":
            unsynchronised(target)
        elif kind == "eyed3":
            eyed3(target)
        elif kind == "id3v2-tool":
            id3v2_tool(target)
        elif kind != "none":
            sys.exit("unknown kind " + kind)
    with open(target, "rb") as stream:
        audio_start = len(stream.read()) - original
    print("audio_start", audio_start)
    print("back_tags", back_tags(target) if back == "back" else 0)


if __name__ == "__main__":
    main(*sys.argv[1:4])
