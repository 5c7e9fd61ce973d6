#!/usr/bin/env bash
# Writes the tables (text and dBase), reports and chart pictures of every
# hazard subcommand of zorv-batch on the sample catalogue into a directory,
# with the run's creation time and the dBase update date taken out, so that
# two builds' outputs can be compared byte for byte.
#   hazard_outputs.sh BUILD/src/cli/zorv-batch DATA/sample OUTDIR
set -u
batch=$1
sample=$2
out=$3
mkdir -p "$out"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data
run() {
  local name=$1
  shift
  "$batch" "$@" --table "$out/$name.csv" --report "$out/$name.txt" "$sample/katalog.dbf" 2> "$out/$name.err" ||
    echo "exit $?" >> "$out/$name.err"
  "$batch" "$@" --table "$out/$name.dbf" "$sample/katalog.dbf" 2> /dev/null
  "$batch" "$@" --picture "$out/$name.svg" "$sample/katalog.dbf" > /dev/null 2>&1
  # The report's creation time, the dBase header's date of last update.
  sed -i '/Data utworzenia pliku/d' "$out/$name.txt"
  [ -f "$out/$name.dbf" ] && printf '\0\0\0' | dd of="$out/$name.dbf" bs=1 seek=1 conv=notrunc 2> /dev/null
}
run p-hazard p-hazard --magnitude 2 --magnitude 3.5
run p-return-period p-return-period --time-unit quarters
run p-hazard-magnitude p-hazard-magnitude
run p-density p-density
run p-cdf p-cdf --fixed-upper-limit
run time-variations time-variations
run np-hazard np-hazard --magnitude 3 --magnitude 2.5
run np-return-period np-return-period
run np-hazard-magnitude np-hazard-magnitude --duration 12 --duration 1
run np-density np-density --variable-upper-limit
run np-smoothing np-smoothing
exit 0
