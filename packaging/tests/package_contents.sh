#!/usr/bin/env bash
# package_contents: builds the release packages and checks them.
#   - the zip holds exactly vantorel-<version>/ with vantorel.exe,
#     vantorelhelp.chm, README.md and LICENSE, each the same bytes as the
#     freshly built or checked-in file;
#   - the program inside carries the version <version>.0 in its version
#     resource;
#   - the installer is a PE file whose version resource says <version>.0.
# Usage: package_contents.sh CMAKE BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail

cmake=$1 build_dir=$2 source_dir=$3 version=$4
here=$(cd "$(dirname "$0")" && pwd)
release_dir=$build_dir/release
zip=$release_dir/vantorel-$version-win32.zip
setup=$release_dir/vantorel-$version-setup.exe
folder=vantorel-$version

fail() { echo "package_contents: FAIL: $*" >&2; exit 1; }
step() { echo "-- [${SECONDS}s] $*"; }

step "building the target package_release"
timeout 240 "$cmake" --build "$build_dir" --target package_release \
  || fail "the target package_release did not build"
[ -f "$zip" ] || fail "no portable package $zip"
[ -f "$setup" ] || fail "no installer $setup"

step "listing $(basename "$zip")"
expected=$(printf '%s\n' "$folder/" "$folder/LICENSE" "$folder/README.md" \
  "$folder/vantorel.exe" "$folder/vantorelhelp.chm")
actual=$(unzip -Z1 "$zip" | LC_ALL=C sort) || fail "unzip cannot read $zip"
if [ "$actual" != "$expected" ]; then
  echo "expected:" >&2; echo "$expected" >&2
  echo "found:" >&2; echo "$actual" >&2
  fail "the zip does not hold exactly the four release files in $folder/"
fi
unzip -tq "$zip" >/dev/null || fail "the zip fails its CRC test"

step "comparing the zip's files with the build"
check_same() {  # name-in-zip original-file
  cmp -s <(unzip -p "$zip" "$folder/$1") "$2" \
    || fail "$folder/$1 in the zip differs from $2"
}
check_same vantorel.exe "$build_dir/app/vantorel.exe"
check_same vantorelhelp.chm "$build_dir/app/vantorelhelp.chm"
check_same README.md "$source_dir/README.md"
check_same LICENSE "$source_dir/LICENSE"

# Prints the line "file=..." or "product=..." of binary_info.py's answer.
pe_version() {  # file field
  python3 "$here/binary_info.py" pe-version "$1" | sed -n "s/^$2=//p"
}

step "version resources"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unzip -p "$zip" "$folder/vantorel.exe" >"$work/vantorel.exe"
for field in file product; do
  found=$(pe_version "$work/vantorel.exe" "$field") \
    || fail "vantorel.exe in the zip has no readable version resource"
  [ "$found" = "$version.0" ] \
    || fail "vantorel.exe in the zip has $field version '$found', not $version.0"
done

[ "$(head -c 2 "$setup")" = MZ ] || fail "$(basename "$setup") does not start with MZ"
for field in file product; do
  found=$(pe_version "$setup" "$field") \
    || fail "$(basename "$setup") is not a PE file with a version resource"
  [ "$found" = "$version.0" ] \
    || fail "$(basename "$setup") has $field version '$found', not $version.0"
done
# The version strings are stored as UTF-16 text.
strings -el "$setup" >"$work/setup-strings"
grep -qx "$version" "$work/setup-strings" \
  || fail "$(basename "$setup") has no version string $version"
grep -qx "Vantorel" "$work/setup-strings" \
  || fail "$(basename "$setup") has no product name Vantorel"

echo "package_contents: OK ($(basename "$zip") $(stat -c %s "$zip") bytes," \
  "$(basename "$setup") $(stat -c %s "$setup") bytes)"
