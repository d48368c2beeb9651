#!/usr/bin/env bash
# Signs a Windows program or installer in place (Authenticode, SHA-256) with
# osslsigncode, with the certificate and key named when the build was
# configured (VANTOREL_SIGN_CERT, VANTOREL_SIGN_KEY and, for a key with a
# password, VANTOREL_SIGN_PASS_FILE). The signing time is SOURCE_DATE_EPOCH,
# so the same key signs the same bytes into the same signed file. The file
# keeps its date and permissions and its folder is left unchanged, so the
# packages stay reproducible.
# Usage: SOURCE_DATE_EPOCH=SECONDS sign.sh FILE WEB_PAGE CERT KEY [PASS_FILE]
set -euo pipefail
file=$1 page=$2 cert=$3 key=$4 pass=${5:-}
work=$(mktemp -d) signed=$work/signed
trap 'rm -rf "$work"' EXIT
osslsigncode sign -certs "$cert" -key "$key" ${pass:+-readpass "$pass"} -h sha256 \
    -n Vantorel -i "$page" -time "$SOURCE_DATE_EPOCH" -in "$file" -out "$signed" >/dev/null \
  || { echo "sign.sh: osslsigncode could not sign $file with $cert" >&2; exit 1; }
touch -r "$file" "$signed"
cat "$signed" >"$file"
touch -r "$signed" "$file"
