#!/usr/bin/env bash
# zorv-batch import and export of catalogues in the forms other tools use,
# read back by readers that are not Zorv's: Python's csv module, xmllint, and
# a reader of the OpenQuake catalogue CSV written from the format's
# description. The bundled sample survives a round trip through each form.
#   interchange_test.sh BUILD/src/cli/zorv-batch DATA/sample
set -u
batch=$1
sample=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
export HOME=$out XDG_CONFIG_HOME=$out/config XDG_DATA_HOME=$out/data
fail=0
check() { if ! "$@"; then echo "FAILED: $*"; fail=1; fi; }
events=$(($(wc -l < "$sample/katalog.txt") - 1))

# Comma CSV: the sample's text (windows-1250, dd.mm.yyyy, decimal commas)
# against the export read by the csv module.
check "$batch" export "$sample/katalog.dbf" "$out/k.csv"
check python3 - "$sample/katalog.txt" "$out/k.csv" <<'PY'
import csv, sys
src = [l.rstrip('\r\n').split('\t') for l in open(sys.argv[1], encoding='cp1250')]
rows = list(csv.reader(open(sys.argv[2], encoding='utf-8', newline='')))
assert rows[0] == src[0][:-1], rows[0]
assert len(rows) == len(src), (len(rows), len(src))
for s, r in zip(src[1:], rows[1:]):
    d, m, y = s[1].split('.')
    assert r[1] == f'{y}-{m}-{d}', (r, s)
    assert r[0] == s[0] and r[2] == s[2] and r[3] == s[3] and r[9] == s[9], (r, s)
    assert float(r[5]) == float(s[5].replace(',', '.')), (r, s)
    assert abs(float(r[4]) - float(s[4].replace(',', '.'))) <= 1e-9 * float(r[4]), (r, s)
PY
# And back: the same catalogue, field for field.
check "$batch" import --columns auto "$out/k.csv" "$out/k.dbf" 2> "$out/k.err"
check grep -q "Rekordów: $events\." "$out/k.err"
check "$batch" export "$out/k.dbf" "$out/k2.csv"
check cmp "$out/k.csv" "$out/k2.csv"

