#!/usr/bin/env bash
# A rehearsal of a shipped scene with no recording at all and synthetic
# partners, on a private PulseAudio server (the one of the sound check): what
# the speakers play at each reply, and the cue latency between spoken
# partners, measured from the speakers' monitor as bench/cue-latency.sh does
# for recorded takes.
# Usage: [TIRADEX_BUILD_DIR=build] bench/voices-latency.sh [ACT SCENE FROM TO ACTOR [GAPFACTOR [SHOT.png]]]
# (The Merchant of Venice 1.1, replies 5 to 14, SALANIO the actor, by default.)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TIRADEX_BUILD_DIR:-$root/build}
probe="$build/bin/tiradex-voices-rehearsal-probe"
[ -x "$probe" ] || { echo "Build first: $probe is missing"; exit 1; }
[ $# -gt 0 ] && args=("$@") || args=(1 1 5 14 SALANIO)
platform=${QT_QPA_PLATFORM_FOR_PROBE:-offscreen}
# "heard" records the speakers; the default source stays the sine.
export TIRADEX_PULSE_COMMAND="pactl load-module module-remap-source master=speakers.monitor \
source_name=heard channels=1 >/dev/null && pactl set-default-source mic && \
QT_QPA_PLATFORM=$platform '$probe' '$build/data' ${args[*]}"
TIRADEX_BUILD_DIR="$build" bash "$root/tests/integration/pulse-record-play.sh"
