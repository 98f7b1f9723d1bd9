#!/bin/sh
# Remakes the seed files of each fuzz target from the test fixtures: the
# parts of them each reader looks at, kept small so the fuzzer mutates fast.
set -e
cd "$(dirname "$0")"
data=../../tests/data
mkdir -p fuzz_id3v1 fuzz_id3v2 fuzz_wav
tail -c 200 "$data/cbr.mp3" >fuzz_id3v1/v11-lame
tail -c 128 "$data/vbr.mp3" >fuzz_id3v1/v11-mutagen
head -c 400 "$data/cbr.mp3" >fuzz_id3v2/v3-lame
head -c 700 "$data/vbr.mp3" >fuzz_id3v2/v4-mutagen
# A version 2 tag: TT2 "Song", COM with language and description, padding.
printf 'ID3\002\000\000\000\000\000\053TT2\000\000\005\000SongCOM\000\000\012\000engd\000Nice\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000' >fuzz_id3v2/v2-built
head -c 300 "$data/tone.wav" >fuzz_wav/pcm8-sox
