# Sourced by the test drivers written in shell and by cmake/wine-run (so it
# is plain sh): the platform's display, and check NAME GOT WANT.

# tools/dev gives each platform (WINEARCH) a display of its own,
# DISPLAY_win32 and DISPLAY_win64; without one, the caller's DISPLAY.
eval "DISPLAY=\${DISPLAY_${WINEARCH:-win32}:-\${DISPLAY:-}}"
export DISPLAY

# A check prints "ok: NAME", or "FAILED: NAME" with what it got; $failed is
# the driver's exit code.
failed=0
check() {
    if [ "$2" = "$3" ]; then echo "ok: $1"; else printf 'FAILED: %s; got:\n%s\n' "$1" "$2"; failed=1; fi
}
