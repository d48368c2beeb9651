#!/bin/sh
# The one time every release artefact carries (the exe's time stamp, the help
# file's build times, the packed files' dates), so that two builds of one
# commit give the same bytes: SOURCE_DATE_EPOCH when it is set, else the time
# of the last commit of the source tree, else (an unpacked source archive,
# whose files carry the commit's time) the newest source file's time.
#   source-date.sh write SOURCE_DIR FILE
#       writes that time (Unix seconds) to FILE, and leaves FILE untouched
#       when it holds the time already, so only a new time relinks the
#       program and repacks the packages
#   source-date.sh run FILE COMMAND [ARG...]
#       runs COMMAND with SOURCE_DATE_EPOCH set from FILE (the MinGW linker
#       takes its time stamp from it)
set -eu
case $1 in
write)
    epoch=${SOURCE_DATE_EPOCH:-$(git -C "$2" log -1 --format=%ct 2>/dev/null || true)}
    if [ -z "$epoch" ]; then
        epoch=$(find "$2" -path "$2/build" -prune -o -type f -printf '%T@\n' | sort -n | tail -n 1 | cut -d. -f1)
    fi
    case $epoch in
    *[!0-9]*) echo "source-date: SOURCE_DATE_EPOCH must be whole seconds since 1970, not '$epoch'" >&2; exit 1 ;;
    esac
    if [ ! -f "$3" ] || [ "$(cat "$3")" != "$epoch" ]; then echo "$epoch" >"$3"; fi
    ;;
run)
    SOURCE_DATE_EPOCH=$(cat "$2")
    export SOURCE_DATE_EPOCH
    shift 2
    exec "$@"
    ;;
*)
    echo "usage: source-date.sh write SOURCE_DIR FILE | run FILE COMMAND..." >&2
    exit 2
    ;;
esac
