#!/usr/bin/env bash
# package_install: the installer's round trip under Wine. A silent install
# puts the program (the same bytes as the build's) in Program Files\Vantorel
# with a Start-menu shortcut to it and an Add/Remove Programs entry; a silent
# uninstall removes exactly those and leaves the user's data folder as it was.
# While the installed program runs, both fail and change nothing.
# Runs in the Wine prefix of the build it tests (32 or 64 bits, see
# scripts/wine-env.sh) and exits with 77, skipped, where this machine cannot
# run that build. Expects DISPLAY. A data folder that was there before is put
# back at the end.
# Usage: package_install.sh CMAKE BUILD_DIR BITS PACKAGE_TARGET SETUP_EXE
set -euo pipefail
cmake=$1 build=$2 bits=$3 target=$4 setup=$5
fail() { echo "package_install: FAIL: $*" >&2; exit 1; }
source "$(dirname "$0")/../../scripts/wine-env.sh"
vantorel_wine_use "$bits" && vantorel_skip_unless_runs
vantorel_wine_prefix || fail "no Wine prefix $WINEPREFIX"
wine() { timeout 120 "$VANTOREL_WINE" "$@"; }
soon() { for _ in $(seq 300); do "$@" && return; sleep 0.1; done; false; }
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
# On the way out, the vantorel.exe started below is ended if it still runs.
trap 'kill ${running:-} 2>/dev/null || :; clean_up' EXIT

wine "$setup" /S || fail "the installer ended with exit code $?"
cmp -s "$program/vantorel.exe" "$build/app/vantorel.exe" || fail "no vantorel.exe of this build in $program"
for file in vantorelhelp.chm README.md LICENSE uninstall.exe; do [ -f "$program/$file" ] || fail "no $file in $program"; done
grep -qai 'Program Files\\Vantorel\\vantorel.exe' "$shortcut" || fail "the Start-menu shortcut does not lead to vantorel.exe"
[ "${shown:=$(entry DisplayName) $(entry DisplayVersion)}" = "Vantorel 1.1.0" ] || fail "Add/Remove Programs shows '$shown'"

# The installed vantorel.exe, started from its folder, writes its settings
# and its log into the empty data folder; the log's first line comes once it
# holds its instance mutex and has its window. While it runs, the installer
# and the uninstaller fail and leave every file as it was. (Wine refuses to
# overwrite the running exe, as Windows does, but not the files beside it;
# the edited README.md would show a rewrite.) _?= runs the uninstaller in
# place, not as its copy in %TEMP%, whose exit code is lost.
(cd "$program" && exec timeout 120 "$VANTOREL_WINE" ./vantorel.exe) & running=$!
soon grep -qs "Session Start" "$data/vantorellog.txt" || fail "the installed vantorel.exe did not start"
echo "edited" >>"$program/README.md" && installed=$(cd "$program" && sha256sum ./*)
wine "$setup" /S && fail "the installer ran while vantorel.exe ran"
wine "$program/uninstall.exe" /S "_?=$(vantorel_wine_short "$program")" && fail "the uninstaller ran while vantorel.exe ran"
[ "$(cd "$program" && sha256sum ./*)" = "$installed" ] || fail "$program changed while vantorel.exe ran"

# Closed, it leaves the user's settings and log, which survive the uninstaller.
wine taskkill /im vantorel.exe >/dev/null && wait "$running" && before=$(cd "$data" && sha256sum ./*)
# The uninstaller copies itself to %TEMP% and returns at once; the copy
# removes the program folder last.
wine "$program/uninstall.exe" /S || fail "the uninstaller ended with exit code $?"
soon [ ! -e "$program" ] || fail "$program is still there after uninstalling"
[ ! -e "$shortcut" ] || fail "the Start-menu shortcut is still there"
[ -z "$(entry DisplayName)" ] || fail "the Add/Remove Programs entry is still there"
[ "$(cd "$data" && sha256sum ./*)" = "$before" ] || fail "the uninstaller changed the data folder"
echo "package_install: OK (installed; refused while running; uninstalled, data folder kept)"
