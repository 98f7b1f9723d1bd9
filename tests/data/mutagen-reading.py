#!/usr/bin/python3
"""Prints what mutagen reads from each file named: one tab-separated line per
file with its title, artist, album, year, track, duration in seconds, sample
rate and channel count, after a header line. Texts are UTF-8; a track is "N"
or "N/M" as the tag writes it. A file in which mutagen finds an ID3 tag and
no stream (a tag-only MP3) gets its tag's texts and 0 for the stream's numbers.
The rate is empty where mutagen gives none (Opus).
Used by make-fixtures.sh to write mutagen-reading.tsv, which the tests compare
the readers with."""
import os
import sys

import mutagen
from mutagen._vorbis import VComment
from mutagen.apev2 import APEv2File
from mutagen.asf import ASF
from mutagen.id3 import ID3
from mutagen.mp3 import HeaderNotFoundError
from mutagen.mp4 import MP4

MP4_KEYS = {"title": "\xa9nam", "artist": "\xa9ART", "album": "\xa9alb", "year": "\xa9day"}
ID3_KEYS = {"title": "TIT2", "artist": "TPE1", "album": "TALB", "year": "TDRC"}
ASF_KEYS = {"title": "Title", "artist": "Author", "album": "WM/AlbumTitle", "year": "WM/Year",
            "track": "WM/TrackNumber"}
APE_KEYS = {"title": "Title", "artist": "Artist", "album": "Album", "year": "Year", "track": "Track"}
VORBIS_KEYS = {"title": "title", "artist": "artist", "album": "album", "year": "date", "track": "tracknumber"}


def mp4_fields(f):
    tags = f.tags or {}
    fields = {name: str(tags[key][0]) if key in tags else "" for name, key in MP4_KEYS.items()}
    track, total = tags["trkn"][0] if "trkn" in tags else (0, 0)
    fields["track"] = "" if not track else (f"{track}/{total}" if total else str(track))
    return fields


def id3_fields(tags):
    tags = tags or {}
    fields = {name: str(tags[key].text[0]) if key in tags else "" for name, key in ID3_KEYS.items()}
    fields["track"] = str(tags["TRCK"].text[0]) if "TRCK" in tags else ""
    return fields


def asf_fields(f):
    tags = f.tags or {}
    return {name: str(tags[key][0]) if key in tags else "" for name, key in ASF_KEYS.items()}


def vorbis_fields(f):
    tags = f.tags or {}
    return {name: tags[key][0] if key in tags else "" for name, key in VORBIS_KEYS.items()}


def ape_fields(f):
    tags = f.tags or {}
    return {name: str(tags[key]) if key in tags else "" for name, key in APE_KEYS.items()}


def main(paths):
    columns = ["title", "artist", "album", "year", "track"]
    print("\t".join(["file"] + columns + ["duration", "samplerate", "channels"]))
    for path in paths:
        try:
            f = mutagen.File(path)
        except HeaderNotFoundError:
            f = None
        if f is None:
            fields, info = id3_fields(ID3(path)), ["0", "0", "0"]
        else:
            if isinstance(f, MP4):
                fields = mp4_fields(f)
            elif isinstance(f, ASF):
                fields = asf_fields(f)
            elif isinstance(f.tags, VComment):
                fields = vorbis_fields(f)
            elif isinstance(f, APEv2File):
                fields = ape_fields(f)
            else:
                fields = id3_fields(f.tags)
            info = [repr(f.info.length), str(getattr(f.info, "sample_rate", "")), str(f.info.channels)]
        row = [os.path.basename(path)] + [fields[c] for c in columns] + info
        assert all("\t" not in value and "\n" not in value for value in row)
        print("\t".join(row))


if __name__ == "__main__":
    main(sys.argv[1:])
