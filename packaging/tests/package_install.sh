#!/usr/bin/env bash
# package_install: the installer's round trip under Wine.
#   1. runs vantorel-<version>-setup.exe /S and checks the program folder
#      (C:\Program Files\Vantorel), the all-users Start-menu shortcut (target
#      and working folder) and the Add/Remove Programs entry;
#   2. gives the user a data folder (%APPDATA%\vantorel) with preferences
#      that skip the startup screen and a file of their own, starts the
#      program through the shortcut and checks that its window of class
#      "Vantorel" appears and closes again (helper package_find_window);
#   3. runs the registered uninstaller with /S and checks that the program
#      folder, the shortcut and the registry entry are gone while the user's
#      data folder is exactly as it was.
# Runs in the Wine prefix of the build it tests (32 or 64 bits, see
# scripts/wine-env.sh) and exits with 77, skipped, where this machine cannot
# run that build. Expects DISPLAY. Whatever the test installs or writes is
# removed at the end, and a data folder that was there before is put back.
# Usage: package_install.sh CMAKE BUILD_DIR VERSION FIND_WINDOW_EXE BITS PACKAGE_TARGET SETUP_EXE
set -euo pipefail

cmake=$1 build_dir=$2 version=$3 find_window=$4 bits=$5 package_target=$6 setup=$7
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantorel'

fail() { echo "package_install: FAIL: $*" >&2; exit 1; }
step() { echo "-- [${SECONDS}s] $*"; }

source "$(dirname "$0")/../../scripts/wine-env.sh"
vantorel_wine_use "$bits"
if ! vantorel_wine_runs "$bits"; then
  echo "SKIPPED: this machine cannot execute Wine's $bits-bit loader $VANTOREL_WINE"
  exit 77
fi
[ -n "${DISPLAY:-}" ] || fail "DISPLAY is not set (run the tests through scripts/test.sh)"
vantorel_wine_prefix || fail "no Wine prefix $WINEPREFIX"
wine=$VANTOREL_WINE

step "building the target $package_target"
timeout 240 "$cmake" --build "$build_dir" --target "$package_target" package_find_window \
  || fail "the target $package_target did not build"
[ -f "$setup" ] || fail "no installer $setup"

# Windows paths as Wine sees them, and the same places in the Unix tree.
wine_echo() { timeout 30 "$wine" cmd /c echo "$1" | tr -d '\r'; }
unix_path() { timeout 30 "$wine" winepath -u "$1" 2>/dev/null; }
program_files=$(wine_echo '%ProgramFiles%')
program_data=$(wine_echo '%ProgramData%')
appdata=$(wine_echo '%APPDATA%')
install_dir_win="$program_files\\Vantorel"
install_dir=$(unix_path "$install_dir_win")
shortcut_win="$program_data\\Microsoft\\Windows\\Start Menu\\Programs\\Vantorel.lnk"
shortcut=$(unix_path "$shortcut_win")
data_dir=$(unix_path "$appdata\\vantorel")
temp_dir=$(unix_path "$(wine_echo '%TEMP%')")
[ -n "$install_dir" ] && [ -n "$shortcut" ] && [ -n "$data_dir" ] && [ -d "$temp_dir" ] \
  || fail "cannot map the Windows folders into the Wine prefix"
data_backup=$data_dir.package-test-backup

# Removes what an installation leaves, so that a failed run does not spoil
# the next one, and puts back the user's data folder.
remove_installation() {
  rm -rf "$install_dir"
  rm -f "$shortcut"
  timeout 30 "$wine" reg delete "$uninstall_key" /f >/dev/null 2>&1 || true
}
work=$(mktemp -d)
clean_up() {
  remove_installation
  rm -rf "$data_dir"
  if [ -d "$data_backup" ]; then mv "$data_backup" "$data_dir"; fi
  for name in ${uninstaller_temp:-}; do rm -rf "${temp_dir:?}/$name"; done
  rm -rf "$work"
}
trap clean_up EXIT

remove_installation
# A backup left by an interrupted run holds the data folder from before it.
if [ -d "$data_backup" ]; then
  rm -rf "$data_dir"
  mv "$data_backup" "$data_dir"
fi
if [ -d "$data_dir" ]; then mv "$data_dir" "$data_backup"; fi

# Registry value of the uninstall entry, or nothing.
uninstall_value() {
  timeout 30 "$wine" reg query "$uninstall_key" /v "$1" 2>/dev/null | tr -d '\r' \
    | sed -n "s/^ *$1 *REG_[A-Z_]* *//p"
}

# --- 1. install ------------------------------------------------------------
step "installing silently: $(basename "$setup") /S"
timeout 120 "$wine" "$setup" /S || fail "the installer ended with exit code $?"

for file in vantorel.exe vantorelhelp.chm README.md LICENSE uninstall.exe; do
  [ -f "$install_dir/$file" ] || fail "$file is not in $install_dir_win"
done

[ -f "$shortcut" ] || fail "no Start-menu shortcut $shortcut_win"
link=$(python3 "$(dirname "$0")/binary_info.py" shortcut "$shortcut") \
  || fail "the shortcut $shortcut_win cannot be read"
