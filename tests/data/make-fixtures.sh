#!/bin/sh
# Regenerates the committed fixture files of this folder. The fixtures are
# committed, so this is needed only to remake or extend them.
# Tools: sox 14.4.2, lame 3.100, ffmpeg 5.1, jpegtran 2.1, python3-mutagen 1.46,
# vorbis-tools 1.4.2, mpcenc 1.30.1, eyeD3 0.9.7, opus-tools 0.2 (Debian 12
# packages sox, lame, ffmpeg, libjpeg-turbo-progs, python3-mutagen,
# vorbis-tools, musepack-tools, eyed3, opus-tools).
# Run from anywhere: sh tests/data/make-fixtures.sh
set -e
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# tone.wav: 0.25 s of 440 Hz, 8000 Hz, mono, 8-bit PCM (44-byte header + 2000 bytes).
sox -n -r 8000 -c 1 -b 8 -e unsigned-integer tone.wav synth 0.25 sine 440

# Source for the MP3s: 16000 Hz mono 16-bit, a sweep so VBR frames differ in size.
sox -n -r 16000 -c 1 -b 16 "$tmp/sweep.wav" synth 1.5 sine 300-3000

# cbr.mp3: 32 kbit/s constant bit rate, ID3v2.3 and ID3v1.1 tags written by lame.
lame --quiet -b 32 --cbr -m m --tt "CBR Title" --ta "CBR Artist" --tl "Fixture Album" \
  --ty 2024 --tc "cbr comment" --tn 3/12 --tg Rock --add-id3v2 "$tmp/sweep.wav" cbr.mp3

# vbr.mp3: variable bit rate (Xing header) without lame's tags, then an ID3v2.4
# tag in UTF-16 with a comment over 127 bytes (synchsafe frame size) and an
# ID3v1 tag, both written by mutagen.
lame --quiet -V 9 -m m "$tmp/sweep.wav" vbr.mp3
/usr/bin/python3 - vbr.mp3 <<'PY'
import sys
from mutagen.id3 import ID3, TIT2, TPE1, TALB, TRCK, TDRC, TCON, COMM, TCOM
tag = ID3()
tag.add(TIT2(encoding=1, text="VBR Title"))
tag.add(TPE1(encoding=1, text="VBR Artist"))
tag.add(TALB(encoding=1, text="Fixture Album"))
tag.add(TRCK(encoding=1, text="7"))
tag.add(TDRC(encoding=1, text="2023-04-05"))
tag.add(TCON(encoding=1, text="Jazz"))
tag.add(TCOM(encoding=3, text="Composer in UTF-8"))
tag.add(COMM(encoding=1, lang="eng", desc="note", text="long comment " + "x" * 140))
tag.save(sys.argv[1], v1=2, v2_version=4, padding=lambda info: 32)
PY

# adts.aac: 0.5 s of 440 Hz stereo at 44100 Hz, AAC LC in ADTS frames written by
# ffmpeg 5.1 (Debian package ffmpeg); then an ID3v2.3 tag in front and an
# ID3v1.1 tag behind, both written by mutagen.
ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi \
  -i "sine=frequency=440:duration=0.5:sample_rate=44100" \
  -ac 2 -c:a aac -b:a 64k -f adts adts.aac
/usr/bin/python3 - adts.aac <<'PY'
import sys
from mutagen.id3 import ID3, TIT2, TPE1, TRCK
tag = ID3()
tag.add(TIT2(encoding=0, text="AAC Title"))
tag.add(TPE1(encoding=0, text="AAC Artist"))
tag.add(TRCK(encoding=0, text="2/5"))
tag.save(sys.argv[1], v1=2, v2_version=3, padding=lambda info: 16)
PY

# container.m4a: 1 s of 440 Hz, 22050 Hz mono, AAC LC at 24 kbit/s in an MP4
# container with the movie box behind the media data (ffmpeg), tagged through
# ffmpeg's metadata options.
ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi \
  -i "sine=frequency=440:duration=1:sample_rate=22050" \
  -ac 1 -c:a aac -b:a 24k -metadata title="MP4 Title" -metadata artist="MP4 Artist" \
  -metadata album="MP4 Album" -metadata date=2019 -metadata track=4/11 -metadata genre=Ambient \
  -metadata comment="made by ffmpeg" -metadata composer="MP4 Composer" \
  -metadata copyright="(c) Fixture" container.m4a

