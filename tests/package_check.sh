#!/usr/bin/env bash
# Unpacks the built Debian package into a scratch root, checks that it
# carries the program, the desktop entry, the station file type, the icons
# and the example station, that its dependencies were computed, and runs
# the installed kalmor-cli on a station and on the example.
set -euo pipefail
build=${1:?usage: package_check.sh <build folder>}
here=$(cd "$(dirname "$0")" && pwd)
fail() { echo "package: $*" >&2; exit 1; }

deb=$(ls -t "$build"/kalmor_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "no kalmor_*.deb in $build"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"

depends=$(dpkg-deb -f "$deb" Depends)
grep -q 'libqt6widgets6' <<<"$depends" || fail "dependencies not computed: '$depends'"
for f in bin/kalmor bin/kalmor-cli share/applications/kalmor.desktop share/mime/packages/kalmor.xml \
         share/icons/hicolor/16x16/apps/kalmor.png share/icons/hicolor/256x256/apps/kalmor.png \
         share/kalmor/ukazka.stvx; do
    [ -f "$root/usr/$f" ] || fail "missing /usr/$f"
done
grep -qx 'MimeType=application/x-kalmor-station;' "$root/usr/share/applications/kalmor.desktop" \
    || fail "desktop entry without the station type"

# The station type matches *.stvx in any letter case.
if command -v update-mime-database >/dev/null; then
    update-mime-database "$root/usr/share/mime" >/dev/null 2>&1
    grep -qx '50:application/x-kalmor-station:\*\.stvx' "$root/usr/share/mime/globs2" \
        || fail "no case-insensitive *.stvx glob"
fi

info=$(QT_QPA_PLATFORM=offscreen "$root/usr/bin/kalmor-cli" info "$here/data/horni_lhota.stvx" 2>/dev/null)
grep -qx 'station: Horní Lhota' <<<"$info" || fail "installed kalmor-cli info printed: $info"
grep -qx 'tiles: 4' <<<"$info" || fail "installed kalmor-cli info printed: $info"
example=$(QT_QPA_PLATFORM=offscreen "$root/usr/bin/kalmor-cli" info "$root/usr/share/kalmor/ukazka.stvx" 2>/dev/null)
grep -qx 'station: Ukázkov' <<<"$example" || fail "installed example reads as: $example"
echo "package: ok ($(basename "$deb"); Depends: $depends)"
