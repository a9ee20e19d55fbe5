#!/usr/bin/env bash
# The duration calculation against Info-ZIP on the same machine, in the same
# run: a play folder with COUNT vox files of 30-second takes (16-bit mono
# 22050 Hz, a voice-like signal), each packed as the recorder packs one
# (temp.wav and the reply's duration record). "tiradex-tool durations" reads
# the records of all of them; "unzip -o -q" extracts only the records
# ("*.tsd") of all of them into a folder, in one process. Prints the median
# of REPS runs of each and the ratio.
#
# Then the first statistics count of the largest shipped play (its scene
# store converted first, "stat.txt" removed before every run): median of
# REPS runs of "tiradex-tool stats".
#
#   bench/durations.sh [REPS] [COUNT]   (defaults 5 and 600; needs build/bin/tiradex-tool
#                                        and the shipped plays in build/data)
set -euo pipefail
reps=${1:-5}
count=${2:-600}
root=$(cd "$(dirname "$0")/.." && pwd)
tool="$root/build/bin/tiradex-tool"
data="$root/build/data"
[ -x "$tool" ] || { echo "build first: $tool is missing" >&2; exit 1; }
for need in zip unzip python3; do
    command -v "$need" >/dev/null || { echo "$need is missing (scripts/deps.sh lists it)" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
. "$root/bench/lib.sh"

# One 30-second take of a voice-like signal.
voice_wav temp.wav $((30 * 22050)) 7

# The play: one act of ten scenes, COUNT replies of two characters, each
# with a reply file and a vox file (the take compressed once, the archives
# then written with their own duration record around it).
play="$work/play"
mkdir -p "$play/vox"
"$tool" zip take.zip temp.wav
python3 - "$play" "$count" <<'PY'
import os, sys, zipfile
play, count = sys.argv[1], int(sys.argv[2])
take = zipfile.ZipFile('take.zip')
info = take.getinfo('temp.wav')
raw = open('take.zip', 'rb').read()
scenes = 10
per_scene = (count + scenes - 1) // scenes
with open(os.path.join(play, 'treeview.ini'), 'w', newline='') as f:
    f.write('1,%d\r\n' % scenes)
for n in range(1, count + 1):
    scene = (n - 1) // per_scene + 1
    who = 'HUBERT' if n % 2 else 'CONSTANCE'
    base = '_%04d_%s' % (n, who)
    folder = os.path.join(play, 'ACT 01', 'SCENE %02d' % scene)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, base + '.txt'), 'w', newline='') as f:
        f.write('"Words of reply %d, spoken at an even pace.\r\n"\r\n' % n)
    with zipfile.ZipFile(os.path.join(play, 'vox', base + '.vox'), 'w') as z:
        z.writestr(info, take.read('temp.wav'), compress_type=zipfile.ZIP_DEFLATED)
        z.writestr(base + '.tsd', '1,%d,30\r\n' % scene)
PY
du -sh "$play/vox" | sed 's/^/vox files: /'

declare -a ours theirs
for ((r = 0; r < reps; r++)); do
    t0=$(now); "$tool" durations --play "$play" > result.txt; t1=$(now)
    rm -rf out; t2=$(now); unzip -o -q "$play/vox/*.vox" '*.tsd' -d out > /dev/null 2>&1; t3=$(now)
    ours+=($((t1 - t0))); theirs+=($((t3 - t2)))
done
grep -q "Total of the registered replies ($count) : $((count * 30)) seconds." result.txt ||
    { echo "unexpected result:" >&2; cat result.txt >&2; exit 1; }
[ "$(ls out | wc -l)" -eq "$count" ] || { echo "unzip extracted $(ls out | wc -l) records" >&2; exit 1; }
mo=$(median "${ours[@]}"); mt=$(median "${theirs[@]}")
printf 'durations over %d vox files: tiradex-tool %d ms, unzip -o -q (records only) %d ms, ratio %.2f\n' \
    "$count" $((mo / 1000000)) $((mt / 1000000)) "$(echo "$mo / $mt" | bc -l)"

# First statistics count of the largest shipped play.
largest=$(ls -S "$data"/*.txt | head -1)
code=$(basename "$largest" .txt)
cp "$largest" "$data/$code.dat" "$work/"
"$tool" convert --text "$work/$code.txt" --characters "$work/$code.dat" --out "$work/$code" >/dev/null
declare -a stats
for ((r = 0; r < reps; r++)); do
    rm -f "$work/$code/stat.txt"
    t0=$(now); "$tool" stats --play "$work/$code" --characters "$work/$code.dat" > stats.txt; t1=$(now)
    stats+=($((t1 - t0)))
done
ms=$(median "${stats[@]}")
printf 'first statistics count of %s (%d reply files): %d ms\n' "$code" \
    "$(find "$work/$code" -name '_*.txt' | wc -l)" $((ms / 1000000))
