#!/usr/bin/env bash
# zorv-batch on the bundled sample catalogue: every statistics analysis writes
# its table and report; wrong input ends with a message and exit code 1.
#   batch_test.sh BUILD/src/cli/zorv-batch DATA/sample
set -u
batch=$1
sample=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
export HOME=$out XDG_CONFIG_HOME=$out/config XDG_DATA_HOME=$out/data
fail=0
check() { if ! "$@"; then echo "FAILED: $*"; fail=1; fi; }

for cmd in activity cumulative-activity energy cumulative-energy daily-energy cumulative-daily-energy \
           total-activity cumulative-total-activity over-threshold cumulative-over-threshold histogram \
           energy-traces; do
  for ext in dbf db; do
    check "$batch" "$cmd" --period months --table "$out/$cmd.csv" --report "$out/$cmd.rtf" "$sample/katalog.$ext"
    # Header plus at least one row, every line ending in the separator.
    check test "$(wc -l < "$out/$cmd.csv")" -ge 2
    check test -z "$(grep -v ';.$' "$out/$cmd.csv")"
    check grep -q '\\ansicpg1250' "$out/$cmd.rtf"
  done
  check "$batch" "$cmd" --table "$out/$cmd.dbf" "$sample/katalog.dbf"
  check test -s "$out/$cmd.dbf"
done

for cmd in zone-total-activity zone-energy zone-over-threshold zone-activity; do
  check "$batch" "$cmd" --zones G-1,G-2/1,G-4 --energy-classes --table "$out/$cmd.txt" --report "$out/$cmd.txt.rtf" \
    "$sample/katalog.db"
  check test "$(wc -l < "$out/$cmd.txt")" -eq 4
done
# Zone G-1 holds every event of G-1/1 … G-1/4.
g1=$("$batch" zone-activity --zones G-1 "$sample/katalog.dbf" | awk -F'\t' 'NR==2 {print $3}')
check test "$g1" -eq "$(grep -c '^G-1/' "$sample/katalog.txt")"

# Monthly activity over the whole sample: 72 months of 2000-2005, events add up.
"$batch" activity --period months "$sample/katalog.dbf" > "$out/act.txt"
check test "$(wc -l < "$out/act.txt")" -eq 73
total=$(awk -F'\t' 'NR>1 {s+=$13} END {print s}' "$out/act.txt")
check test "$total" -eq "$(($(wc -l < "$sample/katalog.txt") - 1))"

# Nonparametric hazard: the tables, the estimate on standard error, the report.
"$batch" np-hazard --magnitude 3 --magnitude 3 --magnitude 2.5 "$sample/katalog.dbf" > "$out/nph.txt" 2> "$out/nph.err"
check test "$(head -1 "$out/nph.txt")" = "$(printf 'Numer\tOkres\tm1\tm2\t')"
check test "$(wc -l < "$out/nph.txt")" -eq 62  # D = 0, 0.2, … 12
check grep -q 'MMaxEst = ' "$out/nph.err"
check "$batch" np-return-period --time-unit quarters --table "$out/npr.csv" --report "$out/npr.txt" "$sample/katalog.db" 2> /dev/null
check env LC_ALL=C grep -q 'Ilo.. kwarta..w:' "$out/npr.txt"
check test "$(wc -l < "$out/npr.csv")" -ge 100
"$batch" np-smoothing "$sample/katalog.dbf" > "$out/nps.txt" 2> /dev/null
check test "$(wc -l < "$out/nps.txt")" -eq 75  # h = 0.002 … 0.148
"$batch" np-hazard-magnitude --duration 12 --duration 1 --start 1.5 --end 3 --step 0.5 --silverman off \
  --alt-h 0.1 "$sample/katalog.dbf" > "$out/nphm.txt" 2> /dev/null
check test "$(head -1 "$out/nphm.txt")" = "$(printf 'Numer\tMagnituda\tEnergia\tD1\tD2\t')"
check test "$(wc -l < "$out/nphm.txt")" -eq 5
"$batch" np-density --functions cdf,pdf --variable-upper-limit "$sample/katalog.dbf" > "$out/npd.txt" 2> /dev/null
check test "$(head -1 "$out/npd.txt")" = "$(printf 'Numer\tMagnituda\tEnergia\tpdf_est\tcdf_est_adapt\t')"
# The density table with its bands; the smoothing-factor table with the
# interval of h in its report and on standard error, its table unchanged.
"$batch" np-density --functions pdf-adapt,cdf --start 1.5 --end 2 --step 0.1 --bootstrap 20 \
  "$sample/katalog.dbf" > "$out/npdb.txt" 2> "$out/npdb.err"