# he-aac.m4a: 1 s of 440 Hz stereo coded as AAC LC at 22050 Hz by ffmpeg
# (Debian's ffmpeg writes no SBR), then signalled as HE-AAC the way encoders
# of it do: the audio specific configuration's sync extension says SBR is
# present at 44100 Hz (its last byte, 0x00 "no SBR" from ffmpeg, becomes
# 0xA0), and the sample entry gives the output rate, 44100.
ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi \
  -i "sine=frequency=440:duration=1:sample_rate=22050" \
  -ac 2 -c:a aac -b:a 32k -metadata title="HE-AAC Title" -metadata artist="HE-AAC Artist" he-aac.m4a
/usr/bin/python3 - he-aac.m4a <<'PY'
import struct, sys
data = bytearray(open(sys.argv[1], "rb").read())
config = bytes.fromhex("139056e500")
at = data.index(config)
assert data.find(config, at + 1) < 0
data[at + 4] = 0xA0
entry = data.index(b"mp4a")
assert struct.unpack(">I", data[entry + 28:entry + 32])[0] == 22050 << 16
data[entry + 28:entry + 32] = struct.pack(">I", 44100 << 16)
open(sys.argv[1], "wb").write(bytes(data))
PY

# alac.m4a: 0.5 s of 440 Hz, 8000 Hz mono, ALAC in an MP4 container with the
# movie box first (ffmpeg), tagged by mutagen: UTF-8 beyond ASCII, a track
# number without a total.
ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi \
  -i "sine=frequency=440:duration=0.5:sample_rate=8000" \
  -ac 1 -c:a alac -movflags +faststart alac.m4a
/usr/bin/python3 - alac.m4a <<'PY'
import sys
from mutagen.mp4 import MP4
f = MP4(sys.argv[1])
f["\xa9nam"] = "ALAC Caf\u00e9"
f["\xa9ART"] = "ALAC Artist"
f["\xa9alb"] = "ALAC Album"
f["\xa9day"] = "2021-03-04"
f["trkn"] = [(5, 0)]
f["\xa9cmt"] = "tagged by mutagen"
f["\xa9wrt"] = "ALAC Composer"
f["cprt"] = "(c) ALAC"
f.save()
PY

# ID3v2 text encodings on 2 s of 8000 Hz mono MP3 (ffmpeg's LAME encoder, no
# tag of its own, no "Info" frame, which the MPEG analyser does not read). id3v24-utf8.mp3 and id3v24-utf16be.mp3: version 2.4 tags
# whose frames are all in encoding 3 (UTF-8) or 2 (UTF-16 big-endian), written
# by mutagen, with a composer outside the code page (Omega) and descriptions
# ending in a zero low byte (A with macron). id3v23-utf8.mp3: UTF-8 frames in
# a version 2.3 tag, which mutagen will not write: its version 2.4 tag with
# the version byte set to 3 (each frame under 128 bytes, so sizes read alike).
ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi \
  -i "sine=frequency=440:duration=2:sample_rate=8000" \
  -ac 1 -c:a libmp3lame -b:a 8k -id3v2_version 0 -write_xing 0 "$tmp/plain.mp3"
