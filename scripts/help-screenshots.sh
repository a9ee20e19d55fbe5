#!/usr/bin/env bash
# Takes the help page's pictures (data/help/*.png) from the program's own
# windows under a virtual display, reduced to small palette PNGs.
#   scripts/help-screenshots.sh                 refresh data/help/
#   scripts/help-screenshots.sh --review FOLDER also the About box, the help
#                                               note, the web window on a local
#                                               page and the help page in it
# Needs the plays built (build/data) and ImageMagick.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
review=""
if [ "${1:-}" = "--review" ]; then
    review=$(mkdir -p "$2" && cd "$2" && pwd)
fi
if [ -z "${DISPLAY:-}" ]; then
    cmake --build "$build" --target tiradex-help-shots tiradex-web
    exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi

work=$(mktemp -d)
server=""
cleanup() {
    [ -n "$server" ] && kill "$server" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_DATA_HOME=$work/data
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime
# The web view's sandbox refuses to run as root.
[ "$(id -u)" -ne 0 ] || export QTWEBENGINE_DISABLE_SANDBOX=1
shots=$build/bin/tiradex-help-shots

mkdir "$work/raw"
"$shots" help "$work/raw"
mkdir -p "$root/data/help"
for name in scene recorder; do
    convert "$work/raw/$name.png" -resize '760x760>' -colors 96 -strip \
        "PNG8:$root/data/help/$name.png"
done
du -ch "$root"/data/help/*.png | tail -1

if [ -n "$review" ]; then
    # A local page with a link, served on the loopback address.
    mkdir "$work/site"
    cat >"$work/site/index.html" <<'HTML'
<html><head><title>Tiradex - local test page</title></head>
<body style="font-family: sans-serif"><h1>Tiradex</h1>
<p>A page served on 127.0.0.1 for the web window.</p><p><a href="other.html">Another page</a></p>
</body></html>
HTML
    port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    python3 -m http.server --bind 127.0.0.1 --directory "$work/site" "$port" >/dev/null 2>&1 &
    server=$!
    sleep 1
    "$shots" shell "$work/raw" "http://127.0.0.1:$port/index.html" "$root/data/tiradex.htm"
    for name in about helpnote web helppage; do
        cp "$work/raw/$name.png" "$review/shell-$name.png"
    done
    ls -l "$review"/shell-*.png
fi
