#!/usr/bin/env bash
# Cue latency of scene listening: plays a scene of recorded replies from the
# play window on a private PulseAudio server (the one of the sound check) and
# measures, from the speakers' monitor, how long after the end of one take
# the next one is heard.
# Usage: [TIRADEX_BUILD_DIR=build] bench/cue-latency.sh [REPLIES [SECONDS]]
# (21 replies of 30 s by default: 20 transitions, about 11 minutes).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TIRADEX_BUILD_DIR:-$root/build}
probe="$build/bin/tiradex-cue-latency-probe"
[ -x "$probe" ] || { echo "Build first: $probe is missing"; exit 1; }
replies=${1:-21}
seconds=${2:-30}
# "heard" records the speakers; the default source stays the sine.
export TIRADEX_PULSE_COMMAND="pactl load-module module-remap-source master=speakers.monitor \
source_name=heard channels=1 >/dev/null && pactl set-default-source mic && \
'$probe' $replies $seconds"
TIRADEX_BUILD_DIR="$build" bash "$root/tests/integration/pulse-record-play.sh"