for name in id3v24-utf8 id3v24-utf16be id3v23-utf8; do cp "$tmp/plain.mp3" "$name.mp3"; done
/usr/bin/python3 - <<'PY'
from mutagen.id3 import ID3, TIT2, TPE1, TALB, TRCK, TDRC, TCON, COMM, TCOM, WXXX
def tag(path, encoding, title, version_byte=4):
    t = ID3()
    t.add(TIT2(encoding=encoding, text=title))
    t.add(TPE1(encoding=encoding, text="Artist of " + title))
    t.add(TALB(encoding=encoding, text="Album \u00e0 la carte"))
    t.add(TRCK(encoding=encoding, text="2/8"))
    t.add(TDRC(encoding=encoding, text="2020-01-02"))
    t.add(TCON(encoding=encoding, text="(13)Pop"))
    t.add(TCOM(encoding=encoding, text="\u03a9 Composer"))
    t.add(COMM(encoding=encoding, lang="eng", desc="d\u0100", text="Comment \u00e9"))
    t.add(WXXX(encoding=encoding, desc="site\u0100", url="http://fixture.invalid/"))
    t.save(path, v2_version=4, padding=lambda info: 16)
    if version_byte != 4:
        data = bytearray(open(path, "rb").read())
        data[3] = version_byte
        open(path, "wb").write(bytes(data))
tag("id3v24-utf8.mp3", 3, "UTF-8 Title \u00e9")
tag("id3v24-utf16be.mp3", 2, "UTF-16BE Title \u00e9")
tag("id3v23-utf8.mp3", 3, "Ignored Title", 3)
PY

# Windows Media Audio in ASF. wmav2-ffmpeg.wma: 1 s of 440 Hz, 22050 Hz mono,
# WMA 2 at 32 kbit/s, tagged through ffmpeg's metadata options (the year and
# the link under their ASF names: ffmpeg writes other names as they are). wmav1-mutagen.wma: 0.5 s
# 44100 Hz stereo, WMA 1 at 64 kbit/s, its tags replaced by mutagen: a
# picture first, a title beyond ASCII, the track number as a 32-bit number.
ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi \
  -i "sine=frequency=440:duration=1:sample_rate=22050" \
  -ac 1 -c:a wmav2 -b:a 32k -metadata title="WMA Title" -metadata artist="WMA Artist" \
  -metadata album="WMA Album" -metadata WM/Year=2018 -metadata track=6 -metadata genre=Blues \
  -metadata comment="made by ffmpeg" -metadata composer="WMA Composer" \
  -metadata copyright="(c) WMA" -metadata language=en-us -metadata encoded_by="WMA Ripper" \
  -metadata WM/AuthorURL=http://fixture.invalid/ wmav2-ffmpeg.wma
ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi \
  -i "sine=frequency=440:duration=0.5:sample_rate=44100" \
  -ac 2 -c:a wmav1 -b:a 64k -fflags +bitexact wmav1-mutagen.wma
/usr/bin/python3 - wmav1-mutagen.wma <<'PY'
import sys
from mutagen.asf import ASF, ASFByteArrayAttribute, ASFDWordAttribute
f = ASF(sys.argv[1])
f.tags.clear()
picture = b"\x03" + (1500).to_bytes(4, "little") + "image/jpeg\0\0".encode("utf-16-le") + bytes(1500)
f["WM/Picture"] = [ASFByteArrayAttribute(picture)]
f["Title"] = "WMA Caf\u00e9"
f["Author"] = "WMA Artist"
f["WM/AlbumTitle"] = "WMA Album"
f["WM/Year"] = "2021"
f["WM/TrackNumber"] = [ASFDWordAttribute(9)]
f["WM/Genre"] = "Folk"
f.save()
PY

# Ogg Opus. opusenc-sine.opus: 0.5 s of 440 Hz, 44100 Hz stereo (the input
# rate the header keeps), 32 kbit/s, tagged by opusenc (opus-tools 0.2).
# opus-ffmpeg-mutagen.ogg: 1 s of 440 Hz, 16000 Hz mono, 16 kbit/s, written by
# ffmpeg's libopus encoder under an ".ogg" name; its tags replaced by mutagen
# with a 6 KB picture first, so the comment packet runs over two pages.
sox -n -r 44100 -c 2 -b 16 "$tmp/opus-source.wav" synth 0.5 sine 440 vol 0.5
opusenc --quiet --bitrate 32 --title "Opus Title" --artist "Opus Artist" --album "Opus Album" \
  --date 2017 --tracknumber 4 --genre Jazz --comment "COMMENT=made by opusenc" \
  "$tmp/opus-source.wav" opusenc-sine.opus
ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi \
  -i "sine=frequency=440:duration=1:sample_rate=16000" -ac 1 -c:a libopus -b:a 16k opus-ffmpeg-mutagen.ogg