check test "$(head -1 "$out/npdb.txt")" = \
  "$(printf 'Numer\tMagnituda\tEnergia\tpdf_est_adapt\tpdf_ad_lo\tpdf_ad_hi\tcdf_est_adapt\tcdf_ad_lo\tcdf_ad_hi\t')"
check test "$(wc -l < "$out/npdb.txt")" -eq 6  # 1.5 … 1.9: the sum of steps passes 2
check grep -q 'Przedział ufności 90 %: h .* MMaxEst .* nieudane replikacje: 0 z 20' "$out/npdb.err"
"$batch" np-smoothing --bootstrap 20 --level 80 --report "$out/npsb.txt" "$sample/katalog.dbf" \
  > "$out/npsb.tab" 2> "$out/npsb.err"
check cmp "$out/nps.txt" "$out/npsb.tab"
check grep -q 'h próby = 0,005654  Przedział ufności 80 %: h ' "$out/npsb.err"
check env LC_ALL=C grep -aq 'Przedzia. ufno.ci 80 % (bootstrap, B = 20):' "$out/npsb.txt"
# Every nonparametric analysis writes its report with the common header.
for cmd in np-hazard np-return-period np-smoothing np-hazard-magnitude np-density; do
  check "$batch" "$cmd" --table "$out/$cmd.dbf" --report "$out/$cmd.rtf" "$sample/katalog.dbf" 2> /dev/null
  check grep -q 'Data utworzenia pliku' "$out/$cmd.rtf"
  check test -s "$out/$cmd.dbf"
done
# Parametric hazard tables: the table, the report and the estimate on standard error.
for cmd in p-hazard p-return-period p-hazard-magnitude p-density p-cdf; do
  check "$batch" "$cmd" --time-unit months --table "$out/$cmd.csv" --report "$out/$cmd.txt" \
    "$sample/katalog.dbf" 2> "$out/$cmd.err"
  check test "$(wc -l < "$out/$cmd.csv")" -ge 2
  check grep -q 'Beta = .* b = .* MMaxEst = .* n = ' "$out/$cmd.err"
  # Reports and text tables are windows-1250.
  check grep -q 'czynnik Beta' "$out/$cmd.txt"
done
check test "$(head -1 "$out/p-hazard-magnitude.csv" | tr -d '\r')" = "Numer;Magnituda;Energia;D1;D2;D3;D4;"
# The same options as the nonparametric tables: repeated or listed values.
"$batch" p-hazard --magnitude 2 --magnitude 3.5 "$sample/katalog.dbf" > "$out/ph.txt" 2> /dev/null
check test "$(head -1 "$out/ph.txt")" = "$(printf 'Numer\tOkres\tm1\tm2\t')"
# A quarterly b-value series of the whole sample runs to its end: 24 quarters.
"$batch" b-changes --period quarters "$sample/katalog.dbf" > "$out/b.txt"
check test "$(wc -l < "$out/b.txt")" -eq 25
check "$batch" zone-b --zones G-1,G-2/1,G-9 --table "$out/zone-b.txt" "$sample/katalog.db"
check test "$(wc -l < "$out/zone-b.txt")" -eq 4
check grep -q 'Brak rekord' "$out/zone-b.txt"
# The b statistics: without --b-stats the specified columns only; with it
# sigma and P_UTSU after them (no earlier period for the first), and the
# statistics of the whole sample at the end of the report.
check test "$(head -1 "$out/b.txt")" = "$(printf 'Numer\tOkres\tb\tOpis\t')"
"$batch" b-changes --period years --b-stats --report "$out/bs.txt" "$sample/katalog.dbf" > "$out/bs.tab"
check test "$(head -1 "$out/bs.tab")" = "$(printf 'Numer\tOkres\tb\tOpis\tsigma\tP_UTSU\t')"
check test "$(awk -F'\t' 'NR==2 {print $6}' "$out/bs.tab")" = ""
check test -n "$(awk -F'\t' 'NR==3 {print $6}' "$out/bs.tab")"
check env LC_ALL=C grep -q 'b-dodatni (van der Elst): *[0-9],[0-9]* . [0-9]' "$out/bs.txt"
"$batch" zone-b --zones G-1,G-9 --b-stats --b-bin 0.1 --b-positive-threshold 0.3 "$sample/katalog.dbf" > "$out/zbs.tab"
check test "$(head -1 "$out/zbs.tab")" = "$(printf 'Numer\tStrefa\tb\tBeta\tOpis\tsigma\tP_UTSU\t')"
check test -n "$(awk -F'\t' 'NR==2 {print $7}' "$out/zbs.tab")"
# Time variations: windows of 300 days by 25 over 2000-2005, one record each.
"$batch" time-variations --table "$out/tv.csv" --report "$out/tv.txt" "$sample/katalog.dbf" 2> "$out/tv.err"
check test "$(head -1 "$out/tv.csv" | tr -d '\r')" = \
  "Numer;Data;Beta;b;Lambda;MMaxEst;Hazard;MRP;Opis;OkresStart;OkresKoniec;DataStart;DataKoniec;LZdarzen;DoAnalizy;"
