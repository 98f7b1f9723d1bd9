#!/bin/sh
# Remakes the seed files of each fuzz target from the test fixtures: the
# bytes of them each reader looks at, kept small so the fuzzer mutates fast.
set -e
cd "$(dirname "$0")"
data=../../tests/data
mkdir -p fuzz_id3v1 fuzz_id3v2 fuzz_wav
tail -c 200 "$data/cbr.mp3" >fuzz_id3v1/v11-lame
tail -c 128 "$data/vbr.mp3" >fuzz_id3v1/v11-mutagen
head -c 400 "$data/cbr.mp3" >fuzz_id3v2/v3-lame
head -c 700 "$data/vbr.mp3" >fuzz_id3v2/v4-mutagen
# Version 2.4 tags in UTF-8 and UTF-16 big-endian, UTF-8 frames in a 2.3 tag.
head -c 400 "$data/id3v24-utf8.mp3" >fuzz_id3v2/v4-utf8-mutagen
head -c 400 "$data/id3v24-utf16be.mp3" >fuzz_id3v2/v4-utf16be-mutagen
head -c 300 "$data/id3v23-utf8.mp3" >fuzz_id3v2/v3-utf8-mutagen
# A version 2 tag: TT2 "Song", COM with language and description, padding.
printf 'ID3\002\000\000\000\000\000\053TT2\000\000\005\000SongCOM\000\000\012\000engd\000Nice\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000' >fuzz_id3v2/v2-built
head -c 300 "$data/tone.wav" >fuzz_wav/pcm8-sox
# Extended headers (eyeD3), unsynchronised tags (version 2.3 as a whole, 2.4
# frame by frame with data-length indicators), version 2.4 frame flags with a
# compressed frame, and two tags in a row.
head -c 400 "$data/id3v23-extended.mp3" >fuzz_id3v2/v3-extended-eyed3
head -c 500 "$data/id3v24-frameflags.mp3" >fuzz_id3v2/v4-frameflags-eyed3
head -c 400 "$data/id3v23-unsync.mp3" >fuzz_id3v2/v3-unsync-mutagen
head -c 400 "$data/id3v24-unsync.mp3" >fuzz_id3v2/v4-unsync-mutagen
head -c 300 "$data/id3v2-twice.mp3" >fuzz_id3v2/twice-mutagen
# A canonical header, 16 bytes of audio, then a LIST chunk behind the audio.
{ printf 'RIFF\100\000\000\000WAVEfmt \020\000\000\000\001\000\001\000\100\037\000\000\100\037\000\000\001\000\010\000'
  printf 'data\020\000\000\000'; head -c 16 /dev/zero; printf 'LIST\004\000\000\000INFO'; } >fuzz_wav/list-behind-built

# APE tags, MPEGplus, Monkey's Audio and AAC.
mkdir -p fuzz_apetag fuzz_mpegplus fuzz_monkey fuzz_aac
cp "$data/tagged.ape" fuzz_apetag/v2-mutagen
cp "$data/adts.aac" fuzz_aac/adts-ffmpeg
# MP4 files: AAC with the movie behind the media data, ALAC with it first.
mkdir -p fuzz_mp4
cp "$data/container.m4a" fuzz_mp4/aac-ffmpeg
cp "$data/alac.m4a" fuzz_mp4/alac-ffmpeg-mutagen
# HE-AAC: SBR signalled behind the AAC configuration.
cp "$data/he-aac.m4a" fuzz_mp4/he-aac-sync-extension
# An ADIF header (constant rate, 96000 bit/s, LC, 48000 Hz), padded to 200 bytes.
{ printf 'ADIF\000\056\340\001\377\377\376\230\221\277\377\200'; head -c 184 /dev/zero; } >fuzz_aac/adif-built
# A version 7 header (100 frames, profile byte 176, joint stereo), then the APE
# and ID3v1 tags of tagged.ape.
{ printf 'MP+\007\144\000\000\000\000\000\260\100'; head -c 300 /dev/zero; tail -c +401 "$data/tagged.ape"; } \
  >fuzz_mpegplus/v7-built
