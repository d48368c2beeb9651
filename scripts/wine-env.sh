# Sourced by the scripts that build and run the Windows programs: the steps
# that say what failed, the choice between the 32-bit and the 64-bit build,
# a private Wine prefix for each inside build/, and a virtual display when
# there is no real one.
#
# Not every machine can execute 32-bit x86 code: where Wine's 32-bit loader
# fails ("Exec format error"), the 64-bit build of the same sources runs
# under Wine's 64-bit loader instead, in a 64-bit prefix of its own.
#
# After sourcing: vantorel_wine_use 32|64, then vantorel_display and
# vantorel_wine_prefix; run Windows programs with vantorel_wine.

VANTOREL_ROOT=${VANTOREL_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
VANTOREL_LOGS=$VANTOREL_ROOT/build/logs
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Unix file names in UTF-8 (the prefixes' user folders are named outside
# code page 1252, see vantorel_wine_prefix), and Windows programs in US English with the ANSI
# code page 1252, whatever the caller's locale.
export LC_ALL=C.UTF-8

# ---------------------------------------------------------------------------
# Steps that say what failed.

# Prints the failing command and the last lines of its log.
vantorel_failed() {  # command-text log-file
    {
        echo "FAILED: $1"
        if [ -s "$2" ]; then
            echo "-- last lines of $2:"
            tail -n 30 "$2"
        fi
    } >&2
}

# Runs a command with its output in build/logs/NAME.log, shown only when it
# fails. The command is run as it is, so give it a program, not a function.
vantorel_step() {  # NAME COMMAND...
    local name=$1 log
    shift
    log=$VANTOREL_LOGS/$name.log
    mkdir -p "$VANTOREL_LOGS"
    if "$@" >"$log" 2>&1; then return 0; fi
    vantorel_failed "$*" "$log"
    return 1
}

# The same, with the output shown as it comes (tests).
vantorel_step_shown() {  # NAME COMMAND...
    local name=$1 log
    shift
    log=$VANTOREL_LOGS/$name.log
    mkdir -p "$VANTOREL_LOGS"
    if "$@" 2>&1 | tee "$log"; then return 0; fi
    vantorel_failed "$*" "$log"
    return 1
}

# ---------------------------------------------------------------------------
# Which build runs here.

VANTOREL_WINE32=/usr/lib/wine/wine
VANTOREL_WINE64=/usr/lib/wine/wine64

# True when Wine's loader for that build can be executed on this machine.
vantorel_wine_runs() {  # 32|64
    local loader=$VANTOREL_WINE64
    [ "$1" = 32 ] && loader=$VANTOREL_WINE32
    "$loader" --version >/dev/null 2>&1
}

# In a test: exits with 77, which ctest reports as skipped, when this
# machine cannot run the chosen build's programs.
vantorel_skip_unless_runs() {
    vantorel_wine_runs "$VANTOREL_BITS" && return 0
    echo "SKIPPED: this machine cannot execute Wine's $VANTOREL_BITS-bit loader $VANTOREL_WINE"
    exit 77
}

# One line: which builds run their Windows programs here, and why.
vantorel_wine_probe() {
    local why
    if vantorel_wine_runs 32; then
        VANTOREL_RUN_BITS=32
        echo "Windows builds: the 32-bit one runs here under $VANTOREL_WINE32, the 64-bit one under $VANTOREL_WINE64."
        return 0
    fi
    VANTOREL_RUN_BITS=64
    why=$({ "$VANTOREL_WINE32" --version 2>&1 || true; } | tail -n 1 | sed 's/^.*: //')
    [ -n "$why" ] || why="it does not run"
    echo "Windows builds: only the 64-bit one runs here; Wine's 32-bit loader $VANTOREL_WINE32 cannot be executed on this machine (${why}). The 32-bit build is still built and checked, but its programs cannot run."
}

# Chooses the build whose programs run next: its build folder, its Wine
# loader and its own prefix.
vantorel_wine_use() {  # 32|64
    VANTOREL_BITS=$1
    if [ "$1" = 32 ]; then
        VANTOREL_WINE=$VANTOREL_WINE32
        VANTOREL_BUILD=$VANTOREL_ROOT/build/windows
        export WINEARCH=win32 WINEPREFIX=$VANTOREL_ROOT/build/wineprefix
    else
        VANTOREL_WINE=$VANTOREL_WINE64
        VANTOREL_BUILD=$VANTOREL_ROOT/build/windows64
        export WINEARCH=win64 WINEPREFIX=$VANTOREL_ROOT/build/wineprefix64
    fi
    # Wine starts further Windows programs with this loader too.
    export WINELOADER=$VANTOREL_WINE
    # The user's folder is named outside the ANSI code page 1252, in another
    # script in each prefix (see vantorel_wine_prefix): Cyrillic in the
    # 32-bit one; in the 64-bit one Latin letters that 1252 lacks but has
    # look-alikes for, which a best-fit conversion silently puts in their
    # place. Its roaming application-data folder in the Unix tree: Windows
    # programs print the name wrongly, and no tool can turn that back.
    VANTOREL_USER=Пётр
    [ "$1" = 32 ] || VANTOREL_USER="Łucja İřena"
    VANTOREL_ROAMING=$WINEPREFIX/drive_c/users/$VANTOREL_USER/AppData/Roaming
}

# Wine with the chosen build's loader.
vantorel_wine() { "$VANTOREL_WINE" "$@"; }

# The short Windows path (8.3, no spaces) of a Unix path, for a program that
# takes a path unquoted at the end of its command line, such as an NSIS
# uninstaller's _?=: Wine quotes every argument that holds a space.
vantorel_wine_short() {  # UNIX-PATH
    "$VANTOREL_WINE" winepath -s "$("$VANTOREL_WINE" winepath -w "$1")"
}

# Creates the chosen build's prefix once (10 to 30 s); later calls return at
# once. A new prefix is tried before it is used: one whose programs do not
# start (seen once on a CI machine, a 64-bit prefix in which every program
# then failed with "could not load kernel32.dll") is removed and made again,
# once, with Wine's error messages in the log; each failure also prints how
# much disk and memory were free and whether Wine's core DLLs in it are whole.
vantorel_wine_prefix() {
    [ -f "$WINEPREFIX/.vantorel-ready-4" ] && return 0
    local log=$VANTOREL_LOGS/wineprefix$VANTOREL_BITS.log
    mkdir -p "$VANTOREL_LOGS" "$(dirname "$WINEPREFIX")"
    echo "creating the Wine prefix $WINEPREFIX"
    # About 1.3 GB for a 64-bit prefix that holds the 32-bit side too.
    local free need=1400
    [ "$VANTOREL_BITS" = 64 ] || need=700
    free=$(df -Pm "$(dirname "$WINEPREFIX")" | awk 'NR == 2 { print $4 }')
    [ "${free:-0}" -ge "$need" ] || echo "only ${free:-?} MB free where the prefix goes; it needs about $need MB"
    if ! vantorel_wine_prefix_make "$log"; then
        mv "$log" "$log.first"
        echo "the new prefix does not work ($VANTOREL_PREFIX_STEP failed, see $log.first); making it again"
        vantorel_wine_prefix_state
        wineserver -k 2>/dev/null || true
        rm -rf "$WINEPREFIX"
        if ! WINEDEBUG=err+all vantorel_wine_prefix_make "$log"; then
            vantorel_failed "$VANTOREL_PREFIX_STEP (WINEPREFIX=$WINEPREFIX, made twice)" "$log"
            vantorel_wine_prefix_state >&2
            return 1
        fi
    fi
    touch "$WINEPREFIX/.vantorel-ready-4"
}

# One try at the prefix; on failure VANTOREL_PREFIX_STEP names the step.
vantorel_wine_prefix_make() {  # LOG
    local log=$1 key
    VANTOREL_PREFIX_STEP="$VANTOREL_WINE wineboot -i"
    # Its exit status says little (a 64-bit prefix complains about
    # syswow64\rundll32.exe); the registry files it writes, and the programs
    # tried at the end, say it worked.
    "$VANTOREL_WINE" wineboot -i >"$log" 2>&1 || true
    wineserver -w >>"$log" 2>&1 || true
    [ -f "$WINEPREFIX/system.reg" ] || return 1
    # Without a window manager Wine otherwise freezes the program for 2 s each
    # time a dialog or message box hides. A crash ends the process at once
    # instead of waiting in a debugger. The shell opens a web address by
    # writing it to C:\opened.txt (only with the verb "open"), so a test sees
    # what a program asked for, and no browser starts.
    key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug'
    local -a settings=(
        'HKCU\Software\Wine\X11 Driver' Managed N
        "$key" Debugger 'C:\no-debugger\none.exe %ld %ld'
        "$key" Auto 1
        'HKCR\https\shell\open\command' '' 'cmd.exe /c echo %1>C:\opened.txt'
    )
    local i
    for ((i = 0; i < ${#settings[@]}; i += 3)); do
        VANTOREL_PREFIX_STEP="$VANTOREL_WINE reg add '${settings[i]}' /v ${settings[i + 1]}"
        "$VANTOREL_WINE" reg add "${settings[i]}" ${settings[i + 1]:+/v "${settings[i + 1]}"} /t REG_SZ \
            /d "${settings[i + 2]}" /f >>"$log" 2>&1 || return 1
    done
    # The user's roaming application-data folder is named in another script
    # than the ANSI code page, as for a Russian or a Polish user name on an
    # English system. regedit reads the name whole only from a UTF-16 file.
    local roaming="C:\\users\\$VANTOREL_USER\\AppData\\Roaming" folders='Software\Microsoft\Windows\CurrentVersion\Explorer'
    mkdir -p "$VANTOREL_ROAMING"
    { printf '\xef\xbb\xbfWindows Registry Editor Version 5.00\r\n'
      for key in 'User Shell Folders' 'Shell Folders'; do
          printf '\r\n[HKEY_CURRENT_USER\\%s\\%s]\r\n"AppData"="%s"\r\n' "$folders" "$key" "${roaming//\\/\\\\}"
      done; } | iconv -f UTF-8 -t UTF-16LE >"$WINEPREFIX/drive_c/appdata.reg"
    VANTOREL_PREFIX_STEP="$VANTOREL_WINE regedit /S C:\appdata.reg"
    "$VANTOREL_WINE" regedit /S 'C:\appdata.reg' >>"$log" 2>&1 || return 1
    # A program of each kind this prefix runs: in a 64-bit prefix where
    # 32-bit code runs, the 32-bit installer runs too.
    local shell exe said
    for shell in system32 syswow64; do
        [ "$shell" = system32 ] || { [ "$VANTOREL_BITS" = 64 ] && vantorel_wine_runs 32; } || continue
        exe="C:\\windows\\$shell\\cmd.exe" VANTOREL_PREFIX_STEP="$VANTOREL_WINE $exe"
        said=$("$VANTOREL_WINE" "$exe" /c echo works 2>>"$log") || true
        [[ $said == works* ]] || return 1
    done
    wineserver -w >>"$log" 2>&1 || true
}

# Free disk space and memory, and whether the prefix's copies of Wine's core
# DLLs are the installed ones, for a prefix that does not work.
vantorel_wine_prefix_state() {
    local arch=x86_64 dll
    [ "$VANTOREL_BITS" = 64 ] || arch=i386
    printf "\n-- free disk space where the prefix is, and memory:\n"
    df -h "$WINEPREFIX" 2>&1 | tail -n 1
    free -m 2>&1 | sed -n 2p
    for dll in ntdll kernelbase kernel32; do
        cmp "$WINEPREFIX/drive_c/windows/system32/$dll.dll" "/usr/lib/$arch-linux-gnu/wine/$arch-windows/$dll.dll" 2>&1 \
            && echo "system32\\$dll.dll: the installed one"
    done
}

# Sound for the tests: Wine plays through ALSA into its null device, which
# takes about the sound's playing time without any sound card, so a sound
# that held up the program shows in the tests as it would for a user. ALSA's
# file plugin on the way records what each playback sends, one file per
# playback: VANTOREL_SOUNDS names the first, ALSA numbers the next ones
# (.0001, .0002...) instead of overwriting it.
vantorel_recorded_sound() {
    local folder=$VANTOREL_ROOT/build/sounds$VANTOREL_BITS
    mkdir -p "$folder"
    printf '%s\n' '</usr/share/alsa/alsa.conf>' \
        "pcm.!default { type file; slave.pcm \"null\"; file \"$folder/played.raw\"; format \"raw\"; truncate false }" \
        >"$folder/alsa.conf"
    export ALSA_CONFIG_PATH=$folder/alsa.conf VANTOREL_SOUNDS=$folder/played.raw
}

# ---------------------------------------------------------------------------
# The display.

# Starts Xvfb on a free display number when DISPLAY is unset; the caller
# stops it with vantorel_stop_display (only the Xvfb this shell started).
VANTOREL_XVFB_PID=
vantorel_display() {
    [ -n "${DISPLAY:-}" ] && return 0
    local n=91
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    mkdir -p "$VANTOREL_LOGS"
    Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >"$VANTOREL_LOGS/xvfb.log" 2>&1 &
    VANTOREL_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && return 0; sleep 0.1; done
    vantorel_failed "Xvfb :$n -screen 0 1920x1080x24 (it did not start within 5 s)" \
        "$VANTOREL_LOGS/xvfb.log"
    return 1
}

vantorel_stop_display() {
    if [ -n "$VANTOREL_XVFB_PID" ]; then
        # Wine's processes go first, in both prefixes, so none is left talking
        # to a vanished display.
        local prefix
        for prefix in "$VANTOREL_ROOT/build/wineprefix" "$VANTOREL_ROOT/build/wineprefix64"; do
            [ -d "$prefix" ] && WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
        done
        kill "$VANTOREL_XVFB_PID" 2>/dev/null || true
        wait "$VANTOREL_XVFB_PID" 2>/dev/null || true
        VANTOREL_XVFB_PID=
    fi
}
