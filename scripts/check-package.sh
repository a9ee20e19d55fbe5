#!/usr/bin/env bash
# Checks the install and the Debian package of a built tree: the files land
# where a desktop expects them, the desktop entry and the AppStream data are
# valid, the installed tool runs from the staging prefix, the program itself
# does not link Qt WebEngine (only its web module does), and cpack makes a
# .deb holding those files.
# Usage: scripts/check-package.sh [BUILD]   (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null
prefix=$stage/usr
id=example.halvenor.Tiradex
expected=(
    bin/tiradex
    bin/tiradex-tool
    share/tiradex/del.wav
    share/tiradex/tiradex.htm
    share/applications/$id.desktop
    share/metainfo/$id.metainfo.xml
    share/icons/hicolor/scalable/apps/$id.svg
    share/man/man1/tiradex-tool.1
)
if [ -f "$build/data/merchantvenice.txt" ]; then
    expected+=(share/tiradex/merchantvenice.txt share/tiradex/merchantvenice.dat
               share/tiradex/kingjohn.txt share/tiradex/verone.dat)
fi
module=$(cd "$prefix" && find . -name tiradex-web.so | sed 's|^\./||')
[ -n "$module" ] || { echo "the web module is not installed"; exit 1; }
expected+=("$module")
for f in "${expected[@]}"; do
    [ -e "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done
for picture in "$root"/data/help/*.png; do
    [ -e "$picture" ] || continue
    [ -e "$prefix/share/tiradex/help/$(basename "$picture")" ] ||
        { echo "help picture not installed: $(basename "$picture")"; exit 1; }
done

desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"
"$prefix/bin/tiradex-tool" --help >/dev/null
if ldd "$build/bin/tiradex" | grep -qi webengine; then
    echo "the program links Qt WebEngine; only its web module may"
    exit 1
fi

rm -f "$build"/tiradex_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/tiradex_*.deb)
listing=$(dpkg-deb -c "$deb")
for f in "${expected[@]}"; do
    grep -q "\./usr/$f\$" <<<"$listing" || { echo "not in $deb: usr/$f"; exit 1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6webenginewidgets6 libsndfile1 zlib1g; do
    grep -q "$lib" <<<"$depends" || { echo "$deb does not depend on $lib: $depends"; exit 1; }
done
echo "package: $(basename "$deb"), $(wc -l <<<"$listing") entries"
echo "depends: $depends"
