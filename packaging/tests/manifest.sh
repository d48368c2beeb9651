#!/usr/bin/env bash
# manifest: the manifest embedded in vantorel.exe has the Common-Controls 6
# dependency, every processorArchitecture in it names the processor of the
# exe's PE header (x86 for i386, amd64 for x86-64; "*" fits both), and it
# turns on gdiScaling (sharp text on scaled screens; Wine ignores it) without
# making the program DPI-aware. Needs no Wine, so a 64-bit exe asking for x86
# assemblies fails on every machine, not only where a WoW64 prefix hands it
# the 32-bit comctl32.
# Usage: manifest.sh EXE
set -euo pipefail
exe=$1
fail() { echo "manifest: FAIL: $*" >&2; exit 1; }
[ -f "$exe" ] || fail "no file $exe"
pe=$(od -An -tu4 -j60 -N4 "$exe" | tr -d ' ')
machine=$(od -An -tx2 -j$((pe + 4)) -N2 "$exe" | tr -d ' ')
case $machine in 014c) want=x86 ;; 8664) want=amd64 ;; *) fail "$exe has the unknown PE machine 0x$machine" ;; esac
manifest=$(tr '\0' '\n' <"$exe" | sed -n '/<assembly /,/<\/assembly>/p')
grep -q 'name="Microsoft.Windows.Common-Controls"' <<<"$manifest" || fail "$exe embeds no Common-Controls manifest"
found=$(grep -o 'processorArchitecture="[^"]*"' <<<"$manifest" | cut -d'"' -f2 | paste -sd' ')
[ -z "$(tr ' ' '\n' <<<"$found" | grep -v -x -e "$want" -e '\*')" ] \
  || fail "$exe is built for $want (PE machine 0x$machine) but its manifest names: $found"
grep -q '<gdiScaling xmlns="http://schemas.microsoft.com/SMI/2017/WindowsSettings">true</gdiScaling>' \
  <<<"$manifest" || fail "$exe's manifest does not set gdiScaling to true"
! grep -q -i dpiAware <<<"$manifest" || fail "$exe's manifest makes the program DPI-aware"
echo "manifest: OK ($want: $found; gdiScaling)"
