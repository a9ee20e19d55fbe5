#!/usr/bin/env bash
# Installs the Debian packages that Tiradex needs to build, run and test,
# when they are missing. Sourced by scripts/run and scripts/test.
set -euo pipefail

TIRADEX_PACKAGES=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-multimedia-dev libsndfile1-dev zlib1g-dev libgl-dev flite1-dev
    qt6-webengine-dev
)
# Packaging: the icon's PNG sizes, the .deb's library dependencies, and the
# checks of the desktop entry and the AppStream data.
TIRADEX_PACKAGE_PACKAGES=(librsvg2-bin dpkg-dev file fakeroot desktop-file-utils appstream)
# What the test suite needs besides: peers for the archive tests, a virtual
# display and a private sound server for the end-to-end checks.
TIRADEX_TEST_PACKAGES=(zip unzip python3 xvfb xauth pulseaudio time)
# Peers of the practice-track benchmark.
TIRADEX_TEST_PACKAGES+=(sox vorbis-tools)
# pactl, pacat and parec drive the private sound server of the sound checks.
TIRADEX_TEST_PACKAGES+=(pulseaudio-utils)
# The help page's pictures are reduced with ImageMagick (scripts/help-screenshots.sh).
TIRADEX_TEST_PACKAGES+=(imagemagick)
# Peers of the note tests: LibreOffice reads our notes, LibreOffice and pandoc
# write the foreign documents our reader must read.
TIRADEX_TEST_PACKAGES+=(libreoffice-writer-nogui pandoc)

tiradex_install_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    echo "Installing missing Debian packages: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo=(sudo)
    fi
    "${sudo[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# Configures and builds into build/ (warnings are errors).
tiradex_build() {
    local root
    root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
    cmake -S "$root" -B "$root/build" -G Ninja -DTIRADEX_WERROR=ON "$@"
    cmake --build "$root/build" --parallel "$(nproc)"
}
