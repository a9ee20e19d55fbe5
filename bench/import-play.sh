#!/usr/bin/env bash
# Times "tiradex-tool import-play --dry-run" (reading, casting, the whole
# report) on the three plays of the XML edition against Python's ElementTree
# merely parsing the same file and counting its speeches, in the same run.
# Also checks the report's accuracy: every SPEECH of the edition must be a
# reply of the report (placed), or the report must list it.
#
#   bench/import-play.sh [REPS]   (default 9; TIRADEX_TOOL, TIRADEX_PLAYS_SOURCE override)
set -euo pipefail
reps=${1:-9}
root=$(cd "$(dirname "$0")/.." && pwd)
tool=${TIRADEX_TOOL:-$root/build/bin/tiradex-tool}
source_dir=${TIRADEX_PLAYS_SOURCE:-$root/../shared/plays-source}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME="$work" # a dry run stores nothing; this makes sure

now() { echo "${EPOCHREALTIME/[.,]/}"; } # microseconds
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

printf '%-14s %9s %9s %7s %9s %9s %s\n' play bytes speeches replies "ours(ms)" "etree(ms)" ratio
for xml in merchant.xml john.xml two_gent.xml; do
    file="$source_dir/$xml"
    [ -f "$file" ] || { echo "$file: missing"; continue; }
    speeches=$(grep -o '<SPEECH>' "$file" | wc -l)
    "$tool" import-play "$file" --dry-run >"$work/report.txt"
    replies=$(sed -n 's/^[0-9]* acts\?, [0-9]* scenes\?, \([0-9]*\) repl[a-z]*$/\1/p' "$work/report.txt")
    errors=$(grep -c ', error:' "$work/report.txt" || true)
    ours=() peer=()
    for ((i = 0; i < reps; i++)); do
        t0=$(now); "$tool" import-play "$file" --dry-run >/dev/null; t1=$(now)
        python3 -c 'import sys, xml.etree.ElementTree as E; print(len(E.parse(sys.argv[1]).findall(".//SPEECH")))' "$file" >/dev/null
        t2=$(now)
        ours+=($(((t1 - t0) / 1000))) peer+=($(((t2 - t1) / 1000)))
    done
    o=$(median "${ours[@]}") p=$(median "${peer[@]}")
    printf '%-14s %9s %9s %7s %9s %9s %s\n' "$xml" "$(stat -c %s "$file")" "$speeches" \
        "$replies" "$o" "$p" "$(awk -v a="$o" -v b="$p" 'BEGIN {printf "%.2f", a / b}')"
    [ "$replies" = "$speeches" ] && [ "$errors" = 0 ] || echo "  ACCURACY: $speeches speeches, $replies replies, $errors errors"
done
