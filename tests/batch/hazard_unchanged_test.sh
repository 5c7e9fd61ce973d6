#!/usr/bin/env bash
# With the confidence bands off, every hazard table, report and chart picture
# of zorv-batch on the sample catalogue is byte for byte what the build before
# the bands wrote: hazard_outputs.sha256 holds the checksums of the outputs of
# that build (remade once since, when the cross-validation sums of wide
# bandwidths came to be interpolated: the smoothing factor moved in its
# fifteenth digit, which only the full-precision numbers of the .dbf tables
# and the 15-digit h of the .err lines show; reports, CSV and pictures were
# unchanged; and the report and picture of p-cdf once more, when the
# distribution table got its own title instead of the density's: the report
# is the old one with the title line replaced; and the text table of the
# time variations, whose window midpoint "Data" is written as a date like
# the window's ends; and the chart pictures once more, when the legends
# came to say "Aktywność", "Okres powrotu", "Gęstość" instead of the field
# names, the window titles tell the estimates apart, the hazard title of the
# time variations lost its capital S and the return periods' value axis got
# its title "Średni okres powrotu [kwartały]": every table, report and CSV
# was unchanged; and the picture of p-density once more, when a title wider
# than its picture came to break at its words instead of running past the
# right edge: only that picture's title was wider), made by
#   tests/batch/hazard_outputs.sh OLD/zorv-batch data/sample DIR && (cd DIR && sha256sum *)
#   hazard_unchanged_test.sh BUILD/src/cli/zorv-batch DATA/sample
set -u
here=$(cd "$(dirname "$0")" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$here/hazard_outputs.sh" "$1" "$2" "$out"
cd "$out" && sha256sum --quiet -c "$here/hazard_outputs.sha256"