/usr/bin/python3 - opus-ffmpeg-mutagen.ogg <<'PY'
import base64, sys
from mutagen.flac import Picture
from mutagen.oggopus import OggOpus
f = OggOpus(sys.argv[1])
f.tags.clear()
picture = Picture()
picture.type = 3
picture.mime = "image/png"
picture.data = bytes(range(256)) * 24
f["metadata_block_picture"] = base64.b64encode(picture.write()).decode()
f["title"] = "Opus Caf\u00e9"
f["artist"] = "Opus Artist"
f["album"] = "Opus Album"
f["date"] = "2016-05-06"
f["tracknumber"] = "3/10"
f.save()
PY

# tagged.ape: 400 bytes of silence, an APEv2 tag written by mutagen (UTF-8
# text, a 300-byte item and keys in other cases), then an ID3v1 tag that
# mutagen wrote to a scratch file.
/usr/bin/python3 - tagged.ape "$tmp/id3v1.bin" <<'PY'
import sys
from mutagen.apev2 import APEv2
from mutagen.id3 import ID3, TIT2
with open(sys.argv[1], "wb") as f:
    f.write(bytes(400))
tag = APEv2()
tag["Title"] = "Fixture Caf\u00e9"
tag["ARTIST"] = "APE Artist"
tag["album"] = "APE Album"
tag["Track"] = "5/9"
tag["Year"] = "2022"
tag["Genre"] = "Ambient"
tag["Lyrics"] = "la " * 100
tag["Comment"] = "c" * 300
tag["Copyright"] = "(c) Fixture"
tag.save(sys.argv[1])
with open(sys.argv[2], "wb") as f:
    f.write(bytes(16))
id3 = ID3()
id3.add(TIT2(encoding=0, text="ID3v1 Title"))
id3.save(sys.argv[2], v1=2, v2_version=3)
with open(sys.argv[2], "rb") as f:
    v1 = f.read()[-128:]
assert v1[:3] == b"TAG"
with open(sys.argv[1], "ab") as f:
    f.write(v1)
PY

# oggenc-sine.ogg: 0.5 s of 440 Hz, 44100 Hz stereo, quality 0 (nominal
# 64 kbit/s), comments written by oggenc (vorbis-tools 1.4.2).
sox -n -r 44100 -c 2 -b 16 "$tmp/half.wav" synth 0.5 sine 440 vol 0.5
oggenc -Q -q 0 -t "Fixture Title" -a "Fixture Artist" -l "Fixture Album" -N 7 -d 2003 \
  -G Blues -c "COMMENT=made by oggenc" -o oggenc-sine.ogg "$tmp/half.wav"

# Cover art inside the comment packet makes it run over several pages.
# picture-first.ogg: vorbiscomment writes a 52000-byte picture
# (METADATA_BLOCK_PICTURE) before the text fields, in pages of up to 65025
# bytes, as a tagger does when art is added first. picture-after.ogg: mutagen
# writes the text fields, a 12000-byte picture and two more fields, in pages
# of about 4 KB.
picture_block() {
  /usr/bin/python3 - "$1" <<'PY'
import base64, random, struct, sys
size = int(sys.argv[1])
random.seed(size)
data = b"\xff\xd8\xff\xe0" + bytes(random.getrandbits(8) for _ in range(size - 6)) + b"\xff\xd9"
mime, desc = b"image/jpeg", b"Cover"
block = (struct.pack(">II", 3, len(mime)) + mime + struct.pack(">I", len(desc)) + desc
         + struct.pack(">IIIII", 500, 500, 24, 0, len(data)) + data)
print(base64.b64encode(block).decode())
PY
}
oggenc -Q -q 0 -o "$tmp/plain.ogg" "$tmp/half.wav"
vorbiscomment -w -t "METADATA_BLOCK_PICTURE=$(picture_block 52000)" -t "TITLE=Picture First" \
  -t "ARTIST=Vorbiscomment Artist" -t "ALBUM=Fixture Album" -t "DATE=2011" -t "TRACKNUMBER=2/9" \
  "$tmp/plain.ogg" picture-first.ogg