# A "MAC " header (version 3.99, normal, peak stored, stereo, 44100 Hz, 44-byte
# WAV header with 176400 data bytes), then an ID3v1 tag.
{ printf 'MAC \226\017\320\007\004\000\002\000\104\254\000\000\054\000\000\000\000\000\000\000\012\000\000\000\350\003\000\000\000\100\000\000'
  printf 'RIFF'; head -c 36 /dev/zero; printf '\020\261\002\000'; head -c 100 /dev/zero
  tail -c 128 "$data/adts.aac"; } >fuzz_monkey/v399-built
# Version 3.99 as encoders write it (a descriptor, then the header), with an
# APE tag; stream version 8 Musepack from mpcenc, with its APE tag.
cp "$data/monkey-399.ape" fuzz_monkey/v399-descriptor-mutagen
cp "$data/sv8-radio.mpc" fuzz_mpegplus/sv8-mpcenc

# ASF: the header objects of the WMA fixtures and the start of their data.
mkdir -p fuzz_wma
head -c 1300 "$data/wmav2-ffmpeg.wma" >fuzz_wma/wmav2-ffmpeg
head -c 3400 "$data/wmav1-mutagen.wma" >fuzz_wma/wmav1-mutagen

# Whole small MP3s: a CBR stream with its mark near the end, a Xing VBR stream.
mkdir -p fuzz_mpeg
cp "$data/cbr.mp3" fuzz_mpeg/cbr-lame
cp "$data/vbr.mp3" fuzz_mpeg/vbr-lame-mutagen
# An "Info" header in a first frame coded at a higher rate, a tag without
# audio, and audio behind a second tag.
cp "$data/info-ffmpeg-8k.mp3" fuzz_mpeg/info-ffmpeg
cp "$data/tag-only.mp3" fuzz_mpeg/tag-only-mutagen
cp "$data/id3v2-twice.mp3" fuzz_mpeg/twice-mutagen

# Ogg Vorbis, FLAC, TwinVQ and CD tracks.
mkdir -p fuzz_ogg fuzz_flac fuzz_twinvq fuzz_cda
cp "$data/oggenc-sine.ogg" fuzz_ogg/q0-oggenc
# A comment packet that runs from the second page onto the third (mutagen's
# pages of about 4 KB), cut where the fuzzer's inputs end.
head -c 8192 "$data/picture-after.ogg" >fuzz_ogg/picture-over-pages-mutagen
# Ogg Opus: a whole small file, and the first 8 KB of one whose comment
# packet runs over two pages.
mkdir -p fuzz_opus
cp "$data/opusenc-sine.opus" fuzz_opus/opusenc
head -c 8192 "$data/opus-ffmpeg-mutagen.ogg" >fuzz_opus/picture-over-pages-mutagen
# The FLAC fixture's metadata without its padding block, and the first frames.
tmp_flac=$(mktemp)
cp "$data/flac-sine.flac" "$tmp_flac"
metaflac --remove --block-type=PADDING --dont-use-padding "$tmp_flac"
head -c 1500 "$tmp_flac" >fuzz_flac/picture-flac
rm -f "$tmp_flac"
# A TwinVQ header (stereo, 80 kbit/s, code 44) with NAME, AUTH, a 260-byte
# COMT chunk and the start of the DATA chunk.
{ printf 'TWIN97012000\000\000\000\000COMM\000\000\000\020\000\000\000\001\000\000\000\120\000\000\000\054\000\000\000\000'
  printf 'NAME\000\000\000\004SongAUTH\000\000\000\004BandCOMT\000\000\001\004'; head -c 260 /dev/zero
  printf 'DATA\000\000\003\350'; head -c 200 /dev/zero; } >fuzz_twinvq/chunks-built
# Track 3 of disc 2B, starting at frame 150, 16155 frames long.
{ printf 'RIFF\044\000\000\000CDDAfmt \030\000\000\000\001\000\003\000\053\000\000\000\226\000\000\000\033\077\000\000'
  head -c 8 /dev/zero; } >fuzz_cda/track3-built
