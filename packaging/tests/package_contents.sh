#!/usr/bin/env bash
# package_contents: builds the release packages and checks them: the zip
# holds exactly vantorel-<version>/ with vantorel.exe, vantorelhelp.chm,
# README.md and LICENSE, each the same bytes as the built or checked-in file;
# the installer carries the package's version in its version resource
# (whose strings are UTF-16), the program its own: the one About shows; the
# built-in icon and sounds have the formats they are made in.
# Usage: package_contents.sh CMAKE BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
cmake=$1 build=$2 source=$3 version=$4
folder=vantorel-$version && zip=$build/release/$folder-win32.zip setup=$build/release/$folder-setup.exe
fail() { echo "package_contents: FAIL: $*" >&2; exit 1; }

"$cmake" --build "$build" --target package_release || fail "the target package_release did not build"
listed=$(unzip -Z1 "$zip" | LC_ALL=C sort | paste -sd' ')
[ "$listed" = "$folder/ $folder/LICENSE $folder/README.md $folder/vantorel.exe $folder/vantorelhelp.chm" ] \
  || fail "the zip holds: $listed"
for file in app/vantorel.exe app/vantorelhelp.chm "$source/README.md" "$source/LICENSE"; do
  [ "${file:0:1}" = / ] || file=$build/$file
  cmp -s <(unzip -p "$zip" "$folder/$(basename "$file")") "$file" || fail "the zip's copy of $file differs"
done
own=$(sed -n 's/.*VANTOREL_VERSION_LINE "Vantorel version \([0-9.]*\)"/\1.0.0/p' "$source/res/resource.h")
strings -el "$build/app/vantorel.exe" | grep -qx "$own" || fail "vantorel.exe has not the version About shows, $own"
strings -el "$setup" | grep -qx "$version" || fail "$(basename "$setup") has no version $version"
# The built-in icon and sounds as the shell and PlaySound take them: one 32 x
# 32 icon in 16 colours, the alarm MPEG Layer-3 mono 8000 Hz at 16 kbit/s,
# the tick 8-bit PCM mono 8000 Hz.
hex() { od -An -tx1 -j"$2" -N"$3" "$source/res/$1" | tr -d ' \n'; }
[ "$(hex vantorel.ico 0 22)" = 0000010001002020100001000400e802000016000000 ] || fail "res/vantorel.ico is not one 32 x 32 image in 16 colours"
[ "$(hex alarm.wav 20 16)" = 55000100401f0000d007000001000000 ] || fail "res/alarm.wav is not MPEG Layer-3, mono, 8000 Hz, 16 kbit/s"
[ "$(hex tick.wav 20 16)" = 01000100401f0000401f000001000800 ] || fail "res/tick.wav is not 8-bit PCM, mono, 8000 Hz"
echo "package_contents: OK ($(stat -c %s "$zip") and $(stat -c %s "$setup") bytes)"
