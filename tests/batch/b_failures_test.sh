#!/usr/bin/env bash
# zorv-batch on a seeded catalogue (tests/batch/seeded_catalogue.py: b = 1.3
# from 1.0, truncated at 4.5, 200 events a year over 2001-2010) on which the
# joint beta-Mmax equation with the variable upper limit has a root in four
# years only: 2002, 2004, 2005 and 2009, where b is SciPy's beta / ln 10 of
#   /usr/bin/python3 tests/core/hazard/joint_mmax_reference.py 200 MEAN XMAX 1.0
# (MEAN, XMAX of the year's magnitudes), and none below 10 in the rest or in
# the whole sample. Those rows name the reason; --b-aki gives every year (and
# zone) the Aki-Utsu b, checked against log10(e)/(mean - MMin) of the file's
# own magnitudes; without the option the table is the option's table less its
# two columns. mmax-compare keeps a row for every estimator.
#   b_failures_test.sh BUILD/src/cli/zorv-batch
set -u
batch=$1
here=$(cd "$(dirname "$0")" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
export HOME=$out XDG_CONFIG_HOME=$out/config XDG_DATA_HOME=$out/data
fail=0
check() { if ! "$@"; then echo "FAILED: $*"; fail=1; fi; }
python=/usr/bin/python3

"$python" "$here/seeded_catalogue.py" "$out/seeded.dbf"
"$batch" b-changes --period years --mmin 1.0 "$out/seeded.dbf" > "$out/b.tab"
"$batch" b-changes --period years --mmin 1.0 --b-aki "$out/seeded.dbf" > "$out/aki.tab"
check test "$(head -1 "$out/aki.tab")" = "$(printf 'Numer\tOkres\tb\tOpis\tb_AKI\tsigma_AKI\t')"
check test "$(cut -f1-4 "$out/aki.tab" | sed 's/$/\t/')" = "$(cat "$out/b.tab")"
check "$python" - "$out/seeded.dbf" "$out/aki.tab" << 'PY'
import math, struct, sys
data = open(sys.argv[1], "rb").read()
count, header, size = struct.unpack("<IHH", data[4:12])
# MAGNITUDA: after ODDZIAL 10, DATA 8, X 10, Y 10, ENG 20 (and the flag byte).
at = 1 + 10 + 8 + 10 + 10 + 20
years = {}
for i in range(count):
    r = data[header + i * size: header + (i + 1) * size]
    years.setdefault(r[11:15].decode(), []).append(float(r[at:at + 10]))
truncated = {"2002": 3.066358238429, "2004": 3.215710898172, "2005": 3.026635423463, "2009": 3.189903629750}
ok = True
for line in open(sys.argv[2], encoding="utf-8").read().splitlines()[1:]:
    cells = line.split("\t")
    year, b, why, aki = cells[1], cells[2], cells[3], cells[4]
    m = years[year]
    expected = math.log10(math.e) / (sum(m) / len(m) - 1.0)
    if abs(float(aki.replace(",", ".")) - expected) > 5e-4:
        print(year, "Aki", aki, expected); ok = False
    if year in truncated:
        if why or abs(float(b.replace(",", ".")) - truncated[year] / math.log(10)) > 1e-3:
            print(year, "b", b, why); ok = False
    elif b or why != "Równanie Mmax bez rozwiązania":
        print(year, "failure", b, why); ok = False
sys.exit(0 if ok else 1)
PY
# Zones: the Aki pair after the statistics' columns, a value in each zone.
"$batch" zone-b --zones G-1/1,G-1/2,G-1/3,G-1/4 --mmin 1.0 --b-stats --b-aki "$out/seeded.dbf" > "$out/z.tab"
check test "$(head -1 "$out/z.tab")" = "$(printf 'Numer\tStrefa\tb\tBeta\tOpis\tsigma\tP_UTSU\tb_AKI\tsigma_AKI\t')"
check test "$(awk -F'\t' 'NR > 1 && $8 != "" && $9 != ""' "$out/z.tab" | wc -l)" -eq 4
# The whole sample has no root with the variable limit: p-hazard says so,
# and the comparison keeps both variable-limit rows with their reason.
"$batch" p-hazard --mmin 1.0 "$out/seeded.dbf" > /dev/null 2> "$out/p.err"
check grep -q 'nie ma rozwiązania poniżej dopuszczalnej wartości' "$out/p.err"
# … and what to try.
check grep -q 'Wyłącz opcję zmiennej górnej granicy całkowania' "$out/p.err"
"$batch" p-hazard --mmin 1.0 --fixed-upper-limit "$out/seeded.dbf" > /dev/null 2>&1
check test $? -eq 0
"$batch" mmax-compare --mmin 1.0 "$out/seeded.dbf" > "$out/m.tab"
check test "$(wc -l < "$out/m.tab")" -eq 10
check grep -q "$(printf 'K-S zm.\t\t\t3,907\tBrak rozwiązania równania')" "$out/m.tab"
check grep -q "$(printf 'NP zm.\t\t\t3,907\tBrak zbieżności')" "$out/m.tab"
exit $fail
