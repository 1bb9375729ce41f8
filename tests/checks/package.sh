#!/usr/bin/env bash
# Builds the Debian package from the release build BUILD_DIR, unpacks it into a scratch folder
# and checks it as a user's system would see it: every file in its place, the desktop entry and
# the metainfo valid, dependencies found by dpkg-shlibdeps, and the unpacked programs working
# (their version, and a golden run of pellmar-cli).
#   package.sh SOURCE_DIR BUILD_DIR VERSION
set -euo pipefail
source_dir="$1"
build_dir="$2"
version="$3"

fail() {
  echo "package: $*" >&2
  exit 1
}

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
(cd "$build_dir" && cpack -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1) ||
  { cat "$scratch/cpack.log"; fail "cpack failed"; }
deb="$scratch/out/pellmar_${version}_amd64.deb"
[ -f "$deb" ] || fail "no $(basename "$deb"); cpack made: $(ls "$scratch/out")"

depends="$(dpkg-deb --field "$deb" Depends)"
for library in libc6 libstdc++6 libqt6widgets6 libqt6charts6; do
  [[ "$depends" == *"$library"* ]] || fail "Depends lacks $library: $depends"
done

root="$scratch/root"
dpkg -x "$deb" "$root"
share="$root/usr/share"
for file in usr/bin/pellmar usr/bin/pellmar-cli \
  usr/share/applications/org.pellmar.Pellmar.desktop \
  usr/share/metainfo/org.pellmar.Pellmar.metainfo.xml \
  usr/share/icons/hicolor/scalable/apps/pellmar.svg \
  usr/share/man/man1/pellmar-cli.1.gz usr/share/doc/pellmar/copyright \
  usr/share/pellmar/examples/lady_beetle.txt \
  usr/share/pellmar/examples/lady_beetle_10_SASD.txt \
  usr/share/pellmar/examples/lady_beetle_11_Bootstrap_samples.txt \
  usr/share/pellmar/examples/lady_beetle_fecundity.txt; do
  [ -f "$root/$file" ] || fail "missing /$file"
done
for size in 16 22 24 32 48 64 128 256; do
  [ -f "$share/icons/hicolor/${size}x${size}/apps/pellmar.png" ] || fail "no ${size} px icon"
done

desktop="$share/applications/org.pellmar.Pellmar.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate refused the desktop entry"
grep -qx 'Exec=pellmar %f' "$desktop" || fail "the desktop entry does not open a file"
grep -qx 'MimeType=text/plain;' "$desktop" || fail "the desktop entry takes no text files"
metainfo="$share/metainfo/org.pellmar.Pellmar.metainfo.xml"
appstreamcli validate --no-net "$metainfo" >"$scratch/appstream.log" 2>&1 ||
  { cat "$scratch/appstream.log"; fail "appstreamcli refused the metainfo"; }
grep -q "<project_license>GPL-3.0-or-later</project_license>" "$metainfo" ||
  fail "the metainfo names no licence"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo names no release $version"

# The manual page holds the options of --help.
zcat "$share/man/man1/pellmar-cli.1.gz" | grep -q -- 'same\\-samples' ||
  fail "the manual page lacks the options of --help"

[ "$("$root/usr/bin/pellmar-cli" --version)" = "Pellmar $version" ] ||
  fail "pellmar-cli --version: $("$root/usr/bin/pellmar-cli" --version)"
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/pellmar" --version)" = "Pellmar $version" ] ||
  fail "pellmar --version does not answer without a display"
cmake -DPROGRAM="$root/usr/bin/pellmar-cli" -DCASE="$source_dir/tests/data/golden/lady_beetle" \
  -DDATA_FILE="$scratch/run/study.txt" -P "$source_dir/tests/checks/golden_cli_run.cmake" ||
  fail "the unpacked pellmar-cli does not write the golden files"
echo "package: $(basename "$deb") installs and runs"
