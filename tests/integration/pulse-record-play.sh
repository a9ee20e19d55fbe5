#!/usr/bin/env bash
# Runs the checks on the real sound backend against a private PulseAudio
# server, stopped afterwards. The server lives in its own runtime folder:
#   output  "speakers", a null sink;
#   input   "mic", a 440 Hz sine: module-sine plays into the null sink
#           "sines", whose monitor is remapped into an ordinary source (Qt
#           lists no monitor sources).
# Each null sink also gets a silent low-latency stream, which keeps its
# blocks short as a sound card's would be; alone, a null sink renders in
# 2-second blocks and its clock jumps accordingly. (module-sine-source is not
# used: it has a fixed 2-second latency and hands out its sine 2 seconds at
# a time, ahead of the clock, so neither a take's length nor the delay to
# the first sample could be checked with it.)
# Usage: [TIRADEX_BUILD_DIR=build] tests/integration/pulse-record-play.sh [TEST FUNCTIONS]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${TIRADEX_BUILD_DIR:-$root/build}
runtime=$(mktemp -d)
export XDG_RUNTIME_DIR="$runtime" PULSE_RUNTIME_PATH="$runtime/pulse" HOME="$runtime"
unset PULSE_SERVER || true

pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$runtime"
}
trap cleanup EXIT

pulseaudio --daemonize=no --system=false --exit-idle-time=-1 --disallow-exit -n \
    --use-pid-file=no --log-target=file:"$runtime/pulse.log" \
    --load="module-native-protocol-unix" \
    --load="module-null-sink sink_name=speakers" \
    --load="module-null-sink sink_name=sines" \
    --load="module-sine sink=sines frequency=440" \
    --load="module-remap-source master=sines.monitor source_name=mic channels=1" &
server=$!
# The server goes last: the streams end before it.
for _ in $(seq 50); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.1
done
if ! pactl info >/dev/null 2>&1; then
    echo "The private PulseAudio server did not start:"
    cat "$runtime/pulse.log" || true
    kill "$server" 2>/dev/null || true
    exit 1
fi
for sink in speakers sines; do
    pacat --playback --device="$sink" --latency-msec=20 --raw --format=s16le --rate=44100 \
        --channels=2 /dev/zero &
    pids+=($!)
done
pids+=("$server")
pactl set-default-sink speakers
pactl set-default-source mic
# The remapped source takes about a second to deliver its first samples after
# the server starts; one short recording brings it up, so the delays measured
# below are those of the program, not of this test chain.
timeout 1.5 parec --device=mic --raw >/dev/null || true

# TIRADEX_PULSE_COMMAND runs instead of the checks, on the same server (the
# benchmarks use it).
if [ -n "${TIRADEX_PULSE_COMMAND:-}" ]; then
    QT_QPA_PLATFORM=offscreen bash -c "$TIRADEX_PULSE_COMMAND"
    exit
fi
QT_QPA_PLATFORM=offscreen "$build/tests/integration/pulse_record_play" "$@"
# The rehearsal check listens to the speakers through this source.
pactl load-module module-remap-source master=speakers.monitor source_name=rehearsal_heard \
    channels=1 >/dev/null
pactl set-default-source mic
QT_QPA_PLATFORM=offscreen "$build/tests/integration/pulse_rehearsal"
