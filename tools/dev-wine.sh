# Sourced by tools/dev: the project's Wine prefixes (templates and their
# copies), the displays and the persistent servers of a test run.

# The two platforms every test runs on, each in a prefix of its own (a prefix
# keeps the bitness it was made with): 32-bit Windows, and 64-bit Windows,
# where our 32-bit programs run under WoW64. Their folders' names have one
# home, tools/wine-prefixes, which tests/CMakeLists.txt reads too.
PLATFORMS=(win32 win64)
. "$ROOT/tools/wine-prefixes"
prefix_dir() { local name=PREFIX_$1; echo "$BUILD/${!name}"; }

# Makes PLATFORM's prefix the one that wine and wineserver use from now on.
use_platform() {
    case "$1" in win32 | win64) ;; *) die "unknown WINEARCH '$1' (win32 or win64)" ;; esac
    export WINEARCH=$1 WINEPREFIX
    PREFIX_DIR=$(prefix_dir "$1")
    WINEPREFIX=$PREFIX_DIR
    # The prefix as made, which no program ever runs in; tests/CMakeLists.txt
    # names it for the tests that copy it.
    TEMPLATE_DIR=$PREFIX_DIR.template
}
# Bump when the prefix settings below change, so old prefixes are rebuilt.
PREFIX_STAMP=.project-prefix-5

XVFB_PID=
# Every Xvfb this run started, stopped on exit.
XVFB_PIDS=()
# The prefixes whose wineserver this run started (or used), stopped on exit.
SERVER_PREFIXES=()

# --- Wine prefix and display -------------------------------------------------

# The current platform's template, made once: a prefix that no program runs
# in, so its files are consistent. A running wineserver saves its registry
# only every 30 s or so, so a copy of a prefix in use may hold a state from
# the middle of a test; whatever needs a prefix of its own copies this one.
ensure_template() {
    [ -f "$TEMPLATE_DIR/$PREFIX_STAMP" ] && return 0
    log "creating the $WINEARCH Wine prefix in ${TEMPLATE_DIR#"$ROOT/"}"
    mkdir -p "$BUILD"
    rm -rf "$TEMPLATE_DIR"
    (export WINEPREFIX=$TEMPLATE_DIR
     # No display while booting: nothing can prompt. Mono is skipped; mshtml
     # stays, because it carries the .htm association the launcher relies on.
     # A log and a settings file per platform: ctest may make both at once.
     local boot_log=$BUILD/wineboot-$WINEARCH.log reg=$BUILD/prefix-settings-$WINEARCH.reg
     (unset DISPLAY; WINEDLLOVERRIDES="mscoree=" wineboot -i) >"$boot_log" 2>&1
     wineserver -w
     # Managed=N: without a window manager Wine otherwise waits about 2 s on
     # every hide or destroy of a top-level window, and X focus follows Wine's.
     # The dialog font "@Arial Unicode MS" and the caption rule need families
     # named Arial; the prefix has none, so map them to Liberation Sans. A
     # crashing program must fail its test, not wait in a crash dialog.
     printf '%s\r\n' 'REGEDIT4' '' \
         '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' '' \
         '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
         '"Arial"="Liberation Sans"' '"Arial Unicode MS"="Liberation Sans"' \
         '"@Arial Unicode MS"="Liberation Sans"' '' \
         '[HKEY_CURRENT_USER\Software\Wine\WineDbg]' '"ShowCrashDialog"=dword:00000000' '' >"$reg"
     (unset DISPLAY; wine regedit /S "$(winepath_of "$reg")") >>"$boot_log" 2>&1
     wineserver -w)
    touch "$TEMPLATE_DIR/$PREFIX_STAMP"
}

