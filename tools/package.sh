#!/usr/bin/env bash
# Builds the Debian package of Zorv in build/ (zorv_<version>_amd64.deb).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/build.sh"
cd "$root/build"
cpack -G DEB
ls -1 "$root"/build/zorv_*.deb
