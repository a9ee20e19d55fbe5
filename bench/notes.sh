#!/usr/bin/env bash
# Notes and photos timings, with LibreOffice reading the same note in the
# same run as the peer:
#   a 1 MB note (accented and Cyrillic text) read and written
#   through the program's reader and writer (median of RUNS);
#   the same note converted to text by LibreOffice headless (one run; most
#   of it is LibreOffice's start);
#   the notes and photos browser opened on 600 notes and 600 photos
#   (1600 x 1200 JPEG) until its first paint, then one note chosen.
# Usage: bench/notes.sh [RUNS]   (default 9; build first)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-9}
probe=$root/build/bin/tiradex-bench-notes
tool=$root/build/bin/tiradex-tool
if [ ! -x "$probe" ] || [ ! -x "$tool" ]; then
    echo "Build first: cmake --build build (needs $probe and $tool)" >&2
    exit 1
fi
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1366x768x24" "$0" "$@"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

# 1 MB of note: paragraphs of French and Russian stage directions.
python3 - "$work/note.txt" <<'PY'
import sys
line = ("Entrée côté jardin, « lentement » — il s'arrête, regarde Hubert ; "
        "Жил-был актёр, пауза… 5 € ")
out, size, k = [], 0, 0
while size < 1_000_000:
    text = "%d. %s" % (k, line * 3)
    out.append(text)
    size += len(text.encode("utf-8")) + 1
    k += 1
open(sys.argv[1], "w", encoding="utf-8").write("\n".join(out) + "\n")
PY
"$tool" note-write "$work/note.not" < "$work/note.txt"
cp "$work/note.not" "$work/note.rtf"
echo "note file: $(stat -c %s "$work/note.not") bytes of RTF"
"$probe" rtf "$work/note.not" "$runs"

if command -v soffice >/dev/null; then
    start=$(date +%s%N)
    soffice -env:UserInstallation=file://$work/profile --headless \
        --convert-to 'txt:Text (encoded):UTF8' --outdir "$work/lo" "$work/note.rtf" >/dev/null 2>&1
    end=$(date +%s%N)
    echo "libreoffice_read_ms $(( (end - start) / 1000000 )) (includes its start-up)"
    if cmp -s <(sed 's/^\xEF\xBB\xBF//' "$work/lo/note.txt") "$work/note.txt"; then
        echo "libreoffice_text identical"
    else
        echo "libreoffice_text DIFFERS"
    fi
else
    echo "libreoffice: soffice not installed"
fi

"$probe" make-play "$work/play" 600
"$probe" browser "$work/play"
