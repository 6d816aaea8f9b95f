"""Prints what mutagen reads from the ID3v2 tag of a file: its version, then
one line per frame, "frame KEY VALUE", with the texts as mutagen gives them
and, for pictures and other binary frames, a digest of their data; then one
line per item of an APEv2 tag, "frame APE:KEY VALUE".

Usage: id3v2_probe.py FILE
"""
import hashlib
import sys

from mutagen.apev2 import APEv2, APENoHeaderError
from mutagen.id3 import ID3, ID3NoHeaderError


def value(frame):
    if hasattr(frame, "data"):
        return frame.mime + " " + hashlib.sha1(frame.data).hexdigest() if hasattr(frame, "mime") else \
            hashlib.sha1(frame.data).hexdigest()
    if hasattr(frame, "text"):
        return "|".join(str(text) for text in frame.text)
    return repr(frame)


def main(path):
    try:
        # The ID3v1 tag is not merged in: only what the ID3v2 tag holds.
        tags = ID3(path, load_v1=False)
        print("version", ".".join(str(part) for part in tags.version))
        for key in sorted(tags.keys()):
            print("frame", key.replace(" ", "_"), value(tags[key]).replace("\n", "\\n"))
    except ID3NoHeaderError:
        print("version none")
    try:
        ape = APEv2(path)
    except APENoHeaderError:
        return
    for key in sorted(ape.keys()):
        print("frame", "APE:" + key, str(ape[key]))


if __name__ == "__main__":
    main(sys.argv[1])
