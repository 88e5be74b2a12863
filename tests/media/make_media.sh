#!/usr/bin/env bash
# Generates the test media into the folder given as the only argument. Every
# file is made once: a file that already exists is left alone, and each one is
# written under a temporary name first so an interrupted run leaves no half file.
set -euo pipefail

out=${1:?usage: make_media.sh <output folder>}
mkdir -p "$out"
cd "$out"

for tool in sox lame twolame ffprobe id3v2 python3; do
    command -v "$tool" >/dev/null || { echo "make_media.sh: $tool is missing" >&2; exit 1; }
done

# produce <name> <command...>: runs the command with every argument "@OUT@"
# replaced by the temporary output file (also in $tmp for shell functions).
produce() {
    local name=$1
    shift
    [[ -s $name ]] && return 0
    tmp=".$name.tmp"
    rm -f "$tmp"
    local args=("${@//@OUT@/$tmp}")
    "${args[@]}"
    mv -f "$tmp" "$name"
}

# Ten seconds of pulsing noise, so a variable bit rate really varies early on.
produce source.wav sox -R -q -n -r 44100 -c 2 -b 16 -t wav @OUT@ synth 10 pinknoise tremolo 4 90 vol 0.5
produce tone.wav sox -R -q -n -r 44100 -c 1 -b 16 -t wav @OUT@ synth 3 sine 440

produce cbr_info.mp3 lame --quiet -b 128 source.wav @OUT@
produce cbr_noinfo.mp3 lame --quiet -b 128 -t source.wav @OUT@
produce vbr_xing.mp3 lame --quiet -V 4 source.wav @OUT@
produce vbr_noinfo.mp3 lame --quiet -V 4 -t source.wav @OUT@
produce crc.mp3 lame --quiet -b 128 -p source.wav @OUT@
produce mpeg2_l3.mp3 lame --quiet --resample 22.05 -b 64 source.wav @OUT@
produce mpeg25_l3.mp3 lame --quiet --resample 8 -b 16 source.wav @OUT@
produce layer2.mp2 twolame --quiet -b 192 source.wav @OUT@

# Two seconds of a steady stereo tone at half scale, in each format the
# playback graphs must play, so what reaches the output can be measured.
produce play_tone.wav sox -R -q -n -r 44100 -c 2 -b 16 -t wav @OUT@ synth 2 sine 1000 vol 0.5
produce play_cbr.mp3 lame --quiet -b 128 play_tone.wav @OUT@
produce play_vbr.mp3 lame --quiet -V 2 play_tone.wav @OUT@
produce play.mp2 twolame --quiet -b 192 play_tone.wav @OUT@

id3v1_file() {
    cp cbr_noinfo.mp3 "$tmp"
    id3v2 -1 -a "Test Artist" -t "Test Title" -A "Test Album" -y 2024 "$tmp" >/dev/null
}
produce id3v1.mp3 id3v1_file

# <tag bytes> <audio file>: a 100 KB ID3v2.3 tag (one title frame, then
# padding) in front of the audio.
id3v2_file() {
    python3 - "$1" "$tmp" <<'PY'
import sys
size = 100 * 1024
body = b'TIT2' + (6).to_bytes(4, 'big') + b'\x00\x00' + b'\x00Title'
body += bytes(size - len(body))
syncsafe = bytes([(size >> 21) & 127, (size >> 14) & 127, (size >> 7) & 127, size & 127])
with open(sys.argv[2], 'wb') as f:
    f.write(b'ID3\x03\x00\x00' + syncsafe + body + open(sys.argv[1], 'rb').read())
PY
}
produce id3v2_100k.mp3 id3v2_file cbr_noinfo.mp3
produce id3v2_100k_vbr.mp3 id3v2_file vbr_noinfo.mp3

# Junk between frames, one stretch holding a stray sync pattern. The frames'
# positions are written beside it (0-based, one a line).
garbage_file() {
    ffprobe -v error -show_entries packet=pos -of default=nw=1:nk=1 cbr_noinfo.mp3 > .garbage.src.pos
    python3 - "$tmp" <<'PY'
import random, sys
src = open('cbr_noinfo.mp3', 'rb').read()
starts = [int(line) for line in open('.garbage.src.pos') if line.strip()]
ends = starts[1:] + [len(src)]
rnd = random.Random(7)
out = bytearray()
positions = []
for i, (a, b) in enumerate(zip(starts, ends)):
    if i in (20, 50, 100, 200, 300):
        junk = bytearray(rnd.randrange(0, 255) for _ in range(rnd.randint(5, 300)))
        if i == 50:
            junk[3:7] = bytes([0xFF, 0xFB, 0x90, 0x64])
        out += junk
    positions.append(len(out))
    out += src[a:b]
open(sys.argv[1], 'wb').write(out)
open('.garbage.pos.tmp', 'w').write(''.join('%d\n' % p for p in positions))
PY
    mv -f .garbage.pos.tmp garbage.pos
    rm -f .garbage.src.pos
}
[[ -s garbage.pos ]] || rm -f garbage.mp3
produce garbage.mp3 garbage_file

# A variable bit rate that does not show in the first frames: twenty seconds
# of digital silence (every frame at the lowest rate) before the noise, with
# no Info frame to tell.
produce quiet_start.wav sox -R -q source.wav -t wav @OUT@ pad 20 0
produce vbr_quiet_start.mp3 lame --quiet -V 4 -t quiet_start.wav @OUT@

echo "test media ready in $out"