# The Japanese-UI template, made once from the win32 one: Wine started under
# the Japanese locale takes Japanese as the user's UI language, and the font
# links that Windows' Japanese edition has for its UI faces give the menu's
# caption faces (here Liberation Sans stands for Arial) the Japanese glyphs
# of IPAGothic. The tests that need it copy it (tests/installer).
JAPANESE_TEMPLATE_DIR=$(prefix_dir ja).template
ensure_japanese_template() {
    [ -f "$JAPANESE_TEMPLATE_DIR/$PREFIX_STAMP" ] && return 0
    (use_platform win32
     ensure_template
     log "creating the Japanese-UI Wine prefix in ${JAPANESE_TEMPLATE_DIR#"$ROOT/"}"
     rm -rf "$JAPANESE_TEMPLATE_DIR"
     cp -a "$TEMPLATE_DIR" "$JAPANESE_TEMPLATE_DIR"
     rm "$JAPANESE_TEMPLATE_DIR/$PREFIX_STAMP"
     export WINEPREFIX=$JAPANESE_TEMPLATE_DIR LANG=$JAPANESE_LOCALE
     local link='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' face
     for face in Arial 'Arial Unicode MS' 'Liberation Sans'; do
         (unset DISPLAY; wine reg add "$link" /v "$face" /t REG_MULTI_SZ /d 'ipag.ttf,IPAGothic' /f) \
             >>"$BUILD/wineboot-ja.log" 2>&1
     done
     wineserver -w)
    touch "$JAPANESE_TEMPLATE_DIR/$PREFIX_STAMP"
}

# The current platform's prefix, a copy of the template: made when it is
# missing or older than the template, and kept for the next command.
ensure_prefix() {
    ensure_template
    [ -f "$PREFIX_DIR/$PREFIX_STAMP" ] && [ ! "$TEMPLATE_DIR/$PREFIX_STAMP" -nt "$PREFIX_DIR/$PREFIX_STAMP" ] ||
        fresh_prefix
}

# The current platform's prefix copied anew from the template: a test run
# starts from no earlier run's (or developer's) leftovers.
fresh_prefix() {
    ensure_template
    stop_server_quietly
    wineserver -w >/dev/null 2>&1 || true
    rm -rf "$PREFIX_DIR"
    cp -a "$TEMPLATE_DIR" "$PREFIX_DIR"
}

winepath_of() { printf 'Z:%s' "$(printf '%s' "$1" | tr '/' '\\')"; }

# A private Xvfb named NAME, its display in STARTED_DISPLAY; -displayfd picks
# a free number, so several checkouts can test side by side.
start_xvfb() {
    local fdfile=$BUILD/xvfb-$1.display
    rm -f "$fdfile"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fdfile" \
        >"$BUILD/xvfb-$1.log" 2>&1 &
    XVFB_PIDS+=($!)
    local n=0
    while [ ! -s "$fdfile" ] && [ $n -lt 100 ]; do sleep 0.05; n=$((n + 1)); done
    [ -s "$fdfile" ] || { log "Xvfb did not start (see build/xvfb-$1.log)"; exit 1; }
    STARTED_DISPLAY=:$(head -n1 "$fdfile")
    log "started Xvfb on $STARTED_DISPLAY"
}

# A private Xvfb when there is no display.
ensure_display() {
    if [ -n "${DISPLAY:-}" ]; then return 0; fi
    start_xvfb main
    XVFB_PID=${XVFB_PIDS[-1]}
    export DISPLAY=$STARTED_DISPLAY
}

# A persistent wineserver and booted services for the whole run: each test
# process then starts in milliseconds. They are started here, with output to a
# file, because Wine's background processes keep the standard handles of the
# process that first starts them; started under ctest's output pipe they would
# keep it open.
start_server() {
    wineserver -p >/dev/null 2>&1 </dev/null
    wine wineboot >"$BUILD/wine-session-$WINEARCH.log" 2>&1 </dev/null
    server_to_stop
}

# The current prefix's server is stopped on exit.
server_to_stop() { SERVER_PREFIXES+=("$WINEARCH"); }

stop_server_quietly() { wineserver -k >/dev/null 2>&1 || true; }

cleanup() {
    local platform
    for platform in ${SERVER_PREFIXES[@]+"${SERVER_PREFIXES[@]}"}; do
        (use_platform "$platform"
         stop_server_quietly
         wineserver -w >/dev/null 2>&1 || true)
    done
    local pid
    for pid in ${XVFB_PIDS[@]+"${XVFB_PIDS[@]}"}; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
}

wine_session() {
    ensure_prefix
    trap cleanup EXIT
    ensure_display
    start_server
}