check test "$(wc -l < "$out/tv.csv")" -eq 77
check grep -q 'Liczba okien: 76' "$out/tv.err"
check env LC_ALL=C grep -q 'Liczba okien                       76' "$out/tv.txt"
# A quarter shorter than the window: one window, written as one in the report.
check "$batch" time-variations --from 2003-01-01 --to 2003-03-31 --window 300 --window-step 5 --min-events 60 \
  --magnitude 2.5 --duration 3 --return-magnitude 2 --time-unit quarters --table "$out/tv1.txt" \
  --report "$out/tv1.rtf" "$sample/katalog.db" 2> /dev/null
check test "$(wc -l < "$out/tv1.txt")" -eq 2
check grep -q 'Liczba okien                       1' "$out/tv1.rtf"
# --mc: the completeness magnitude of every window after the other columns,
# which stay as they were, a report block and a fifth chart.
"$batch" time-variations --mc maxc+0.2 --table "$out/tvmc.csv" --report "$out/tvmc.txt" --picture "$out/tvmc.svg" \
  "$sample/katalog.dbf" 2> "$out/tvmc.err"
check test "$(head -1 "$out/tvmc.csv" | tr -d '\r')" = \
  "Numer;Data;Beta;b;Lambda;MMaxEst;Hazard;MRP;Opis;OkresStart;OkresKoniec;DataStart;DataKoniec;LZdarzen;DoAnalizy;Mc;"
check test "$(cut -d';' -f1-15 "$out/tvmc.csv")" = "$(cut -d';' -f1-15 "$out/tv.csv")"
check test -z "$(awk -F';' 'NR > 1 && $16 == ""' "$out/tvmc.csv")"
check grep -q 'Mc (maxc+0.2): okna bez oszacowania: 0' "$out/tvmc.err"
check env LC_ALL=C grep -q 'Okna bez oszacowania: 0 z 76' "$out/tvmc.txt"
for f in tvmc tvmc-2 tvmc-3 tvmc-4 tvmc-5; do check grep -q '<svg' "$out/$f.svg"; done
check test ! -e "$out/tvmc-6.svg"
# Each window's Mc is that of zorv-batch mc on the window's days, all of its
# events (the count of mc's sample is the window's LZdarzen).
for rec in 2 40 77; do
  IFS=';' read -r -a w <<< "$(sed -n "${rec}p" "$out/tvmc.csv" | tr -d '\r')"
  "$batch" mc --method maxc+0.2 --bootstrap 0 --from "${w[11]}" --to "${w[12]}" "$sample/katalog.dbf" \
    > "$out/mcw.txt" 2> "$out/mcw.err"
  check test "$(awk -F'\t' 'NR == 2 {print $2}' "$out/mcw.txt")0" = "${w[15]}"
  check grep -q "^n = ${w[13]}," "$out/mcw.err"
done

