#!/usr/bin/env bash
# The Debian package: built by CPack from this build tree, unpacked into a
# temporary root (dpkg -x), it holds the programs, texts, sample, desktop
# entry, icon and metainfo, declares its dependencies, and its zorv-batch runs.
set -euo pipefail
build="$1"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$tmp/out" > "$tmp/cpack.log" 2>&1) || { cat "$tmp/cpack.log"; fail "cpack"; }
deb="$(ls "$tmp"/out/zorv_*.deb)"
dpkg-deb -x "$deb" "$tmp/root"
root="$tmp/root/usr"
for f in bin/zorv bin/zorv-batch share/zorv/readme.txt share/zorv/history.txt share/zorv/manual/index.html \
         share/zorv/sample/katalog.dbf share/zorv/sample/katalog.db share/applications/pl.morvane.Zorv.desktop \
         share/icons/hicolor/scalable/apps/zorv.svg share/metainfo/pl.morvane.Zorv.metainfo.xml; do
  [ -f "$root/$f" ] || fail "missing $f"
done

depends="$(dpkg-deb -f "$deb" Depends)"
for lib in libqt6core6 libqt6widgets6 libqcustomplot2.1-qt6 pxlib1 qt6-translations-l10n; do
  case "$depends" in *"$lib"*) ;; *) fail "Depends lacks $lib: $depends" ;; esac
done

"$root/bin/zorv-batch" --help > "$tmp/help.txt" || fail "zorv-batch --help from the package"
grep -q "activity" "$tmp/help.txt" || fail "zorv-batch --help printed no analyses"
"$root/bin/zorv-batch" activity --period years --table "$tmp/w.csv" "$root/share/zorv/sample/katalog.dbf" \
  > /dev/null || fail "zorv-batch on the packaged sample"
[ "$(wc -l < "$tmp/w.csv")" -gt 2 ] || fail "no rows from the packaged sample"

if command -v desktop-file-validate > /dev/null; then
  desktop-file-validate "$root/share/applications/pl.morvane.Zorv.desktop" || fail "desktop entry"
else
  echo "desktop-file-validate missing (desktop-file-utils): entry not validated"; exit 77
fi
if command -v appstreamcli > /dev/null; then
  appstreamcli validate --no-net "$root/share/metainfo/pl.morvane.Zorv.metainfo.xml" > "$tmp/as.log" 2>&1 \
    || { cat "$tmp/as.log"; fail "metainfo"; }
else
  echo "appstreamcli missing (appstream): metainfo not validated"; exit 77
fi
echo "package ok: $(basename "$deb")"
