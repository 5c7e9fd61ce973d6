#!/usr/bin/env bash
# The module as cmake --install lays it out: under the prefix /usr (the
# Debian package's layout) in lib/python3/dist-packages, under /usr/local in
# lib/python3.X/dist-packages, each imported there and run on the sample.
#   installed_test.sh BUILD PYTHON SAMPLE.dbf
set -euo pipefail
build=$1
python=$2
sample=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export HOME=$tmp XDG_CONFIG_HOME=$tmp/config
cd "$tmp"  # not the build folder, whose zorv/ would come first
version=$("$python" -c 'import sys; print(f"{sys.version_info[0]}.{sys.version_info[1]}")')
for prefix in /usr /usr/local; do
  DESTDIR="$tmp/root" cmake --install "$build" --prefix "$prefix" > "$tmp/install.log" 2>&1 ||
    { cat "$tmp/install.log"; exit 1; }
  if [ "$prefix" = /usr ]; then dir=$tmp/root/usr/lib/python3/dist-packages; else
    dir=$tmp/root/usr/local/lib/python$version/dist-packages; fi
  [ -f "$dir/zorv/__init__.py" ] || { echo "FAIL: no zorv in $dir"; exit 1; }
  PYTHONPATH=$dir "$python" -c "
import zorv, sys
assert zorv.__file__.startswith('$dir'), zorv.__file__
r = zorv.run('activity', zorv.open('$sample'), period='years')
assert r.table['Numer'].size == 6
" || { echo "FAIL: import zorv from $dir"; exit 1; }
done
echo "installed module ok"
