#!/usr/bin/env bash
# Times "tiradex-tool convert" on a synthetic play of 5000 replies against
# "cp -r" of the store it makes, in the same run on the same file system.
# Prints the median of each over REPS repetitions and their ratio.
#
#   bench/convert.sh [REPS]        (default 9; TIRADEX_TOOL overrides the tool)
set -euo pipefail
reps=${1:-9}
root=$(cd "$(dirname "$0")/.." && pwd)
tool=${TIRADEX_TOOL:-$root/build/bin/tiradex-tool}
if [ ! -x "$tool" ]; then
    cmake -S "$root" -B "$root/build" -G Ninja >/dev/null
    cmake --build "$root/build" --target tiradex-tool
fi
work="$root/bench/out/convert"
rm -rf "$work"
mkdir -p "$work"

# The play: 5 acts of 10 scenes, 100 replies per scene, one to four lines
# per reply, spoken by 20 characters (some names with blanks).
python3 - "$work" <<'PY'
import random, sys
work = sys.argv[1]
rng = random.Random(5000)
names = ["HAMLET", "HORATIO", "MARCELLUS", "BERNARDO", "FRANCISCO", "GHOST", "CLAUDIUS",
         "GERTRUDE", "POLONIUS", "LAERTES", "OPHELIA", "REYNALDO", "ROSENCRANTZ",
         "GUILDENSTERN", "OSRIC", "FIRST PLAYER", "FIRST CLOWN", "SECOND CLOWN",
         "FORTINBRAS", "A CAPTAIN"]
words = ("the and of to my lord I you is that it not this in with your but for be have "
         "what so as his me he will our do are by all shall thou thy good sir no more").split()
lines = ["THE TRAGEDY OF A SYNTHETIC PLAY", "", "Dramatis personae, a preface.", ""]
for act in range(1, 6):
    lines.append("ACT %d." % act)
    for scene in range(1, 11):
        lines.append("SCENE %d. A room in the castle." % scene)
        for reply in range(100):
            lines.append(rng.choice(names).lower() if reply % 7 == 0 else rng.choice(names))
            for _ in range(rng.randint(1, 4)):
                text = " ".join(rng.choice(words) for _ in range(rng.randint(5, 12)))
                lines.append(text[0].upper() + text[1:] + rng.choice([".", ",", "!", "?", ";"]))
        lines.append("")
with open(work + "/synthetic.txt", "wb") as f:
    f.write("".join(l + "\r\n" for l in lines).encode("utf-8"))
with open(work + "/synthetic.dat", "wb") as f:
    f.write("".join('"%s","a part of the play"\r\n' % n for n in names).encode("utf-8"))
PY
"$tool" encrypt "$work/synthetic.dat" >/dev/null

now() { echo "${EPOCHREALTIME/[.,]/}"; } # microseconds
convert() {
    "$tool" convert --text "$work/synthetic.txt" --characters "$work/synthetic.dat" \
        --out "$1" >/dev/null
}
# A reference store to copy, and one untimed round to warm the caches.
convert "$work/play"
cp -r "$work/play" "$work/warm"
# Every run writes under a new name and nothing is deleted until the end:
# on ext4 a mass deletion slows the file creations that follow it, which
# would favour whichever command runs second. The order alternates as well.
convert_times=()
copy_times=()
for ((i = 0; i < reps; i++)); do
    if ((i % 2 == 0)); then
        t0=$(now); convert "$work/play.$i"; t1=$(now)
        cp -r "$work/play" "$work/copy.$i"; t2=$(now)
        convert_times+=($((t1 - t0)))
        copy_times+=($((t2 - t1)))
    else
        t0=$(now); cp -r "$work/play" "$work/copy.$i"; t1=$(now)
        convert "$work/play.$i"; t2=$(now)
        copy_times+=($((t1 - t0)))
        convert_times+=($((t2 - t1)))
    fi
    diff -r "$work/play" "$work/play.$i" >/dev/null || { echo "run $i built a different store"; exit 1; }
done

files=$(find "$work/play" -type f | wc -l)
replies=$(find "$work/play" -name '_*.txt' | wc -l)
bytes=$(du -sb "$work/play" | cut -f1)
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }
mc=$(median "${convert_times[@]}")
mp=$(median "${copy_times[@]}")
echo "store: $replies reply files, $files files in all, $bytes bytes"
echo "tiradex-tool convert: median $((mc / 1000)).$(printf '%03d' $((mc % 1000))) ms over $reps runs"
echo "cp -r of the store:   median $((mp / 1000)).$(printf '%03d' $((mp % 1000))) ms over $reps runs"
awk -v c="$mc" -v p="$mp" 'BEGIN {printf "ratio convert / cp -r: %.2f (goal: at most 1.50)\n", c / p}'
rm -rf "$work"
