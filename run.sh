#!/usr/bin/env bash
# Installs what is missing, builds, and starts Zorv with the sample catalogue.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
./tools/build.sh
# The program edits catalogues in place: work on a copy of the bundled sample,
# so the one in the repository stays as the generator made it.
mkdir -p build/sample
[ -f build/sample/katalog.dbf ] || cp data/sample/katalog.dbf data/sample/katalog.db build/sample/
exec ./build/src/app/zorv "$@" "$PWD/build/sample/katalog.dbf"
