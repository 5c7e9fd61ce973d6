#!/usr/bin/env bash
# Starts the program under a virtual X server and saves screenshots of the
# main window and the preferences dialog into build/screenshots/. The
# program runs with a throw-away HOME, so the user's settings stay untouched.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out="$root/build/screenshots"
mkdir -p "$out"
program="$root/build/src/app/zorv"
[ -x "$program" ] || { echo "build the program first: tools/build.sh" >&2; exit 1; }

if [ -z "${ZORV_SCREENSHOT_INNER:-}" ]; then
  ZORV_SCREENSHOT_TOOLS=1 "$root/tools/install-deps.sh"
  home=$(mktemp -d)
  trap 'rm -rf "$home"' EXIT
  export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
         XDG_RUNTIME_DIR="$home/run" ZORV_SCREENSHOT_INNER=1
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
  exec xvfb-run -a -s "-screen 0 1280x860x24" "$0" "$@"
fi

shot() { import -window root "$out/$1.png"; echo "saved $out/$1.png"; }
key() { xdotool key --clearmodifiers "$@"; sleep 0.6; }

QT_QPA_PLATFORM=xcb "$program" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
sleep 1.5
shot splash
sleep 3
shot start-menu
key Return            # "Uruchom program"
sleep 2
shot main-window
# "Plik" through the keyboard: Alt opens the menu bar, Down the first menu.
key alt
key Down
shot menu-plik
key Escape Escape
xdotool search --name "Zorv 2.10.1" windowactivate --sync 2>/dev/null || true
# "Opcje programu" is the fifth entry of "Plik" enabled without a catalogue
# (after "Nowa baza do analizy", "Podgląd bazy danych", "Importuj plik" and
# "Właściwości drukowania").
key alt
key Down
for _ in 1 2 3 4; do key Down; done
key Return
sleep 1
shot preferences
for page in 2 4 5 6 9; do
  # Page buttons run down the left edge of the dialog.
  win=$(xdotool search --name "Opcje programu" | head -1)
  eval "$(xdotool getwindowgeometry --shell "$win")"
  xdotool mousemove --window "$win" 70 $((20 + (page - 1) * 32)) click 1
  sleep 0.6
  shot "preferences-page$page"
done
kill $pid 2>/dev/null || true
wait $pid 2>/dev/null || true

# The sample catalogue, opened from the command line as by "Nowa baza do
# analizy": the structure check, the base properties, then each page of the
# catalogue window through the "Widok" menu. A copy, so the bundled file is
# never written.
cp "$root/data/sample/katalog.dbf" "$root/data/sample/katalog.txt" "$HOME/"
QT_QPA_PLATFORM=xcb "$program" "$HOME/katalog.dbf" &
pid=$!
sleep 1.5
sleep 3
key Return            # "Uruchom program"
sleep 3
shot base-check
key Return            # "Kontynuuj"
sleep 1.5
shot base-properties
key Return            # "OK"
sleep 2
shot catalogue-grid
# "Widok": the tool bar submenu, "Drzewo stref", "Lista stref", then the
# five pages.
for page in 2 3 4 5; do
  key alt
  key Right
  key Down
  for _ in $(seq 1 $((page + 2))); do key Down; done
  key Return
  sleep 1.5
  shot "catalogue-page$page"
done
kill $pid 2>/dev/null || true
wait $pid 2>/dev/null || true

# Every statistics chart on the sample catalogue, each in its own maximised
# chart window of the main window: chart-<analysis>.png; the parameter
# dialogs as dialog-<name>.png (the hazard dialogs also with "Przedział
# ufności" ticked, dialog-<name>-bands.png) and the density charts with their
# confidence bands, chart-np-density-bands.png and chart-p-density-bands.png.
if [ -x "$root/build/tools/chart_shots" ]; then
  QT_QPA_PLATFORM=xcb "$root/build/tools/chart_shots" "$HOME/katalog.dbf" "$out"
fi
# The printed report page (PDF at 300 dpi) as a picture of its own.
if [ -f "$out/print-report.pdf" ] && command -v pdftoppm > /dev/null; then
  pdftoppm -r 60 -png -singlefile "$out/print-report.pdf" "$out/print-report"
fi
