# Sourced by the test drivers written in shell and by cmake/wine-run (so it
# is plain sh): the platform's display, and check NAME GOT WANT.

# The platform's session, which ctest starts first (wine-session.sh), names
# its display and the tests' time scale; without one, the caller's.
if [ -f "${WINE_SESSION:-}/env" ]; then . "$WINE_SESSION/env"; fi
export DISPLAY TEST_TIME_SCALE

# A check prints "ok: NAME", or "FAILED: NAME" with what it got; $failed is
# the driver's exit code.
failed=0
check() {
    if [ "$2" = "$3" ]; then echo "ok: $1"; else printf 'FAILED: %s; got:\n%s\n' "$1" "$2"; failed=1; fi
}