link_target=$(sed -n 's/^target=//p' <<<"$link")
link_workdir=$(sed -n 's/^workdir=//p' <<<"$link")
[ "$link_target" = "$install_dir_win\\vantorel.exe" ] \
  || fail "the shortcut points to '$link_target', not $install_dir_win\\vantorel.exe"
[ "$link_workdir" = "$install_dir_win" ] \
  || fail "the shortcut starts in '$link_workdir', not in $install_dir_win (the help file would not open)"

[ "$(uninstall_value DisplayName)" = Vantorel ] \
  || fail "Add/Remove Programs: DisplayName is '$(uninstall_value DisplayName)', not Vantorel"
[ "$(uninstall_value DisplayVersion)" = "$version" ] \
  || fail "Add/Remove Programs: DisplayVersion is '$(uninstall_value DisplayVersion)', not $version"
[ -n "$(uninstall_value Publisher)" ] || fail "Add/Remove Programs: no Publisher"
uninstall_string=$(uninstall_value UninstallString)
[ "$uninstall_string" = "\"$install_dir_win\\uninstall.exe\"" ] \
  || fail "Add/Remove Programs: UninstallString is '$uninstall_string'"

# --- 2. run the installed program ------------------------------------------
step "starting Vantorel through its shortcut"
mkdir -p "$data_dir"
# Preferences with the startup screen off (first line 0), the rest defaults.
printf '%s\n' 0 1 1 1 510 10 100 0 3 0 0 16777215 320 700 0 Arial \
  "No file selected" "No file selected" >"$data_dir/vantorl.cfg"
echo "The user's own notes, which no uninstaller may take." >"$data_dir/my notes.txt"

timeout 30 "$wine" start "$shortcut_win" || fail "the shortcut could not be opened"
owner=$(timeout 60 "$wine" "$find_window" | tr -d '\r') && found=0 || found=$?
case $found in
  0) ;;
  1) fail "no window of class Vantorel appeared within 20 s of starting the shortcut" ;;
  2) fail "Vantorel did not end within 10 s of WM_CLOSE" ;;
  *) fail "package_find_window ended with exit code $found" ;;
esac
[ "${owner,,}" = "${install_dir_win,,}\\vantorel.exe" ] \
  || fail "the window belongs to '$owner', not to the installed $install_dir_win\\vantorel.exe"

# --- 3. uninstall -----------------------------------------------------------
# A snapshot of the data folder: every file with its checksum.
snapshot() { (cd "$data_dir" && find . -type f -print0 | LC_ALL=C sort -z | xargs -0 -r sha256sum); }
snapshot_before=$work/data-before snapshot_after=$work/data-after
snapshot >"$snapshot_before"

step "uninstalling silently: uninstall.exe /S"
# The uninstaller copies itself into a new folder %TEMP%\~nsu<n>.tmp, starts
# the copy and returns at once; the copy does the work. Wait for it to end:
# a process of this Wine prefix running from such a folder (and the program
# folder and the shortcut gone, should it not have started yet). The copy stays
# there until Windows restarts, so the test removes its folder on exit.
nsis_temp_names() {
  find "$temp_dir" -mindepth 1 -maxdepth 1 -name '~nsu*.tmp' -printf '%f\n' | LC_ALL=C sort
}
uninstaller_running() {
  local pid
  for pid in $(pgrep -f '~nsu[0-9A-F]*\.tmp\\'); do
    grep -qzxF "WINEPREFIX=$WINEPREFIX" "/proc/$pid/environ" 2>/dev/null && return 0
  done
  return 1
}
temp_names_before=$(nsis_temp_names)
timeout 60 "$wine" "$install_dir_win\\uninstall.exe" /S || fail "the uninstaller ended with exit code $?"
uninstaller_temp=$(comm -13 <(echo "$temp_names_before") <(nsis_temp_names))
for _ in $(seq 300); do
  uninstaller_running || [ -e "$install_dir" ] || [ -e "$shortcut" ] || break
  sleep 0.1
done
uninstaller_running && fail "the uninstaller is still running 30 s after it was started"
[ ! -e "$install_dir" ] || fail "$install_dir_win is still there after uninstalling: $(ls -A "$install_dir")"
[ ! -e "$shortcut" ] || fail "the Start-menu shortcut is still there after uninstalling"
timeout 30 "$wine" reg query "$uninstall_key" >/dev/null 2>&1 \
  && fail "the Add/Remove Programs entry is still there after uninstalling"

[ -d "$data_dir" ] || fail "the uninstaller removed the user's data folder $appdata\\vantorel"
snapshot >"$snapshot_after"
if ! cmp -s "$snapshot_before" "$snapshot_after"; then
  diff "$snapshot_before" "$snapshot_after" >&2 || true
  fail "the uninstaller changed the user's data folder"
fi
grep -q ' ./vantorl.cfg$' "$snapshot_after" || fail "vantorl.cfg is missing from the data folder"
grep -q ' ./my notes.txt$' "$snapshot_after" || fail "the user's own file is missing from the data folder"

echo "package_install: OK (installed, ran, uninstalled; data folder kept: $(wc -l <"$snapshot_after") files)"
