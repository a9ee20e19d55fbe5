#!/usr/bin/env bash
# Start-up time of Tiradex, as medians of several runs under a virtual
# 1366x768 display, with a fresh data folder:
#   frame: from the process start to the frame window painted;
#   play:  from picking "The merchant of Venice ..." (already converted) to
#          the play window painted with its act/scene tree.
# Usage: bench/startup.sh [RUNS [OTHER_BUILD]]   (default 9; build first)
# With OTHER_BUILD (the build folder of another checkout, e.g. of main, with
# its tiradex-startup-probe built and the plays in its data folder) the two
# probes run in turns, one run each, and the ratio of their medians is shown.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-9}
other=${2:-}
probe=$root/build/bin/tiradex-startup-probe
tool=$root/build/bin/tiradex-tool
if [ ! -x "$probe" ]; then
    echo "Build first: cmake --build build (needs $probe)" >&2
    exit 1
fi
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1366x768x24" "$0" "$@"
fi

data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
export XDG_DATA_HOME=$data
mkdir -m 700 "$data/runtime"
export XDG_RUNTIME_DIR=$data/runtime

if [ ! -f "$root/build/data/merchantvenice.txt" ]; then
    # Without the generated plays: a play of the same size (5 acts, 20 scenes,
    # about 640 replies) with its own enciphered characters file.
    echo "note: build/data holds no plays; using a synthetic play of the same size"
    mkdir -p "$data/Tiradex"
    python3 - "$data/Tiradex" <<'PY'
import sys
folder = sys.argv[1]
names = ["ANTONIO", "SALARINO", "SALANIO", "BASSANIO", "LORENZO", "GRATIANO", "PORTIA",
         "NERISSA", "SHYLOCK", "JESSICA", "LAUNCELOT", "TUBAL"]
lines = ["THE MERCHANT OF VENICE", ""]
reply = 0
for act in range(1, 6):
    lines.append("ACT %d" % act)
    for scene in range(1, 5):
        lines.append("SCENE %d. Venice. A street." % scene)
        for r in range(32):
            reply += 1
            lines.append(names[(reply * 7) % len(names)])
            for k in range(1 + reply % 5):
                lines.append("In sooth, I know not why I am so sad; it wearies me, line %d." % k)
with open(folder + "/merchantvenice.txt", "w", newline="\r\n") as f:
    f.write("\n".join(lines) + "\n")
with open(folder + "/merchantvenice.dat", "w", newline="\r\n") as f:
    f.write("".join('"%s","of Venice"\n' % n for n in names))
PY
    "$tool" encrypt "$data/Tiradex/merchantvenice.dat"
fi

median() { sort -n | awk '{v[NR]=$1} END {print (NR%2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }
to_ms() { awk '{printf "%.1f", $1 / 1000}'; }
all_ms() { sort -n | awk '{printf "%s%.0f", (NR > 1 ? " " : ""), $1 / 1000}'; }

# One run of a probe: appends the frame and play times (microseconds) to the
# arrays named by $2 and $3.
measure() {
    local start out shown open
    start=$(date +%s%N)
    out=$("$1")
    shown=$(awk '$1 == "frame_shown_ns" {print $2}' <<<"$out")
    open=$(awk '$1 == "play_open_ns" {print $2}' <<<"$out")
    eval "$2+=(\"$(((shown - start) / 1000))\")"
    eval "$3+=(\"$((open / 1000))\")"
}

# The first run copies the shipped files and converts the play.
"$probe" >/dev/null

frames=()
plays=()
if [ -n "$other" ]; then
    other_probe=$(cd "$other" && pwd)/bin/tiradex-startup-probe
    [ -x "$other_probe" ] || { echo "no $other_probe" >&2; exit 1; }
    other_frames=()
    other_plays=()
    for ((i = 0; i < runs; i++)); do
        measure "$other_probe" other_frames other_plays
        measure "$probe" frames plays
    done
    f0=$(printf '%s\n' "${other_frames[@]}" | median)
    f1=$(printf '%s\n' "${frames[@]}" | median)
    p0=$(printf '%s\n' "${other_plays[@]}" | median)
    p1=$(printf '%s\n' "${plays[@]}" | median)
    echo "runs: $runs each, in turns"
    echo "frame shown (ms):  other $(to_ms <<<"$f0") [$(printf '%s\n' "${other_frames[@]}" | all_ms)]"
    echo "                   this  $(to_ms <<<"$f1") [$(printf '%s\n' "${frames[@]}" | all_ms)]"
    echo "                   this/other $(awk -v a="$f1" -v b="$f0" 'BEGIN {printf "%.3f", a / b}')"
    echo "play window (ms):  other $(to_ms <<<"$p0"), this $(to_ms <<<"$p1")," \
        "this/other $(awk -v a="$p1" -v b="$p0" 'BEGIN {printf "%.3f", a / b}')"
    exit 0
fi

for ((i = 0; i < runs; i++)); do
    measure "$probe" frames plays
done
echo "runs: $runs"
echo "frame shown (ms):           median $(printf '%s\n' "${frames[@]}" | median | to_ms)" \
    " [$(printf '%s\n' "${frames[@]}" | all_ms)]"
echo "play window with tree (ms): median $(printf '%s\n' "${plays[@]}" | median | to_ms)" \
    " [$(printf '%s\n' "${plays[@]}" | all_ms)]"
