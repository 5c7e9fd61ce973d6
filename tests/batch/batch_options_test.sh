#!/usr/bin/env bash
# zorv-batch's option parser speaks the program's language and names a
# command's options; the structure check refuses what the desktop program
# refuses unless --no-check; --template styles the pictures.
#   batch_options_test.sh BUILD/src/cli/zorv-batch DATA/sample
set -u
batch=$1
sample=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
export HOME=$out XDG_CONFIG_HOME=$out/config XDG_DATA_HOME=$out/data XDG_RUNTIME_DIR=$out
fail=0
check() { if ! "$@"; then echo "FAILED: $*"; fail=1; fi; }
# The command fails with exit code 1 and its message holds the text.
refused() {
  local text=$1; shift
  "$@" > "$out/stdout" 2> "$out/stderr"
  local rc=$?
  if [ "$rc" -ne 1 ] || ! grep -qF -- "$text" "$out/stderr"; then
    echo "FAILED (rc $rc): $* -> $(cat "$out/stderr")"; fail=1
  fi
  if grep -q 'Unknown\|Missing\|Unexpected' "$out/stderr"; then echo "FAILED: English text: $*"; fail=1; fi
}

refused 'Nieznana opcja: --bogus. Polecenie activity przyjmuje --period, --classes' \
  "$batch" activity --bogus "$sample/katalog.dbf"
refused 'Polecenie mc przyjmuje --bin, --method, --bootstrap, --seed oraz' "$batch" mc --foo 1 "$sample/katalog.dbf"
refused 'Polecenie hazard-map przyjmuje --quantity, --cell' "$batch" hazard-map --cells 5 "$sample/katalog.dbf"
refused 'Nieznane opcje: --aa, --bb.' "$batch" histogram --aa --bb "$sample/katalog.dbf"
refused 'Opcje podaje zorv-batch --help.' "$batch" --xyz
refused 'Brak wartości opcji --table.' "$batch" activity "$sample/katalog.dbf" --table
refused 'Opcja --located nie przyjmuje wartości.' "$batch" activity --located=1 "$sample/katalog.dbf"

# Two records swapped: the catalogue is out of date order.
python3 - "$sample/katalog.dbf" "$out/swapped.dbf" <<'PY'
import struct, sys
data = bytearray(open(sys.argv[1], 'rb').read())
header, size = struct.unpack_from('<HH', data, 8)
first, second = header, header + size
data[first:first + size], data[second:second + size] = data[second:second + size], data[first:first + size]
open(sys.argv[2], 'wb').write(data)
PY
refused 'Program testujący wykrył błędy w strukturze bazy. Baza nie zostanie otworzona.' \
  "$batch" activity --table "$out/refused.csv" "$out/swapped.dbf"
check test ! -e "$out/refused.csv"
check grep -q '^\[1\]\|^\[2\]' "$out/stderr"
refused 'Baza nie zostanie otworzona.' "$batch" mc "$out/swapped.dbf"
refused 'Baza nie zostanie otworzona.' "$batch" export "$out/swapped.dbf" "$out/swapped.csv"
check test ! -e "$out/swapped.csv"
check "$batch" activity --no-check --table "$out/unchecked.csv" "$out/swapped.dbf"
check test -s "$out/unchecked.csv"
# Whole settings files, as the program writes them, with one value changed.
settings=$(dirname "$0")/../python/data/zorv.conf
sed 's/^CheckDBF=true$/CheckDBF=false/' "$settings" > "$out/nocheck.conf"
check "$batch" histogram --settings "$out/nocheck.conf" "$out/swapped.dbf" > /dev/null 2> "$out/stderr"
check test ! -s "$out/stderr"
# The sample passes the check and gives the same table either way.
check "$batch" activity --table "$out/checked.csv" "$sample/katalog.dbf"
check "$batch" activity --no-check --table "$out/plain.csv" "$sample/katalog.dbf"
check cmp -s "$out/checked.csv" "$out/plain.csv"

# A template (here all zero bytes: black back and panel) changes the picture;
# one that cannot be read stops the run before anything is written.
head -c 584 /dev/zero > "$out/black.tpt"
check "$batch" activity --settings "$settings" --picture "$out/plain.svg" "$sample/katalog.dbf" > /dev/null
check "$batch" activity --settings "$settings" --template "$out/black.tpt" --picture "$out/styled.svg" \
  "$sample/katalog.dbf" > /dev/null
check test -s "$out/styled.svg"
if cmp -s "$out/plain.svg" "$out/styled.svg"; then echo "FAILED: the template changed nothing"; fail=1; fi
sed "s|^TemplateFileName=\$|TemplateFileName=$out/black.tpt|" "$settings" > "$out/template.conf"
check "$batch" activity --settings "$out/template.conf" --picture "$out/default.svg" "$sample/katalog.dbf" > /dev/null
check cmp -s "$out/styled.svg" "$out/default.svg"
refused 'Błąd odczytu pliku szablonu' \
  "$batch" activity --template "$out/missing.tpt" --table "$out/t.csv" --picture "$out/m.svg" "$sample/katalog.dbf"
check test ! -e "$out/m.svg"
check test ! -e "$out/t.csv"
exit $fail
