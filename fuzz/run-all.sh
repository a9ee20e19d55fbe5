#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS seconds
# (default 60) on its seed corpus. Fails when a target finds a crash.
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DTIRADEX_FUZZ=ON -DTIRADEX_TESTS=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined" >/dev/null
cmake --build "$build" --parallel "$(nproc)"
# The archive reader's seeds are generated: the committed ones must be current.
rm -rf "$build/zip-seeds"
"$build/fuzz-tools/make_zip_seeds" "$build/zip-seeds"
diff -r "$build/zip-seeds" "$root/fuzz/seeds/fuzz_zipreader"
shopt -s nullglob
targets=("$build"/fuzz/fuzz_*)
if [ ${#targets[@]} -eq 0 ]; then
    echo "no fuzz targets"
    exit 0
fi
for target in "${targets[@]}"; do
    [ -f "$target" ] && [ -x "$target" ] || continue # skip build folders such as *_autogen
    name=$(basename "$target")
    corpus="$root/fuzz/corpus-$name"
    mkdir -p "$corpus"
    seeds="$root/fuzz/seeds/$name"
    [ -d "$seeds" ] || seeds=""
    echo "-- $name for ${seconds}s"
    (cd "$build" && "$target" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 \
        -print_final_stats=1 "$corpus" $seeds 2>&1 | tail -n 12)
done