# Wrong input: a message on standard error and exit code 1, nothing written.
expect_fail() {
  if "$batch" "$@" > "$out/stdout" 2> "$out/stderr"; then echo "FAILED (accepted): $*"; fail=1; fi
  if [ ! -s "$out/stderr" ]; then echo "FAILED (no message): $*"; fail=1; fi
}
expect_fail activity "$sample/nie-ma.dbf"
expect_fail activity --where "X>>0" "$sample/katalog.dbf"
expect_fail no-such-analysis "$sample/katalog.dbf"
expect_fail activity --period tygodnie "$sample/katalog.dbf"
expect_fail activity --from 2005-01-01 --to 2004-01-01 "$sample/katalog.dbf"
expect_fail activity --mmin abc "$sample/katalog.dbf"
expect_fail activity --table "$out/x.xls" "$sample/katalog.dbf"
expect_fail activity "$sample/katalog.txt"
expect_fail zone-energy "$sample/katalog.dbf"
expect_fail b-changes --b-stats --b-bin 2 "$sample/katalog.dbf"
expect_fail b-changes --b-stats --b-positive-threshold -0.1 "$sample/katalog.dbf"
expect_fail np-hazard --start 1 --end 2 --step 0 "$sample/katalog.dbf"
expect_fail np-hazard --start 1 --end 2 "$sample/katalog.dbf"
expect_fail np-hazard --magnitude 1 --magnitude 2 --magnitude 3 --magnitude 4 --magnitude 5 "$sample/katalog.dbf"
expect_fail np-hazard --time-unit years "$sample/katalog.dbf"
expect_fail np-density --functions none "$sample/katalog.dbf"
# Two days of events leave no activity rate.
expect_fail np-return-period --from 2003-05-01 --to 2003-05-02 "$sample/katalog.dbf"
grep -q 'trzy dni' "$out/stderr" || { echo "FAILED: short period message"; fail=1; }
expect_fail p-density --start 1 --step 0 --end 3 "$sample/katalog.dbf"
expect_fail p-hazard --time-unit years "$sample/katalog.dbf"
expect_fail p-hazard --start 1 "$sample/katalog.dbf"
expect_fail time-variations --window-step 0 "$sample/katalog.dbf"
expect_fail time-variations --window-step -25 "$sample/katalog.dbf"
expect_fail time-variations --window 12.5 "$sample/katalog.dbf"
expect_fail time-variations --min-events 10 "$sample/katalog.dbf"
expect_fail time-variations --time-unit years "$sample/katalog.dbf"
expect_fail time-variations --mc foo "$sample/katalog.dbf"
grep -q 'Nieznana metoda w opcji --mc: foo' "$out/stderr" || { echo "FAILED: --mc method message"; fail=1; }
expect_fail time-variations --mc-bin 0.2 "$sample/katalog.dbf"
expect_fail time-variations --mc ks --mc-bin 0 "$sample/katalog.dbf"
check test ! -e "$out/x.xls"

# --picture writes every type, whatever the display: the chart is drawn offscreen.
quiet() { "$@" > /dev/null; }
for ext in png svg pdf bmp jpg emf wmf; do
  check quiet env -u DISPLAY -u QT_QPA_PLATFORM "$batch" activity --picture "$out/chart.$ext" "$sample/katalog.dbf"
  check test -s "$out/chart.$ext"
done
check test "$(head -c 2 "$out/chart.bmp")" = BM
check test "$(head -c 4 "$out/chart.pdf")" = %PDF
check grep -q '<svg' "$out/chart.svg"
# The enhanced metafile's signature " EMF" at byte 40, the placeable key at 0.
check test "$(dd if="$out/chart.emf" bs=1 skip=41 count=3 2>/dev/null)" = EMF
check test "$(od -An -tx1 -N4 "$out/chart.wmf" | tr -d ' ')" = d7cdc69a
# Time variations draw one chart per quantity: the name given, then -2, -3, -4.
check quiet "$batch" time-variations --picture "$out/tv.svg" "$sample/katalog.dbf"
for f in tv tv-2 tv-3 tv-4; do check grep -q '<svg' "$out/$f.svg"; done
# An unknown picture type is refused before the analysis runs, nothing written.
expect_fail activity --picture "$out/chart.gif" "$sample/katalog.dbf"
grep -q 'Nieznany typ pliku rysunku' "$out/stderr" || { echo "FAILED: picture type message"; fail=1; }
check test ! -e "$out/chart.gif"
# The other subcommands still need no display and no GUI platform.
check env -u DISPLAY QT_QPA_PLATFORM=none-such "$batch" activity --table "$out/nogui.csv" "$sample/katalog.dbf"
# The maximum-magnitude comparison: nine estimators, its chart with error bars.
check "$batch" mmax-compare --table "$out/mmax.csv" --report "$out/mmax.txt" "$sample/katalog.dbf"
check test "$(wc -l < "$out/mmax.csv")" -eq 10
check grep -q 'Robson' "$out/mmax.csv"
check quiet "$batch" mmax-compare --picture "$out/mmax.svg" "$sample/katalog.dbf"
check grep -q '<svg' "$out/mmax.svg"
# The verification of past forecasts: ten reliability bins; bad horizons refused.
check "$batch" backtest --magnitude 3.5 --horizon 30 --window 365 --table "$out/bt.csv" "$sample/katalog.dbf"
check test "$(wc -l < "$out/bt.csv")" -eq 11
expect_fail backtest --horizon 3 "$sample/katalog.dbf"
expect_fail backtest --horizon 30 --window 10 "$sample/katalog.dbf"
"$batch" --help | grep -q mmax-compare || { echo "FAILED: --help lists mmax-compare"; fail=1; }
"$batch" --help | grep -q energy-traces || { echo "FAILED: --help lists the analyses"; fail=1; }