cp "$tmp/plain.ogg" picture-after.ogg
/usr/bin/python3 - picture-after.ogg "$(picture_block 12000)" <<'PY'
import sys
from mutagen.oggvorbis import OggVorbis
f = OggVorbis(sys.argv[1])
f.tags.clear()
f.tags.append(("TITLE", "Picture After"))
f.tags.append(("ARTIST", "Mutagen Artist"))
f.tags.append(("METADATA_BLOCK_PICTURE", sys.argv[2]))
f.tags.append(("ALBUM", "Album After The Picture"))
f.tags.append(("DATE", "2012"))
f.save()
PY

# Musepack stream version 8, written by mpcenc 1.30.1 (musepack-tools).
# sv8-radio.mpc: the 0.5 s stereo sound of oggenc-sine.ogg at --radio, with the
# APE tag mpcenc writes. sv8-mono.mpc: 0.7 s of 440 Hz, 48000 Hz mono, untagged.
mpcenc --silent --overwrite --radio --artist "SV8 Artist" --title "SV8 Title" --album "SV8 Album" \
  --year 2013 --track 4/12 "$tmp/half.wav" sv8-radio.mpc
sox -n -r 48000 -c 1 -b 16 "$tmp/mono48.wav" synth 0.7 sine 440 vol 0.5
mpcenc --silent --overwrite "$tmp/mono48.wav" sv8-mono.mpc

