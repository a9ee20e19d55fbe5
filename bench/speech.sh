#!/usr/bin/env bash
# Speech and practice-track figures, with peers in the same run:
#  1. synthesis speed: a whole shipped scene (The Merchant of Venice 1.1 by
#     default) spoken with the characters' voices, seconds of speech per CPU
#     second on one core (goal: 10 or more);
#  2. practice-track export of a 10-minute scene to WAV and Ogg Vorbis
#     (goal: 50 times real time or more for WAV), against sox (WAV) and
#     oggenc (Ogg Vorbis) encoding the same samples from a WAV file;
#  3. the work between two replies of a rehearsal: a spoken reply taken from
#     the speech cache against a recorded take unpacked from its vox file.
# Usage: [TIRADEX_BUILD_DIR=build] bench/speech.sh [ACT SCENE [MINUTES]]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TIRADEX_BUILD_DIR:-$root/build}
probe="$build/bin/tiradex-bench-speech"
tool="$build/bin/tiradex-tool"
[ -x "$probe" ] && [ -x "$tool" ] || { echo "Build first: $probe is missing"; exit 1; }
act=${1:-1}
scene=${2:-1}
minutes=${3:-10}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp "$build/data/merchantvenice.txt" "$build/data/merchantvenice.dat" "$work/"
"$tool" convert --text "$work/merchantvenice.txt" --characters "$work/merchantvenice.dat" \
    --out "$work/merchantvenice" >/dev/null
echo "== synthesis, act $act scene $scene"
taskset -c 0 "$probe" synth "$work/merchantvenice" "$act" "$scene"

echo "== between two replies: a spoken reply from the cache vs a recorded take"
mkdir -p "$work/merchantvenice/vox"
"$probe" cue "$work/merchantvenice" "$act" "$scene"

echo "== practice-track export, $minutes minutes"
"$probe" export "$work" "$minutes"
seconds=$(soxi -D "$work/samples.wav")
peer() { # name command...
    local name=$1
    shift
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s.%N)
    awk -v n="$name" -v s="$seconds" -v a="$start" -v b="$end" \
        'BEGIN { printf "%s audio_s %.1f wall_s %.3f ratio %.0f\n", n, s, b - a, s / (b - a) }'
}
peer "sox-wav" sox "$work/samples.wav" -b 16 "$work/peer.wav"
peer "oggenc-q4" oggenc -q 4 -o "$work/peer.ogg" "$work/samples.wav"
ls -l "$work"/track.* "$work"/peer.* | awk '{ print $5, $NF }'
