#!/usr/bin/env bash
# The release built a second time, in a folder of its own, from the same
# sources and without Wine, after the build folder's own packages are made:
#  reproducible: a second or more later, in another time zone and with
#    another umask. Each ARTEFACT must be the same bytes as in the build
#    folder (a difference is named with its first offset), and a SHA256SUMS
#    among them must check the zip and the installer with sha256sum -c.
#  signed: with a throwaway self-signed certificate in VANTOREL_SIGN_CERT and
#    VANTOREL_SIGN_KEY. Each installer ARTEFACT, and the vantorel.exe packed
#    in a zip ARTEFACT, must verify against that certificate, and so must
#    every plug-in DLL the installer unpacks and loads (7z reads them out of
#    it), and the uninstall.exe an installer ARTEFACT leaves, installed
#    silently in the 32-bit build's Wine prefix (skipped where that cannot
#    run), with the plug-ins it holds.
# ARTEFACTs are paths inside a build folder.
# Usage: package_again.sh reproducible|signed CMAKE BUILD_DIR SOURCE_DIR TOOLCHAIN TARGET ARTEFACT...
set -euo pipefail
mode=$1 cmake=$2 build=$3 source=$4 toolchain=$5 target=$6 again=$3/package-$1
shift 6
fail() { echo "package_$mode: FAIL: $*" >&2; exit 1; }
"$cmake" --build "$build" --target "$target" >/dev/null || fail "the target $target did not build in $build"
rm -rf "$again" && mkdir -p "$again" && cd "$again"
# The reproducible build starts a second or more later, as another builder
# would: in another time zone, with another umask.
[ "$mode" = signed ] || { sleep 1 && export TZ=Etc/GMT-14 && umask 0027; }
if [ "$mode" = signed ]; then
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Vantorel test" -addext extendedKeyUsage=codeSigning \
    -keyout key.pem -out cert.pem 2>/dev/null || fail "openssl made no certificate"
  export VANTOREL_SIGN_CERT=$again/cert.pem VANTOREL_SIGN_KEY=$again/key.pem
fi
{ "$cmake" -S "$source" -B build -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
  && "$cmake" --build build --target "$target"; } >build.log 2>&1 || fail "the second build failed (see $again/build.log)"

# installed SETUP: installs SETUP in a folder of its own, copies the
# uninstall.exe it writes there to uninstall.exe here, adds that copy to the
# files to verify, and uninstalls. Adds nothing where 32-bit Wine cannot run.
installed() {
  source "$source/scripts/wine-env.sh" && vantorel_wine_use 32 && vantorel_wine_runs 32 && vantorel_wine_prefix >/dev/null \
    || { echo "package_signed: this machine runs no 32-bit code: the installed uninstall.exe is not checked" >&2; return; }
  timeout 120 "$VANTOREL_WINE" "$PWD/$1" /S "/D=C:\\signed-test" && cp "$WINEPREFIX/drive_c/signed-test/uninstall.exe" . \
    && timeout 120 "$VANTOREL_WINE" "C:\\signed-test\\uninstall.exe" /S && files+=(uninstall.exe) && plugins uninstall.exe \
    || fail "$1 did not install"
  for _ in $(seq 300); do [ -e "$WINEPREFIX/drive_c/signed-test" ] || break; sleep 0.1; done
}
# plugins EXE: adds the plug-in DLLs that the NSIS program EXE unpacks to the
# files to verify; there are some.
plugins() {
  rm -rf "plugins-$1" && 7z x -o"plugins-$1" "$1" '$PLUGINSDIR/*.dll' >/dev/null || fail "7z cannot read $1"
  local found=("plugins-$1/\$PLUGINSDIR"/*.dll)
  [ -e "${found[0]}" ] || fail "$1 holds no plug-ins"
  files+=("${found[@]}")
}
for artefact; do
  first=$build/$artefact second=build/$artefact
  if [ "$mode" = signed ]; then
    [ "${artefact##*.}" != zip ] || { unzip -p "$second" '*/vantorel.exe' >vantorel.exe && second=vantorel.exe; }
    files=("$second") && { [ "${artefact##*.}" != exe ] || { plugins "$second" && installed "$second"; }; }
    for file in "${files[@]}"; do
      osslsigncode verify -CAfile cert.pem -in "$file" >verify.log 2>&1 \
        || fail "$artefact: $(basename "$file") does not verify against the test certificate (see $again/verify.log)"
    done
  elif ! cmp -s "$first" "$second"; then
    fail "$artefact differs between the builds, first at $(cmp "$first" "$second" 2>&1 | grep -o 'byte [0-9]*') (from 1)"
  elif [ "$(basename "$artefact")" = SHA256SUMS ]; then
    [ "$(cd "$(dirname "$first")" && sha256sum -c SHA256SUMS | grep -c ': OK$')" = 2 ] \
      || fail "sha256sum -c $first does not check the zip and the installer"
  fi
done
cd "$build" && sha256sum "$@"