# Monkey's Audio, built by hand (no Debian package writes it): headers that
# say what an encoder's would, and random frame bytes, which no reader decodes.
# monkey-399.ape: version 3.99 (a descriptor and the header it points to),
# 1.5 s of 44100 Hz stereo 16-bit, with an APEv2 tag written by mutagen.
# monkey-397.ape: version 3.97 (the older header, a peak level, the stored WAV
# header), 0.5 s of 22050 Hz mono 16-bit, untagged.
/usr/bin/python3 - <<'PY'
import random, struct
from mutagen.monkeysaudio import MonkeysAudio
def wav_header(blocks, rate, channels, bits):
    size = blocks * channels * bits // 8
    return (b"RIFF" + struct.pack("<I", 36 + size) + b"WAVEfmt "
            + struct.pack("<IHHIIHH", 16, 1, channels, rate, rate * channels * bits // 8, channels * bits // 8, bits)
            + b"data" + struct.pack("<I", size))
def frame_bytes(count, seed):
    random.seed(seed)
    return bytes(random.getrandbits(8) for _ in range(count))
wav = wav_header(66150, 44100, 2, 16)
descriptor = b"MAC " + struct.pack("<HHIIIIIII", 3990, 0, 52, 24, 4, len(wav), 600, 0, 0) + bytes(16)
header = struct.pack("<HHIIIHHI", 2000, 0, 73728 * 4, 66150, 1, 16, 2, 44100)
seek_table = struct.pack("<I", 52 + 24 + 4 + len(wav))
open("monkey-399.ape", "wb").write(descriptor + header + seek_table + wav + frame_bytes(600, 66150))
f = MonkeysAudio("monkey-399.ape")
f.add_tags()
f["Title"] = "Monkey Title"
f["Artist"] = "Monkey Artist"
f["Album"] = "Monkey Album"
f["Year"] = "2014"
f["Track"] = "6/10"
f.save()
wav = wav_header(11025, 22050, 1, 16)
header = b"MAC " + struct.pack("<HHHHIIIIII", 3970, 3000, 0x04, 1, 22050, len(wav), 0, 1, 11025, 16384)
open("monkey-397.ape", "wb").write(header + wav + frame_bytes(400, 11025))
PY

# flac-sine.flac: 0.25 s of 440 Hz, 44100 Hz mono 16-bit, written by flac 1.4.2
# with a seek table, comments, a 1x1 PNG front cover (picture block) and padding.
sox -n -r 44100 -c 1 -b 16 "$tmp/quarter.wav" synth 0.25 sine 440 vol 0.5
/usr/bin/python3 - "$tmp/cover.png" <<'PY'
import struct, sys, zlib
def chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
png = (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', 1, 1, 8, 2, 0, 0, 0))
       + chunk(b'IDAT', zlib.compress(b'\x00\xff\x00\x00')) + chunk(b'IEND', b''))
open(sys.argv[1], 'wb').write(png)
PY
flac -s -8 -f --picture="3|image/png|Cover|1x1x24|$tmp/cover.png" --tag=TITLE="Fixture Title" \
  --tag=ARTIST="Fixture Artist" --tag=ALBUM="Fixture Album" --tag=TRACKNUMBER=7/9 --tag=DATE=2003 \
  --tag=GENRE=Blues --tag=COMMENT="made by flac" -o flac-sine.flac "$tmp/quarter.wav"

# Low-rate constant-bit-rate MP3s as podcasts and audio books are made. Where
# the header does not fit a frame of the stream's rate, ffmpeg codes the first
# frame, which holds the "Info" header (frame and byte counts), at a higher
# rate: info-ffmpeg-32k.mp3 (2 s, 22050 Hz mono, first frame at 56 kbit/s) and
# info-ffmpeg-8k.mp3 (3 s, 8000 Hz mono, first frame at 24 kbit/s). lame leaves
# the header out at such rates (cbr-lame-8k.mp3, 3 s, 8000 Hz mono at 8 kbit/s).
sox -n -r 22050 -c 1 -b 16 "$tmp/voice22.wav" synth 2 sine 200-2000 vol 0.5
sox -n -r 8000 -c 1 -b 16 "$tmp/voice8.wav" synth 3 sine 200-2000 vol 0.5
ffmpeg -nostdin -hide_banner -loglevel error -y -i "$tmp/voice22.wav" -c:a libmp3lame -b:a 32k \
  -metadata title="Info at 32k" -metadata artist="ffmpeg" info-ffmpeg-32k.mp3
ffmpeg -nostdin -hide_banner -loglevel error -y -i "$tmp/voice8.wav" -c:a libmp3lame -b:a 8k \
  -metadata title="Info at 8k" -metadata artist="ffmpeg" info-ffmpeg-8k.mp3
lame --quiet -b 8 --cbr -m m --tt "No Info at 8k" --ta lame --id3v2-only "$tmp/voice8.wav" cbr-lame-8k.mp3

# ID3v2 tags as other taggers write them, on 1 s of 8000 Hz mono MP3 without
# an "Info" header (ffmpeg). id3v23-extended.mp3 and id3v24-frameflags.mp3:
# eyeD3 writes an extended header (version 2.4: with a CRC), and in version
# 2.4 frames with a data-length indicator and a compressed composer frame,
# which is not read. id3v23-unsync.mp3 and id3v24-unsync.mp3: mutagen's
# frames in UTF-16, unsynchronised with mutagen's own routine, as a whole
# (version 2.3) and frame by frame with a data-length indicator (version
# 2.4). id3v2-twice.mp3: a second tag of 3 KB (padding) between the first
# and the audio; readers show the first. tag-only.mp3: mutagen's tag on an empty file.
ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi \
  -i "sine=frequency=440:duration=1:sample_rate=8000" \
  -ac 1 -c:a libmp3lame -b:a 8k -id3v2_version 0 -write_xing 0 "$tmp/short.mp3"
for name in id3v23-extended id3v24-frameflags id3v23-unsync id3v24-unsync; do cp "$tmp/short.mp3" "$name.mp3"; done
/usr/bin/python3 - <<'PY'
import eyed3
from eyed3.id3 import ID3_V2_3, ID3_V2_4
from eyed3.id3.frames import FrameHeader
eyed3.log.setLevel("ERROR")
for path, version in (("id3v23-extended.mp3", ID3_V2_3), ("id3v24-frameflags.mp3", ID3_V2_4)):
    f = eyed3.load(path)
    f.initTag(version=version)
    tag = f.tag
    tag.title = "Extended \u00e9"
    tag.artist = "eyeD3 Artist"
    tag.album = "eyeD3 Album"
    tag.track_num = (3, 9)
    tag.recording_date = "2015"
    tag.header.extended = True
    if version == ID3_V2_4:
        tag.title = "Frame Flags \u00e9"
        tag.extended_header.crc_bit = 1
        tag.composer = "Compressed Composer " * 10
        for frame in tag.frameiter([b"TIT2", b"TPE1", b"TALB", b"TCOM"]):
            frame.header = FrameHeader(frame.id, version)
            if frame.id == b"TCOM":
                frame.header.compressed = 1
            else:
                frame.header.data_length_indicator = 1
    tag.save(version=version)
PY
/usr/bin/python3 - <<'PY'
import struct
from mutagen.id3 import ID3, TIT2, TPE1, TALB, TRCK, TDRC
from mutagen.id3._util import unsynch, BitPaddedInt
def frames(title):
    return [TIT2(encoding=1, text=title), TPE1(encoding=1, text="Unsync Artist"),
            TALB(encoding=1, text="Unsync Album"), TRCK(encoding=1, text="1/2"), TDRC(encoding=1, text="2019")]
def save(path, title, version):
    tag = ID3()
    for frame in frames(title):
        tag.add(frame)
    tag.save(path, v2_version=version, padding=lambda info: 0)
    data = open(path, "rb").read()
    size = BitPaddedInt(data[6:10])
    return data[:10], data[10:10 + size], data[10 + size:]
header, body, audio = save("id3v23-unsync.mp3", "Unsync 2.3 Title", 3)
body = unsynch.encode(body)
header = header[:5] + bytes([0x80]) + BitPaddedInt.to_str(len(body), width=4)
open("id3v23-unsync.mp3", "wb").write(header + body + audio)
header, body, audio = save("id3v24-unsync.mp3", "Unsync 2.4 Title", 4)
out, at = b"", 0
while at + 10 <= len(body) and body[at:at + 4] != b"\0\0\0\0":
    size = BitPaddedInt(body[at + 4:at + 8])
    content = body[at + 10:at + 10 + size]
    data = BitPaddedInt.to_str(len(content), width=4) + unsynch.encode(content)
    out += body[at:at + 4] + BitPaddedInt.to_str(len(data), width=4) + b"\0\x03" + data
    at += 10 + size
open("id3v24-unsync.mp3", "wb").write(header[:6] + BitPaddedInt.to_str(len(out), width=4) + out + audio)
PY
/usr/bin/python3 - "$tmp/short.mp3" "$tmp/first.bin" <<'PY'
import shutil, sys
from mutagen.id3 import ID3, TIT2, TPE1
open(sys.argv[2], "wb").close()
first = ID3()
first.add(TIT2(encoding=3, text="First Tag Title"))
first.add(TPE1(encoding=3, text="First Tag Artist"))
first.save(sys.argv[2], v2_version=4, padding=lambda info: 64)
shutil.copy(sys.argv[1], "id3v2-twice.mp3")
second = ID3()
second.add(TIT2(encoding=0, text="Second Tag Title"))
second.add(TPE1(encoding=0, text="Second Tag Artist"))
second.save("id3v2-twice.mp3", v2_version=3, padding=lambda info: 3000)
data = open(sys.argv[2], "rb").read() + open("id3v2-twice.mp3", "rb").read()
open("id3v2-twice.mp3", "wb").write(data)
open("tag-only.mp3", "wb").close()
only = ID3()
only.add(TIT2(encoding=1, text="Only A Tag"))
only.add(TPE1(encoding=1, text="Tag Artist"))
only.save("tag-only.mp3", v2_version=3)
PY

# WAV files with chunks behind the audio, 1 s of 8000 Hz mono 8-bit (sox):
# wav-id3-chunk.wav gets an "id3 " chunk from mutagen; wav-list-picture.wav a
# LIST/INFO chunk as taggers append it, then an "id3 " chunk with a 3000-byte
# picture (mutagen).
sox -n -r 8000 -c 1 -b 8 -e unsigned-integer wav-id3-chunk.wav synth 1 sine 440
sox -n -r 8000 -c 1 -b 8 -e unsigned-integer wav-list-picture.wav synth 1 sine 330
/usr/bin/python3 - <<'PY'
import random, struct
from mutagen.wave import WAVE
from mutagen.id3 import TIT2, TPE1, APIC
def info_chunk(fields):
    body = b"INFO"
    for key, text in fields:
        value = text.encode("latin-1") + b"\0"
        body += key + struct.pack("<I", len(value)) + value + (b"\0" if len(value) % 2 else b"")
    return b"LIST" + struct.pack("<I", len(body)) + body
data = bytearray(open("wav-list-picture.wav", "rb").read())
data += info_chunk([(b"INAM", "Listed Title"), (b"IART", "Listed Artist")])
data[4:8] = struct.pack("<I", len(data) - 8)
open("wav-list-picture.wav", "wb").write(bytes(data))
random.seed(3000)
for path, title, picture in (("wav-id3-chunk.wav", "WAV Tag Title", 0), ("wav-list-picture.wav", "WAV Picture Title", 3000)):
    f = WAVE(path)
    f.add_tags()
    f.tags.add(TIT2(encoding=3, text=title))
    f.tags.add(TPE1(encoding=3, text="WAV Artist"))
    if picture:
        f.tags.add(APIC(encoding=0, mime="image/jpeg", type=3, desc="",
                        data=b"\xff\xd8" + bytes(random.getrandbits(8) for _ in range(picture))))
    f.save()
PY

# pictures/: backgrounds for the window. baseline.jpg is 64x48, its top half
# red and its bottom half green (ffmpeg, baseline JPEG); progressive.jpg the
# same size in blue over yellow, made progressive by jpegtran;
# really-png.jpg is a 16x16 PNG under a JPEG name.
mkdir -p pictures
ffmpeg -v error -f lavfi -i "color=c=0xFF0000:s=64x24" -f lavfi -i "color=c=0x00FF00:s=64x24" \
  -filter_complex vstack -frames:v 1 -pix_fmt yuvj444p -q:v 2 -y pictures/baseline.jpg
ffmpeg -v error -f lavfi -i "color=c=0x0000FF:s=64x24" -f lavfi -i "color=c=0xFFFF00:s=64x24" \
  -filter_complex vstack -frames:v 1 -pix_fmt yuvj444p -q:v 2 -y "$tmp/progressive-source.jpg"
jpegtran -progressive -outfile pictures/progressive.jpg "$tmp/progressive-source.jpg"
ffmpeg -v error -f lavfi -i "color=c=0x0000FF:s=16x16" -frames:v 1 -y "$tmp/blue.png"
cp "$tmp/blue.png" pictures/really-png.jpg

# mutagen-reading.tsv: what mutagen reads from the MP4, ID3v2, ASF, Ogg Vorbis,
# Ogg Opus, Musepack, Monkey's Audio, MP3 and WAV fixtures; the tests compare the
# readers with it.
/usr/bin/python3 mutagen-reading.py container.m4a alac.m4a he-aac.m4a id3v24-utf8.mp3 \
  id3v24-utf16be.mp3 id3v23-utf8.mp3 wmav2-ffmpeg.wma wmav1-mutagen.wma oggenc-sine.ogg \
  picture-first.ogg picture-after.ogg sv8-radio.mpc sv8-mono.mpc monkey-399.ape \
  monkey-397.ape info-ffmpeg-32k.mp3 info-ffmpeg-8k.mp3 cbr-lame-8k.mp3 id3v23-extended.mp3 \
  id3v24-frameflags.mp3 id3v23-unsync.mp3 id3v24-unsync.mp3 id3v2-twice.mp3 tag-only.mp3 \
  wav-id3-chunk.wav wav-list-picture.wav opusenc-sine.opus opus-ffmpeg-mutagen.ogg \
  >mutagen-reading.tsv
