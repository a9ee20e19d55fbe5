#!/usr/bin/env bash
# Archive writer and reader against Info-ZIP on the same machine, in the same
# run: a 16 MiB 16-bit mono WAV with a voice-like signal plus a small text
# file, packed by "tiradex-tool zip" and "zip -6 -q", unpacked by
# "tiradex-tool unzip" and "unzip -o -q". Prints the median of REPS runs of
# each, the ratios, and the peak memory of each program (GNU time -v).
#
#   bench/zip.sh [REPS]        (default 7; needs build/bin/tiradex-tool)
set -euo pipefail
reps=${1:-7}
root=$(cd "$(dirname "$0")/.." && pwd)
tool="$root/build/bin/tiradex-tool"
[ -x "$tool" ] || { echo "build first: $tool is missing" >&2; exit 1; }
for need in zip unzip python3 /usr/bin/time; do
    command -v "$need" >/dev/null || { echo "$need is missing (scripts/deps.sh lists it)" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
. "$root/bench/lib.sh"

# 8 Mi samples at 22050 Hz (about 6 minutes) of a voice-like signal.
voice_wav voice.wav $((8 * 1024 * 1024)) 7
printf '2,3,17\r\n' > _0057_HUBERT.tsd
echo "tiny" > tiny.txt
"$tool" zip tiny.zip tiny.txt

declare -a ours_zip theirs_zip ours_unzip theirs_unzip
for ((r = 0; r < reps; r++)); do
    rm -f ours.zip theirs.zip
    t0=$(now); "$tool" zip ours.zip voice.wav _0057_HUBERT.tsd; t1=$(now)
    zip -6 -q theirs.zip voice.wav _0057_HUBERT.tsd; t2=$(now)
    ours_zip+=($((t1 - t0))); theirs_zip+=($((t2 - t1)))
    rm -rf out-ours out-theirs
    t0=$(now); "$tool" unzip ours.zip out-ours >/dev/null; t1=$(now)
    unzip -o -q ours.zip -d out-theirs; t2=$(now)
    ours_unzip+=($((t1 - t0))); theirs_unzip+=($((t2 - t1)))
    cmp -s voice.wav out-ours/voice.wav && cmp -s voice.wav out-theirs/voice.wav ||
        { echo "extracted bytes differ" >&2; exit 1; }
done

peak() { /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F': ' '/Maximum resident/ {print $2 " kB"}'; }

mz=$(median "${ours_zip[@]}"); tz=$(median "${theirs_zip[@]}")
mu=$(median "${ours_unzip[@]}"); tu=$(median "${theirs_unzip[@]}")
echo "input: voice.wav $(stat -c %s voice.wav) bytes + _0057_HUBERT.tsd; archive: ours $(stat -c %s ours.zip) bytes, Info-ZIP $(stat -c %s theirs.zip) bytes; median of $reps runs"
echo "write:  tiradex-tool zip $(ms "$mz")   zip -6 -q $(ms "$tz")   ratio $(ratio "$mz" "$tz")   (goal <= 1.10)"
echo "read:   tiradex-tool unzip $(ms "$mu")   unzip -o -q $(ms "$tu")   ratio $(ratio "$mu" "$tu")   (goal <= 1.00)"
rm -f peak.zip; rm -rf out-peak out-peak2 out-base
echo "peak memory: tiradex-tool zip $(peak "$tool" zip peak.zip voice.wav _0057_HUBERT.tsd), zip $(rm -f peak.zip; peak zip -6 -q peak.zip voice.wav _0057_HUBERT.tsd)"
echo "peak memory: tiradex-tool unzip $(peak "$tool" unzip ours.zip out-peak), unzip $(peak unzip -o -q ours.zip -d out-peak2), baseline (tiradex-tool unzip of a 5-byte member) $(peak "$tool" unzip tiny.zip out-base)"