# Completeness magnitude: one row per method asked for, the distribution of
# --table adds up to the sample and is cumulated from the top, the same seed
# repeats the run exactly.
"$batch" mc "$sample/katalog.dbf" > "$out/mc.txt" 2> "$out/mc.err"
check test "$(head -1 "$out/mc.txt")" = "$(printf 'Metoda\tMc\tOdch_std\tb\tsigma_b\tn\tUdane_proby\tb_TM\tsigma_b_TM')"
check test "$(cut -f1 "$out/mc.txt" | tail -n +2 | tr '\n' ' ')" = "maxc maxc+0.2 gof90 gof95 mbs ks "
check test "$(awk -F'\t' '$1 == "maxc" {print $2}' "$out/mc.txt")" = "1,20"
check grep -q 'n = 19838, przedział = 0,1, próby bootstrap = 200' "$out/mc.err"
"$batch" mc --method ks,maxc --bin 0.2 --bootstrap 30 --locale en --zone G-1/1 --table "$out/mc.csv" \
  --report "$out/mc.rtf" "$sample/katalog.dbf" > "$out/mc2.txt" 2> /dev/null
check test "$(cut -f1 "$out/mc2.txt" | tail -n +2 | tr '\n' ' ')" = "ks maxc "
check test "$(awk -F'\t' 'NR > 1 {print $7}' "$out/mc2.txt" | tr '\n' ' ')" = "30 30 "
check test "$(head -1 "$out/mc.csv" | tr -d '\r')" = "Numer;Magnituda;Liczba;Liczba_kum;"
zone=$(grep -c '^G-1/1	' "$sample/katalog.txt")
check test "$(awk -F';' 'NR > 1 {s += $3} END {print s}' "$out/mc.csv")" -eq "$zone"
check test "$(awk -F';' 'NR == 2 {print $4}' "$out/mc.csv")" -eq "$zone"
check awk -F';' 'NR > 2 && prev - $4 != last {exit 1} {prev = $4; last = $3}' "$out/mc.csv"
check test "$(awk -F';' 'NR == 2 {print $2}' "$out/mc.csv")" = "0.400"
check grep -q '\\ansicpg1250' "$out/mc.rtf"
"$batch" mc --seed 5 --bootstrap 40 "$sample/katalog.db" > "$out/mc3.txt" 2> /dev/null
"$batch" mc --seed 5 --bootstrap 40 "$sample/katalog.dbf" > "$out/mc4.txt" 2> /dev/null
check cmp -s "$out/mc3.txt" "$out/mc4.txt"
expect_fail mc --method foo "$sample/katalog.dbf"
grep -q 'Nieznana metoda w opcji --method: foo' "$out/stderr" || { echo "FAILED: mc method message"; fail=1; }
expect_fail mc --bin 0 "$sample/katalog.dbf"
expect_fail mc --where "MAGNITUDA > 9" "$sample/katalog.dbf"
grep -q 'Brak rekordów do analizy' "$out/stderr" || { echo "FAILED: mc empty sample message"; fail=1; }
expect_fail mc --where "MAGNITUDA > 3.9" "$sample/katalog.dbf"
grep -q 'Za mało zdarzeń do oszacowania magnitudy kompletności' "$out/stderr" || { echo "FAILED: mc small sample"; fail=1; }
"$batch" --help | grep -q -- '--bootstrap N' || { echo "FAILED: --help lists mc"; fail=1; }

exit $fail
