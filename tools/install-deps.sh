#!/usr/bin/env bash
# Installs the Debian packages Zorv builds and tests with; does nothing when
# they are all there already.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config ccache clang-format
  qt6-base-dev libqt6opengl6-dev libqcustomplot-dev qt6-translations-l10n
  pxlib-dev libnanoflann-dev libtiff-dev libgtest-dev libgmock-dev libbenchmark-dev libemf-dev qt6-svg-dev
  xvfb xauth
  # Readers of what Zorv writes, for the tests: RTF and dBase III; the chart
  # pictures (wmf2svg needs the Type 1 fonts of gsfonts to lay out text), and
  # PDF pages.
  libreoffice-writer-nogui libreoffice-calc-nogui libreoffice-base-drivers
  emf2svg libwmf-bin gsfonts librsvg2-bin poppler-utils imagemagick
  # The GeoTIFF grids of the maps, read back by the tests.
  python3-tifffile
  # The Python module zorv and its tests.
  python3-dev pybind11-dev python3-numpy python3-pytest
  # The Debian package and the checks of its desktop entry and metainfo.
  dpkg-dev desktop-file-utils appstream
  # clang and its runtime (libFuzzer, sanitizers): tools/fuzz.sh, the fuzz tests.
  clang libclang-rt-14-dev
  # Catalogues from elsewhere: geographic co-ordinates (PROJ; cs2cs checks
  # the projection in the tests) and QuakeML (expat).
  libproj-dev proj-bin libexpat1-dev
  # xmllint reads the exported QuakeML back in the tests.
  libxml2-utils
)
# Only tools/screenshots.sh needs these.
if [ "${ZORV_SCREENSHOT_TOOLS:-}" = 1 ]; then packages+=(xdotool imagemagick); fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