# QuakeML: well-formed, one event per record, and back.
check "$batch" export --crs EPSG:2180 "$sample/katalog.dbf" "$out/k.xml"
check xmllint --noout "$out/k.xml"
check test "$(xmllint --xpath "count(//*[local-name()='event'])" "$out/k.xml")" -eq "$events"
check "$batch" import --crs EPSG:2180 "$out/k.xml" "$out/q.dbf" 2> "$out/q.err"
check grep -q 'EPSG:2180' "$out/q.err"
check "$batch" export "$out/q.dbf" "$out/q.csv"
# The projected catalogue keeps its CRS beside it: the reports name it, the
# geographic export takes it without --crs, a catalogue without one has none.
check grep -q '^EPSG:2180' "$out/q.crs"
check "$batch" activity --period years --report "$out/q.txt" "$out/q.dbf" > /dev/null
iconv -f cp1250 -t utf-8 "$out/q.txt" > "$out/q.utf8"  # reports are saved in windows-1250
check grep -q 'Układ współrzędnych X/Y: *EPSG:2180' "$out/q.utf8"
check "$batch" export "$out/q.dbf" "$out/q2.xml"
check test "$(xmllint --xpath "count(//*[local-name()='event'])" "$out/q2.xml")" -eq "$events"
check test ! -e "$out/k.crs"
# OpenQuake CSV: read by the format's own columns, and back.
check "$batch" export --format openquake --crs EPSG:2180 "$sample/katalog.dbf" "$out/oq.csv"
check python3 - "$out/oq.csv" "$events" <<'PY'
import csv, sys
rows = list(csv.DictReader(open(sys.argv[1], newline='')))
assert len(rows) == int(sys.argv[2])
need = ['eventID', 'year', 'month', 'day', 'hour', 'minute', 'second', 'longitude', 'latitude', 'depth', 'magnitude']
assert list(rows[0].keys()) == need, rows[0].keys()
for r in rows:
    assert 1900 < int(r['year']) < 2100 and 1 <= int(r['month']) <= 12 and 1 <= int(r['day']) <= 31
    assert 0 <= int(r['hour']) < 24 and 0 <= int(r['minute']) < 60 and 0 <= float(r['second']) < 61
    if r['longitude']:
        assert -180 <= float(r['longitude']) <= 180 and -90 <= float(r['latitude']) <= 90
    float(r['magnitude'])
PY
check "$batch" import --columns auto --crs EPSG:2180 "$out/oq.csv" "$out/o.dbf" 2> /dev/null
check "$batch" export "$out/o.dbf" "$out/o.csv"
# Both come back with the dates, times, X/Y and magnitudes of the sample.
check python3 - "$out/k.csv" "$out/q.csv" "$out/o.csv" <<'PY'
import csv, sys
def table(p):
    rows = list(csv.DictReader(open(p, encoding='utf-8', newline='')))
    return [(r['DATA'], r['GODZ'], r['MIN'], r['SEK'], r['X'], r['Y'], float(r['MAGNITUDA'])) for r in rows]
want = table(sys.argv[1])
for p in sys.argv[2:]:
    got = table(p)
    assert got == want, (p, next((a, b) for a, b in zip(got, want) if a != b))
PY

# A comma CSV as others write it: a byte-order mark, quoted fields, month-first
# dates out of order, NaN, a -999 mark, energy in joules, latitude/longitude.
printf '\xef\xbb\xbfDate,Time,Lat,Lon,"Radiated Energy (J)",Mw,Note\r\n' > "$out/w.csv"
printf '03/15/2021,10:00:00,50.1,19.2,2.5e5,NaN,"wall 7, east"\r\n' >> "$out/w.csv"
printf '03/14/2021,09:00:00,50.2,19.3,-999,1.2,\r\n' >> "$out/w.csv"
printf '03/16/2021,11:00:00,,,NaN,NaN,"no size, no place"\r\n' >> "$out/w.csv"
check "$batch" import --columns auto --missing -999 --date-format mdy "$out/w.csv" "$out/w.dbf" 2> "$out/w.err"
check grep -q 'przesunięto 1 rekordów' "$out/w.err"
check grep -q 'Rekordów bez magnitudy i energii: 1 (zachowane)' "$out/w.err"
check grep -q 'EPSG:32634' "$out/w.err"
check grep -q '4 Lon -> dlugosc' "$out/w.err"
check "$batch" import --columns auto --missing -999 --drop-empty "$out/w.csv" "$out/w2.dbf" 2> "$out/w2.err"
check grep -q 'Rekordów: 2\.' "$out/w2.err"
# Refusals: exit 1, a message with the row, and no table left behind.
printf 'Date,Mag\n2021-01-01,1.0\n2021-01-02,1.1,9\n' > "$out/r.csv"
check test "$("$batch" import --columns auto "$out/r.csv" "$out/r.dbf" 2>&1)" = \
  "zorv-batch: Wiersz 3 ma 3 pól, a pierwszy wiersz 2 (separator: przecinek). Sprawdź ten wiersz: brakujące lub nadmiarowe pola albo pole z separatorem bez cudzysłowu."
check test ! -e "$out/r.dbf"
printf 'Date,Mag\n4/3/2021,1.0\n' > "$out/a.csv"
"$batch" import --columns auto "$out/a.csv" "$out/a.dbf" 2> "$out/a.err"
check test $? -eq 1
check grep -q -- '--date-format dmy albo mdy' "$out/a.err"
check test ! -e "$out/a.dbf"
"$batch" export --format quakeml "$sample/katalog.dbf" "$out/n.xml" 2> "$out/n.err"
check test $? -eq 1
check grep -q -- '--crs EPSG:KOD' "$out/n.err"
check test ! -e "$out/n.xml"
# The text import by extension is unchanged: the TAB file read as before.
check "$batch" import --header "$sample/katalog.txt" "$out/t.dbf" 2> /dev/null

exit $fail
