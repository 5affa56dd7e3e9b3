#!/usr/bin/env bash
# A platform's Wine session as ctest fixtures (tests/CMakeLists.txt), so that
# a plain ctest in the build folder sets up what the tests run in:
#   wine-session.sh start PLATFORM BUILD   the prefix copied anew from its
#       template (made once), a display and a persistent server with booted
#       services; BUILD/test-session-PLATFORM/env tells the tests the display
#       and the time scale (driver.sh reads it)
#   wine-session.sh stop PLATFORM BUILD    the server ended, then the display
#   wine-session.sh template ja BUILD      the Japanese-UI template, made once
# The display is the caller's DISPLAY, or an Xvfb of the session's own so
# that the platforms can run side by side. Nothing started here keeps
# ctest's output pipe: a test would not end until they do.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
command=${1:-} platform=${2:-} BUILD=${3:-}
log() { printf '[wine-session] %s\n' "$*" >&2; }
die() { log "$@"; exit 1; }
[ -d "$BUILD" ] || die "usage: wine-session.sh start|stop PLATFORM BUILD, or template ja BUILD"
# Wine wants its prefix as a full path.
BUILD=$(cd "$BUILD" && pwd)
export WINEDEBUG=${WINEDEBUG:--all}
. "$ROOT/tools/dev-setup.sh"
. "$ROOT/tools/dev-wine.sh"
session=$BUILD/test-session-$platform

stop() {
    [ -d "$session" ] || return 0
    use_platform "$platform"
    # The server first: Wine's desktop process would complain if its display
    # went away under it.
    stop_server_quietly
    wineserver -w >/dev/null 2>&1 || true
    if [ -f "$session/xvfb.pid" ]; then
        kill "$(cat "$session/xvfb.pid")" 2>/dev/null || true
    fi
    rm -rf "$session"
}

start() {
    # What an interrupted run left is ended first.
    stop
    use_platform "$platform"
    fresh_prefix
    mkdir -p "$session"
    local display=${DISPLAY:-}
    if [ -z "$display" ]; then
        start_xvfb "$platform" </dev/null
        echo "${XVFB_PIDS[-1]}" >"$session/xvfb.pid"
        display=$STARTED_DISPLAY
    fi
    DISPLAY=$display start_server
    describe_32bit
    printf 'DISPLAY=%s\nTEST_TIME_SCALE=%s\n' "$display" "${TEST_TIME_SCALE:-1}" >"$session/env"
}

case "$command $platform" in
    "start win32" | "start win64") start ;;
    "stop win32" | "stop win64") stop ;;
    "template ja") ensure_japanese_template ;;
    *) die "usage: wine-session.sh start|stop PLATFORM BUILD, or template ja BUILD" ;;
esac
