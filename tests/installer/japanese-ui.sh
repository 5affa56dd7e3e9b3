#!/usr/bin/env bash
# The user's UI language chooses the texts: in a copy of the Japanese-UI
# template prefix (tools/dev makes it with the font links of Windows'
# Japanese edition), a program started under the Japanese locale speaks
# Japanese and one started under another speaks English, as Wine takes the
# UI language from each program's locale.
set -euo pipefail
build=$1 limit=$((60 * ${TEST_TIME_SCALE:-1}))
export WINEARCH=win32 WINEPREFIX=$build/japanese-prefix WINEDEBUG=-all
. "$(dirname "$0")/../support/driver.sh"
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
rm -rf "$WINEPREFIX" && cp -a "$WINEPREFIX_TEMPLATE" "$WINEPREFIX"
wineserver -p >/dev/null 2>&1 </dev/null
# The interactive installer's window, by locale.
for row in "ja_JP.UTF-8 Veltrane セットアップ" "C.UTF-8 Veltrane Setup"; do
    read -r locale title <<<"$row"
    LANG=$locale wine "$build/bin/VeltraneSetup.exe" &
    window=$(timeout $limit sh -c 'until xdotool search --name "^Veltrane " 2>/dev/null; do sleep 0.2; done') ||
        { echo "FAILED: the installer shows no window under $locale"; exit 1; }
    check "under $locale the installer's window is \"$title\"" "$(xdotool getwindowname "$window")" "$title"
    kill $! && wait $! 2>/dev/null || true
    timeout $limit sh -c 'while xdotool search --name "^Veltrane " >/dev/null 2>&1; do sleep 0.2; done'
done
# The menu's scroll buttons, named by the test case that checks them in the
# user's UI language.
case=MenuAppScrollingTest.ScrollButtonsAreNamedInTheUsersLanguage
out=$(LANG=ja_JP.UTF-8 wine "$build/tests/menu_app_tests.exe" --gtest_filter=$case 2>&1) &&
    grep -q '^\[  PASSED  \] 1 test\.' <<<"$out" && out=passed
check "under ja_JP.UTF-8 the menu's scroll buttons have Japanese names" "$out" passed
exit $failed
