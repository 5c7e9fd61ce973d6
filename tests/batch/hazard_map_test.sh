#!/usr/bin/env bash
# zorv-batch hazard-map on the bundled sample catalogue: every map kind
# writes its table, report and pictures, the GIS grids read back by independent
# readers agree with the table, and wrong input ends with a message in Polish,
# exit code 1 and no file written.
#   hazard_map_test.sh BUILD/src/cli/zorv-batch DATA/sample TESTS/batch
set -u
batch=$1
sample=$2
here=$3
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
export HOME=$out XDG_CONFIG_HOME=$out/config XDG_DATA_HOME=$out/data
fail=0
check() { if ! "$@"; then echo "FAILED: $*"; fail=1; fi; }

for q in count,rate,energy,log-energy mc b,b-positive,a mmax-ks,hazard,return-period \
         mmax-np,np-hazard,np-return-period; do
  check "$batch" hazard-map --quantity "$q" --table "$out/$q.txt" --report "$out/$q.rtf" "$sample/katalog.dbf"
  check test "$(wc -l < "$out/$q.txt")" -gt 1000
  check grep -q 'Mapa zagro' "$out/$q.rtf"
done
check "$batch" hazard-map --before 2000-01-01,2002-12-31 --after 2003-01-01,2005-12-31 \
  --table "$out/change.txt" --report "$out/change-report.txt" "$sample/katalog.dbf"
check grep -q 'IlorazT' "$out/change.txt"
check grep -q 'Okres 2:' "$out/change-report.txt"

# The b map as ASCII grid and GeoTIFF, against the text table.
check "$batch" hazard-map --quantity b --table "$out/b.txt" --grid "$out/b.asc" "$sample/katalog.dbf"
check "$batch" hazard-map --quantity b --grid "$out/b.tif" --epsg 2180 "$sample/katalog.dbf" > /dev/null
check /usr/bin/python3 "$here/read_grids.py" "$out/b.asc" "$out/b.tif" "$out/b.txt" b 2180

# The pictures: one per drawn column, as the map windows draw them.
check "$batch" hazard-map --quantity mc,b --picture "$out/map.png" "$sample/katalog.dbf" > /dev/null
check test -s "$out/map.png"
check test -s "$out/map-2.png"
check test ! -e "$out/map-3.png"
check "$batch" hazard-map --before 2000-01-01,2002-12-31 --after 2003-01-01,2005-12-31 \
  --picture "$out/change.svg" "$sample/katalog.dbf" > /dev/null
check grep -q 'Iloraz tempa' "$out/change.svg"
check test -s "$out/change-3.svg"

# Wrong input: a message, exit code 1, nothing written.
bad() {
  local expect=$1
  shift
  rm -f "$out"/bad.*
  local msg
  msg=$("$batch" hazard-map --table "$out/bad.txt" --report "$out/bad.rtf" --grid "$out/bad.asc" "$@" \
          "$sample/katalog.dbf" 2>&1 >/dev/null)
  local rc=$?
  if [ $rc -ne 1 ] || ! grep -q "$expect" <<<"$msg" || ls "$out"/bad.* >/dev/null 2>&1; then
    echo "FAILED: hazard-map $* (rc $rc): $msg"
    fail=1
  fi
}
bad 'musi być liczbą dodatnią' --cell 0
bad 'najwyżej 4 000 000' --cell 1
bad 'tylko jeden węzeł' --cell 100000
bad 'przekracza liczbę zlokalizowanych' --nearest 50000
bad 'żaden węzeł nie ma zjawisk' --sampling radius --radius 10 --box '100000;100000;101000;101000'
bad 'Brak zlokalizowanych zjawisk' --where 'X=0'
bad 'Nieznany typ pliku rysunku' --picture "$out/bad.gif"
bad 'Nieznana wielkość' --quantity gęstość
bad 'Mapa zmian wymaga obu' --before 2000-01-01,2001-01-01
bad 'Nieznany typ pliku raportu' --report "$out/bad.doc"
rm -f "$out"/bad.*
msg=$("$batch" hazard-map --grid "$out/bad.png" "$sample/katalog.dbf" 2>&1)
check grep -q 'Nieznany typ pliku siatki' <<<"$msg"
check test ! -e "$out/bad.png"

exit $fail
