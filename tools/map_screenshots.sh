#!/usr/bin/env bash
# Saves pictures of every hazard-map window on the bundled sample catalogue
# into build/screenshots/maps/ under a virtual X server (the map of every
# quantity and the change map, each in a small and a large window, the map
# dialog and the recurrence graph of a node). Runs with a throw-away HOME.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out="$root/build/screenshots/maps"
shots="$root/build/tools/map_shots"
[ -x "$shots" ] || { echo "build it first: ninja -C build map_shots" >&2; exit 1; }
mkdir -p "$out"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
       XDG_RUNTIME_DIR="$home/run"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
cp "$root/data/sample/katalog.dbf" "$home/katalog.dbf"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x860x24" "$shots" "$home/katalog.dbf" "$out"
