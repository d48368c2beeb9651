#!/usr/bin/env bash
# package_install: the installer's round trip under Wine. A silent install
# puts the program (the same bytes as the build's) in Program Files\Vantorel
# with a Start-menu shortcut to it and an Add/Remove Programs entry; a silent
# uninstall removes exactly those and leaves the user's data folder as it was.
# Runs in the Wine prefix of the build it tests (32 or 64 bits, see
# scripts/wine-env.sh) and exits with 77, skipped, where this machine cannot
# run that build. Expects DISPLAY. A data folder that was there before is put
# back at the end.
# Usage: package_install.sh CMAKE BUILD_DIR BITS PACKAGE_TARGET SETUP_EXE
set -euo pipefail
cmake=$1 build=$2 bits=$3 target=$4 setup=$5
fail() { echo "package_install: FAIL: $*" >&2; exit 1; }
source "$(dirname "$0")/../../scripts/wine-env.sh"
vantorel_wine_use "$bits"
vantorel_skip_unless_runs
vantorel_wine_prefix || fail "no Wine prefix $WINEPREFIX"
wine() { timeout 120 "$VANTOREL_WINE" "$@"; }
"$cmake" --build "$build" --target "$target" || fail "the target $target did not build"

# The Windows folders, and the same places in the Unix tree.
unix() { wine winepath -u "$(wine cmd /c echo "%$1%" | tr -d '\r')"; }
program=$(unix ProgramFiles)/Vantorel data=$VANTOREL_ROAMING/vantorel
shortcut="$(unix ProgramData)/Microsoft/Windows/Start Menu/Programs/Vantorel.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantorel'
entry() { wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 *REG_SZ *//p"; }
[ -d "$data" ] && mv "$data" "$data.before-test"
clean_up() {
  rm -rf "$program" "$shortcut" "$data"
  wine reg delete "$key" /f >/dev/null 2>&1 || true
  if [ -d "$data.before-test" ]; then mv "$data.before-test" "$data"; fi
}
trap clean_up EXIT

wine "$setup" /S || fail "the installer ended with exit code $?"
cmp -s "$program/vantorel.exe" "$build/app/vantorel.exe" || fail "no vantorel.exe of this build in $program"
for file in vantorelhelp.chm README.md LICENSE uninstall.exe; do [ -f "$program/$file" ] || fail "no $file in $program"; done
strings -a "$shortcut" | grep -qi 'Program Files\\Vantorel\\vantorel.exe' \
  || fail "the Start-menu shortcut does not lead to the installed vantorel.exe"
[ "$(entry DisplayName) $(entry DisplayVersion)" = "Vantorel 1.1.0" ] \
  || fail "Add/Remove Programs shows '$(entry DisplayName) $(entry DisplayVersion)'"

# The user's settings and a file of their own survive the uninstaller.
mkdir -p "$data"
printf '%s\n' 0 1 1 1 510 10 100 0 3 0 0 16777215 320 700 0 Arial a b >"$data/vantorl.cfg"
echo "notes" >"$data/my notes.txt"
before=$(cd "$data" && sha256sum ./*)
# The uninstaller copies itself to %TEMP% and returns at once; the copy
# removes the program folder last.
wine "$program/uninstall.exe" /S || fail "the uninstaller ended with exit code $?"
for _ in $(seq 300); do [ -e "$program" ] || break; sleep 0.1; done
[ ! -e "$program" ] || fail "$program is still there after uninstalling"
[ ! -e "$shortcut" ] || fail "the Start-menu shortcut is still there"
[ -z "$(entry DisplayName)" ] || fail "the Add/Remove Programs entry is still there"
[ "$(cd "$data" && sha256sum ./*)" = "$before" ] || fail "the uninstaller changed the data folder"
echo "package_install: OK (installed, uninstalled, data folder kept)"
