#!/usr/bin/env bash
# Sets the two build times that chmcmd writes into a .chm to SOURCE_DATE_EPOCH,
# so that the same help sources always give the same bytes. chmcmd reads them
# from the clock and has no option for them. Both hold the time of day in
# milliseconds, as chmcmd writes them; here that of SOURCE_DATE_EPOCH in UTC:
#  - the ITSF header's time stamp, a big-endian DWORD at offset 16;
#  - entry 10 of the #SYSTEM file, which lies in the uncompressed section:
#    after the file's version (3) come the entry's code and length (10, 4),
#    its little-endian DWORD, then entry 9 (22 bytes, "HHA Version ...").
# Everything else chmcmd writes depends on the sources alone, once the
# project turns the binary index off (vantorelhelp.hhp).
# Usage: SOURCE_DATE_EPOCH=SECONDS stamp-chm.sh FILE.chm
set -euo pipefail
chm=$1
fail() { echo "stamp-chm: $chm: $*" >&2; exit 1; }
[ -n "${SOURCE_DATE_EPOCH:-}" ] || fail "SOURCE_DATE_EPOCH is not set"
[ "$(head -c 4 "$chm")" = ITSF ] || fail "not a compiled help file"
bytes() { od -An -tx1 -j"$1" -N"$2" "$chm" | tr -d ' \n'; }
put() {  # OFFSET HEX: writes the bytes HEX at OFFSET
    printf "$(sed 's/../\\x&/g' <<<"$2")" | dd of="$chm" bs=1 seek="$1" conv=notrunc status=none
}

at=$(LC_ALL=C grep -obUa 'HHA Version' "$chm" | cut -d: -f1)
[ "$(wc -w <<<"$at")" = 1 ] || fail "expected one #SYSTEM version entry, found offsets: $at"
[ "$(bytes $((at - 16)) 8)$(bytes $((at - 4)) 4)" = 030000000a00040009001600 ] \
  || fail "the #SYSTEM file does not begin with its time entry as chmcmd writes it"

time=$(printf '%08x' $((SOURCE_DATE_EPOCH % 86400 * 1000)))
put 16 "$time"
put $((at - 8)) "${time:6:2}${time:4:2}${time:2:2}${time:0:2}"
