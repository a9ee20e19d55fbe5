#!/usr/bin/env bash
# Export and import of 600 recordings of 30-second takes against cp of the
# same files, in the same run: "tiradex-tool export" from a play folder to a
# transfer folder and "tiradex-tool import" from it into an empty play (every
# imported archive checked before it takes its place), against "cp" of the
# same 600 files between the same folders, and against "cp" followed by
# "sync" (our copies reach the disk before they are renamed into place; cp's
# do not). Prints the median of REPS runs of each and the ratios.
#
#   bench/transfer.sh [REPS]        (default 5; needs build/bin/tiradex-tool)
set -euo pipefail
reps=${1:-5}
count=600
root=$(cd "$(dirname "$0")/.." && pwd)
tool="$root/build/bin/tiradex-tool"
[ -x "$tool" ] || { echo "build first: $tool is missing" >&2; exit 1; }
work=$(mktemp -d "${TMPDIR:-/var/tmp}/tiradex-transfer.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
. "$root/bench/lib.sh"

# One 30-second voice-like take at 22050 Hz, packed as the recorder packs it.
voice_wav temp.wav $((30 * 22050)) 11
printf '1,1,30\r\n' > _0001_HUBERT.tsd
"$tool" zip take.vox temp.wav _0001_HUBERT.tsd
play=app/merchantvenice
mkdir -p "$play/vox" "$play/notes" "$play/photos" app2/merchantvenice/vox
# Each reply's archive names its own duration record (same length, so only
# the names in the headers change).
python3 - "$play/vox" "$count" <<'PY'
import sys
folder, count = sys.argv[1], int(sys.argv[2])
take = open('take.vox', 'rb').read()
for n in range(1, count + 1):
    name = b'_%04d_HUBERT' % n
    with open('%s/%s.vox' % (folder, name.decode()), 'wb') as f:
        f.write(take.replace(b'_0001_HUBERT.tsd', name + b'.tsd'))
PY

declare -a ex cpx cpsx im cpi cpsi
for ((r = 0; r < reps; r++)); do
    rm -rf medium cpmedium; mkdir medium cpmedium; sync
    t0=$(now); "$tool" export --play "$play" --to medium --character HUBERT --vox >/dev/null 2>&1; t1=$(now)
    sync; t2=$(now)
    cp "$play"/vox/*.vox cpmedium/; t3=$(now)
    rm -rf cpmedium; mkdir cpmedium; sync; t4=$(now)
    cp "$play"/vox/*.vox cpmedium/; sync; t5=$(now)
    ex+=($((t1 - t0))); cpx+=($((t3 - t2))); cpsx+=($((t5 - t4)))
    [ "$(ls medium | wc -l)" = "$count" ] || { echo "export copied $(ls medium | wc -l) files" >&2; exit 1; }

    rm -rf app2/merchantvenice/vox cpplay; mkdir -p app2/merchantvenice/vox cpplay; sync
    t0=$(now); "$tool" import --play app2/merchantvenice --from medium --character HUBERT --vox >/dev/null 2>&1; t1=$(now)
    sync; t2=$(now)
    cp medium/*.vox cpplay/; t3=$(now)
    rm -rf cpplay; mkdir cpplay; sync; t4=$(now)
    cp medium/*.vox cpplay/; sync; t5=$(now)
    im+=($((t1 - t0))); cpi+=($((t3 - t2))); cpsi+=($((t5 - t4)))
    [ "$(ls app2/merchantvenice/vox | wc -l)" = "$count" ] || { echo "import copied $(ls app2/merchantvenice/vox | wc -l) files" >&2; exit 1; }
done

e=$(median "${ex[@]}"); c=$(median "${cpx[@]}"); cs=$(median "${cpsx[@]}")
i=$(median "${im[@]}"); d=$(median "${cpi[@]}"); ds=$(median "${cpsi[@]}")
echo "$count recordings of $(stat -c %s take.vox) bytes (30 s at 22050 Hz, 16-bit mono); median of $reps runs"
echo "export: tiradex-tool $(ms "$e")   cp $(ms "$c")   cp+sync $(ms "$cs")   ratio to cp $(ratio "$e" "$c"), to cp+sync $(ratio "$e" "$cs")   (goal <= 1.3)"
echo "import: tiradex-tool $(ms "$i")   cp $(ms "$d")   cp+sync $(ms "$ds")   ratio to cp $(ratio "$i" "$d"), to cp+sync $(ratio "$i" "$ds")   (goal <= 1.3)"
# Processor time of one run each (user + system seconds), which the load of
# other programs on the machine does not stretch the way it stretches the
# wall-clock times above.
cpu() { /usr/bin/time -f '%U %S' "$@" 2>&1 >/dev/null | tail -1 | awk '{printf "%.2f s", $1 + $2}'; }
rm -rf medium cpmedium; mkdir medium cpmedium
echo "cpu: export $(cpu "$tool" export --play "$play" --to medium --character HUBERT --vox)   cp $(cpu cp -r "$play/vox/." cpmedium/)"
rm -rf app2/merchantvenice/vox cpplay; mkdir -p app2/merchantvenice/vox cpplay
echo "cpu: import $(cpu "$tool" import --play app2/merchantvenice --from medium --character HUBERT --vox)   cp $(cpu cp -r medium/. cpplay/)"
