#!/usr/bin/env bash
# Installs what is missing, builds, and starts Zorv with the sample catalogue.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
./tools/build.sh
exec ./build/src/app/zorv "$@" "$PWD/data/sample/katalog.dbf"
