#!/usr/bin/env bash
# package_install: the installer as users and package managers meet it, under
# Wine. The winget manifests beside the installer are valid by the published
# schemas. A silent install puts the program (the same bytes as the build's)
# in Program Files\Vantorel with a Start-menu shortcut and an Add/Remove
# Programs entry that say what the manifests say. The entry's uninstall
# commands are run as a package manager runs them (the quoted program, the
# rest of the line its arguments), waiting for that one process: Cancel on
# the interactive one ends it with 1; while the installed program runs, and
# while another program holds vantorel.exe open, the installer and the
# quiet uninstall end with the manifests' "in use" code, and with 2 when
# their checks cannot run (the System plug-in kept from loading), as does an
# uninstall whose folder is named wrong; none of them changes anything.
# When the quiet uninstall returns 0, exactly what was installed is gone and
# the user's data folder is as it was. Then an upgrade: an installer of
# version 1.1.1 (its script from the git history, its files marked as old,
# its entry's uninstall command without _?=), then this one: one entry with
# the new version and commands, the new files only, the data kept.
# Runs in the Wine prefix of the build it tests (32 or 64 bits, see
# scripts/wine-env.sh); with PREFIX_BITS 64, the 32-bit installer in the
# 64-bit prefix, as on 64-bit Windows: Program Files (x86), and the entry in
# the 32-bit registry view. Exits with 77, skipped, where this machine cannot
# run that. Expects DISPLAY. A data folder that was there before is put back.
# Usage: package_install.sh CMAKE BUILD_DIR BITS PACKAGE_TARGET SETUP_EXE SOURCE_DIR [PREFIX_BITS]
set -euo pipefail
cmake=$1 build=$2 bits=$3 target=$4 setup=$5 source=$6 prefix=${7:-$3}
fail() { echo "package_install: FAIL: $*" >&2; exit 1; }
source "$(dirname "$0")/../../scripts/wine-env.sh"
"$cmake" --build "$build" --target "$target" hold_file press_cancel >/dev/null || fail "the target $target did not build"
winget=$(dirname "$setup")/winget
valid=$(/usr/bin/python3 "$source/packaging/tests/winget_valid.py" "$source/packaging/winget-schemas" "$winget"/*.yaml) || fail "$valid"
vantorel_wine_use "$bits" && vantorel_skip_unless_runs && vantorel_wine_use "$prefix"
vantorel_wine_prefix || fail "no Wine prefix $WINEPREFIX"
wine() { timeout 120 "$VANTOREL_WINE" "$@"; }
ends() { local code=0; wine "$@" >/dev/null 2>&1 || code=$?; echo $code; }
soon() { for _ in $(seq 300); do "$@" && return; sleep 0.1; done; false; }

# The Windows folders, and the same places in the Unix tree; the 32-bit
# registry view as the 64-bit reg.exe sees it.
unix() { wine winepath -u "$(wine cmd /c echo "%$1%" | tr -d '\r')"; }
[ "$bits" = "$prefix" ] && folder=ProgramFiles view='HKLM\Software' || folder='ProgramFiles(x86)' view='HKLM\Software\WOW6432Node'
program=$(unix "$folder")/Vantorel windows="$(wine cmd /c echo "%$folder%" | tr -d '\r')\Vantorel" data=$VANTOREL_ROAMING/vantorel files="LICENSE README.md uninstall.exe vantorel.exe vantorelhelp.chm"
shortcut="$(unix ProgramData)/Microsoft/Windows/Start Menu/Programs/Vantorel.lnk"
manifest() { sed -n "s/^ *-* *$1: //p" "$winget/Vantorel.Vantorel.installer.yaml" | head -n 1; }
uninstall="$view\\Microsoft\\Windows\\CurrentVersion\\Uninstall" key="$view\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$(manifest ProductCode)"
entry() { wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 *REG_[SZDWOR]* *//p"; }
in_use=$(sed -n '/InstallerReturnCode/{N;s/.*: \([0-9]*\)\n.*packageInUse$/\1/p}' "$winget/Vantorel.Vantorel.installer.yaml")
stage=$(dirname "$setup")/stage/vantorel-$(manifest PackageVersion)
[ -d "$data" ] && mv "$data" "$data.before-test"
trap 'kill ${running:-} 2>/dev/null || :; rm -rf "$program" "$shortcut" "$data"; wine reg delete "$key" /f >/dev/null 2>&1 || :
  [ ! -d "$data.before-test" ] || mv "$data.before-test" "$data"' EXIT
[ "$(manifest InstallerSha256)" = "$(sha256sum "$setup" | cut -d' ' -f1 | tr a-f A-F)" ] || fail "the manifests give another SHA-256"

installed() {  # VERSION: the folder holds exactly this build's files, and one entry shows that version.
  [ "$(ls "$program" | paste -sd' ')" = "$files" ] || fail "$program holds: $(ls "$program" | paste -sd' ')"
  for file in $files; do [ "$file" = uninstall.exe ] || cmp -s "$program/$file" "$stage/$file" || fail "$file is not this build's"; done
  [ "$(wine reg query "$uninstall" /s | tr -d '\r' | grep -c "DisplayName *REG_SZ *$(manifest DisplayName)$")" = 1 ] || fail "not one entry"
  for value in DisplayName Publisher DisplayVersion; do [ "$(entry $value)" = "$(manifest $value)" ] || fail "the entry's $value differs"; done
  [ "$(entry UninstallString)" = "\"$windows\\uninstall.exe\" _?=$windows" ] \
    && [ "$(entry QuietUninstallString)" = "\"$windows\\uninstall.exe\" /S _?=$windows" ] || fail "the entry's uninstall commands: $(entry UninstallString), $(entry QuietUninstallString)"
}
# run VALUE [WORDS]: runs the entry's command VALUE as a package manager
# does, WORDS appended, waiting for that one process; its exit code.
run() {
  local line exe words && line=$(entry "$1") && exe=${line#\"} && exe=${exe%%\"*} && shift
  read -ra words <<<"${line#\"$exe\"}"
  ends "$exe" "${words[@]}" "$@"
}
[ "$(ends "$setup" /S)" = 0 ] || fail "the installer failed"
installed
grep -qaiF "$windows\\vantorel.exe" "$shortcut" || fail "the shortcut does not lead to vantorel.exe"
# Its working folder, a text of its own, names the folder and no file in it.
tr -d '\0' <"$shortcut" | grep -qaiP "\Q$windows\E(?!\\\\)" || fail "the shortcut does not start the program in its folder"

# unchanged CODES WHY COMMAND...: each COMMAND (a shell command) ends with
# its code in CODES while WHY, and the installation stays as it was.
unchanged() {
  local codes=$1 why=$2 got= before && shift 2
  echo "edited" >>"$program/README.md" && before=$(cd "$program" && sha256sum ./*)
  for command; do got+="$(eval "$command") "; done
  [ "$got" = "$codes " ] || fail "ended with $got(not $codes) while $why: $*"
  [ "$(cd "$program" && sha256sum ./*)" = "$before" ] && [ -n "$(entry DisplayName)" ] && [ -e "$shortcut" ] \
    || fail "the installation changed while $why"
}
# Cancel on the first page of the interactive uninstall (whose caption NSIS
# ends with a blank).
(exec timeout 120 "$VANTOREL_WINE" "$build/packaging/press_cancel.exe" "$(manifest DisplayName) $(manifest PackageVersion) Uninstall ") &
unchanged 1 "the uninstall was cancelled" 'run UninstallString'
# Text appended to the quiet uninstall becomes part of its folder's name.
unchanged 2 "the folder was named wrong" 'run QuietUninstallString /X'

# The installed vantorel.exe, started from its folder, writes its settings
# and its log into the empty data folder; the log's first line comes once it
# holds its instance mutex and has its window. Then hold_file.exe holds its
# vantorel.exe open, also while the installer's checks cannot run.
(cd "$program" && exec timeout 120 "$VANTOREL_WINE" ./vantorel.exe) & running=$!
soon grep -qs "Session Start" "$data/vantorellog.txt" || fail "the installed vantorel.exe did not start"
unchanged "$in_use $in_use" "vantorel.exe ran" 'ends "$setup" /S' 'run QuietUninstallString'
wine taskkill /im vantorel.exe >/dev/null && wait "$running" && rm -f "$build/held.txt"
(exec timeout 120 "$VANTOREL_WINE" "$build/packaging/hold_file.exe" "$(wine winepath -w "$program/vantorel.exe")" >"$build/held.txt") & running=$!
soon grep -qs held "$build/held.txt" || fail "hold_file.exe did not hold vantorel.exe"
unchanged "$in_use $in_use" "another program held vantorel.exe" 'ends "$setup" /S' 'run QuietUninstallString'
WINEDLLOVERRIDES="$WINEDLLOVERRIDES;system=d" unchanged "2 2" "the System plug-in could not load" \
  'ends "$setup" /S' 'run QuietUninstallString'
kill "$running" && wait "$running" || true

# The quiet uninstall has done everything when it returns 0.
before=$(cd "$data" && sha256sum ./*)
[ "$(run QuietUninstallString)" = 0 ] || fail "the quiet uninstall failed"
[ ! -e "$program" ] && [ ! -e "$shortcut" ] && [ -z "$(entry DisplayName)" ] \
  || fail "the folder $program, the shortcut or the entry is still there when the uninstall has returned"

# The upgrade.
old=$build/release/old && rm -rf "$old" && cp -r "$stage" "$old" && for file in "$old"/*; do echo old >>"$file"; done
git -C "$source" show 31911fb:packaging/vantorel.nsi >"$old.nsi" || fail "no installer script of 1.1.1 in the git history of $source"
makensis -V1 -DVERSION=1.1.1 -DVERSION4=1.1.1.0 -DSTAGE_DIR="$old" -DICON="$source/res/vantorel.ico" \
  -DOUT_FILE="$old/setup.exe" $([ "$bits" = 32 ] || echo -DAMD64) "$old.nsi" >/dev/null || fail "no installer of 1.1.1"
[ "$(ends "$old/setup.exe" /S)" = 0 ] && [ "$(entry DisplayVersion)" = 1.1.1 ] \
  && [ "$(entry QuietUninstallString)" = "\"$windows\\uninstall.exe\" /S" ] || fail "1.1.1 did not install"
[ "$(ends "$setup" /S)" = 0 ] || fail "the installer failed over 1.1.1"
installed
[ "$(cd "$data" && sha256sum ./*)" = "$before" ] || fail "the data folder changed"
echo "package_install: OK ($bits-bit installer in the $prefix-bit prefix: installed; cancelled, refused while running and while held; uninstalled; upgraded)"
