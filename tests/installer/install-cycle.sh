#!/usr/bin/env bash
# Installs, reinstalls and removes VeltraneSetup.exe silently in a scratch copy
# of the platform's template prefix (WINEARCH and WINEPREFIX_TEMPLATE, as
# ctest gives them; with a wineserver of its own) and compares whole listings
# of C:\ and the registry: a step adds or removes exactly the list.
set -euo pipefail
: "${WINEARCH:=win32}" "${WINEPREFIX_TEMPLATE:?the template prefix of the platform, as ctest gives it}"
. "$(dirname "$0")/../support/driver.sh"
# Where a 32-bit installer's files and HKLM\Software keys land on each
# platform (HKLM\SYSTEM and HKCU are the same on both).
case $WINEARCH in
    win32) programs='Program Files' software='Software' ;;
    win64) programs='Program Files (x86)' software='Software\\Wow6432Node' ;;
    *) echo "FAILED: no listings for WINEARCH=$WINEARCH"; exit 1 ;;
esac
setup=$1/bin/VeltraneSetup.exe tests=$1/tests app="C:\\$programs\\WZK\\Veltrane"
limit=$((60 * ${TEST_TIME_SCALE:-1}))
# The version every binary and the uninstall entry carry (VERSION), as the
# build read it.
. "$1/product.env"
version=$VERSION
export WINEPREFIX=$1/installer-prefix-$WINEARCH WINEARCH WINEDEBUG=-all
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
rm -rf "$WINEPREFIX" && cp -a "$WINEPREFIX_TEMPLATE" "$WINEPREFIX"
expect_exit() { # NAME CODE PROGRAM ARGUMENTS...
    local name=$1 want=$2 rc=0 && shift 2 && wine "$@" || rc=$?
    check "$name" "exit code $rc" "exit code $want"
}
# One persistent server for the whole cycle: a cold start boots Wine's
# services, seconds each where they run emulated. A snapshot has the server
# save its registry once the session's programs (the uninstaller's copy too)
# have ended: a line per file or folder, key (parents too) and value. Masked:
# the device date of each start, the size estimate (literal only as not zero),
# the user name, the uninstaller's numbered temporary folder.
wineserver -p >/dev/null 2>&1 </dev/null
saved=$WINEPREFIX/saved && mkdir "$saved"
snapshot() {
    timeout $limit wine "$tests/registry_files.exe" "Z:${saved//\//\\}" ||
        { echo "FAILED: programs still running"; exit 1; }
    { (cd "$WINEPREFIX/drive_c" && find . -mindepth 1 | sed 's|^\.|file C:|')
      for hive in system user; do
          awk -v h=$hive '/^\[/ { sub(/\] [0-9]+$/, "]"); key = $0; n = split($0, p, /\\\\/); k = p[1]
                                  for (i = 2; i <= n; i++) { print h " " k "]"; k = k "\\\\" p[i] }
                                  print h " " key; next }
              /^[^#]/ { print h " " key " " $0 }' "$saved/$hive.reg"
      done; } | sed -e '/"DriverDateData"=/d' -e "s/users\([/\\\\]*\)$(id -un)/users\1USER/g" \
        -e 's/~nsu[0-9A-Za-z]*\.tmp/~nsu?.tmp/g' -e 's/"EstimatedSize"=dword:0*[1-9a-f].*/"EstimatedSize"=(not zero)/' |
        LC_ALL=C sort -u >"$WINEPREFIX/$1"
}
expect_change() { # NAME BEFORE AFTER "> added" and "< removed" lines, with
    # {ProgramFiles} and {Software} standing for the platform's folder and key
    local want=${4//"{ProgramFiles}"/"$programs"}
    snapshot "$3"
    check "$1" "$(diff "$WINEPREFIX/$2" "$WINEPREFIX/$3" | grep '^[<>]')" "${want//"{Software}"/"$software"}"
}
# The installed menu, started and showing its window ($menu: its process).
open_menu() {
    wine "$app\\VLTMedia.exe" &
    menu=$!
    timeout $limit sh -c 'until xdotool search --name "^VLTMedia\$" >/dev/null; do sleep 0.2; done' ||
        { echo "FAILED: the installed menu shows no window"; exit 1; }
}
menu_ended() {
    timeout $limit sh -c "while kill -0 $menu 2>/dev/null; do sleep 0.2; done" ||
        { kill $menu; echo "FAILED: the installed menu is still open"; exit 1; }
    wait $menu || { echo "FAILED: the installed menu ends with $?"; exit 1; }
}
entry='Software\Microsoft\Windows\CurrentVersion\Uninstall\Veltrane'
installed=$WINEPREFIX/drive_c/$(printf '%s' "${app#C:\\}" | tr '\\' /)
cdrive=Z:$(printf '%s' "$WINEPREFIX/drive_c" | tr / '\\') # C:\ through Wine's Z: drive
# Installations that fail over the installed one (here an earlier build's: its
# programs differ) keep it byte for byte and registered: a file in the way of
# the client files, under each name of its folder (a link to it and Wine's Z:
# path too); keyboard values that cannot be written (a volatile service key,
# deleted again after it); a kbdsetup.exe that fails (Wine gives
# it no advapi32) in an installation to another folder.
failed_reinstallations() {
    local sums short spelling
    for spelling in VLTMedia.exe kbdsetup.exe wzkWmiBios.dll; do printf older >>"$installed/$spelling"; done
    ln -s "$installed" "$WINEPREFIX/drive_c/Alias"
    touch "$installed/Client" && snapshot blocked && sums=$(cd "$installed" && md5sum *)
    short=$(wine winepath -s "$app" | tr -d '\r')
    for spelling in "$short" "${short%\\*}\\\\${short##*\\}" "$short\\." 'C:\Alias' "$cdrive${short#C:}"; do
        expect_exit "a failed installation to /D=$spelling exits with 2" 2 "$setup" /S /CLIENT "/D=$spelling"
        check "... keeps the installation byte for byte" "$(cd "$installed" && md5sum *)" "$sums"
    done
    wine "$tests/volatile_key.exe" 'SYSTEM\CurrentControlSet\Services\i8042prt'
    expect_exit "an installation whose keyboard values cannot be written exits with 2" 2 "$setup" /S /KEYBOARD106
    check "... keeps the installation byte for byte" "$(cd "$installed" && md5sum *)" "$sums"
    expect_change "the failed installations keep the installation registered" blocked reblocked ''
    rm "$installed/Client" "$WINEPREFIX/drive_c/Alias"
    wine reg delete 'HKLM\SYSTEM\CurrentControlSet\Services\i8042prt' /f >/dev/null
    local overrides='HKCU\Software\Wine\AppDefaults\kbdsetup.exe'
    wine reg add "$overrides\\DllOverrides" /v advapi32 /d '' /f >/dev/null
    expect_exit "an installation whose kbdsetup.exe fails exits with 2" 2 "$setup" /S /KEYBOARD106 '/D=C:\Other'
    wine reg delete "$overrides" /f >/dev/null
    expect_change "an installation whose kbdsetup.exe fails keeps the installation" installed kept ''
}
# A copy of the uninstaller in FOLDER (below C:\), with the uninstall entry's
# values set as given: what it removes, its own temporary copy aside.
removal_by_copy() { # NAME DRIVE FOLDER "< removed" lines ({Software} as above) NAME=DATA...
    # DRIVE is what the copy is started through: C: or Wine's Z: path of C:.
    local name=$1 drive=$2 folder=$3 want=${4//"{Software}"/"$software"} value && shift 4
    mkdir -p "$WINEPREFIX/drive_c/$folder" && cp "$WINEPREFIX/uninstaller" "$WINEPREFIX/drive_c/$folder/Uninstall.exe"
    for value; do wine reg add "HKLM\\$entry" /reg:32 /v "${value%%=*}" /d "${value#*=}" /f >/dev/null; done
    snapshot by-copy
    expect_exit "$name: exit code" 0 "$drive\\${folder//\//\\}\\Uninstall.exe" /S
    snapshot by-copy-after
    check "$name" "$(diff "$WINEPREFIX/by-copy" "$WINEPREFIX/by-copy-after" | grep '^[<>]' |
        grep -v -e PendingFileRenameOperations -e '~nsu?.tmp')" "$want"
}

# A failed installation (a folder is in the way of its uninstaller) takes back
# what it wrote; a default one has no client files and no keyboard values.
mkdir -p "$WINEPREFIX/drive_c/Blocked/Uninstall.exe"
# Wine keeps no file security: the calls that set the folder's show in a relay log.
wine reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /f \
    /d 'advapi32.ConvertStringSecurityDescriptorToSecurityDescriptorW;advapi32.SetNamedSecurityInfoW' >/dev/null
# The Media key's earlier binding, which /MEDIAKEY replaces and removal puts
# back (in the 64-bit view, Explorer's, where there is one).
appkey='HKLM\Software\Microsoft\Windows\CurrentVersion\Explorer\AppKey\16'
wine reg add "$appkey" /reg:64 /v ShellExecute /d 'C:\Player\player.exe' /f >/dev/null
snapshot before
# Both log to one file outside C:\, through Wine's Z: drive.
log=$WINEPREFIX/setup.log zlog=Z:${WINEPREFIX//\//\\}\\setup.log
expect_exit "a failed installation exits with 2" 2 "$setup" /S "/LOG=$zlog" '/D=C:\Blocked'
WINEDEBUG=+relay expect_exit "a silent installation exits with 0" 0 "$setup" "/LOG=$zlog" /S 2>"$WINEPREFIX/relay.log"
check "... and gives its folder the protected security of Program Files" \
    "$(sed -En -e 's/ ret=[0-9a-f]+$//' -e 's/\<00([1-9a-f][0-9a-f]|0[1-9a-f])[0-9a-f]{4}\>/PTR/g' \
        -e 's/^[0-9a-f]+:Call advapi32\.//p' "$WINEPREFIX/relay.log")" \
    'ConvertStringSecurityDescriptorToSecurityDescriptorW(PTR L"O:BAD:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)",00000001,PTR,00000000)
SetNamedSecurityInfoW(PTR L"C:\\'"$programs"'\\WZK\\Veltrane",00000001,80000005,PTR,00000000,PTR,00000000)'
check "... and both logged what they did, the failed one taking it back" "$(tr -d '\r' <"$log")" \
"Veltrane setup $version
switches: /S /LOG=$zlog
folder: C:\\Blocked
failed: Cannot write C:\\Blocked\\Uninstall.exe
everything this run wrote was taken back
exit code 2
Veltrane setup $version
switches: /LOG=$zlog /S
folder: $app
Programs: installed
Uninstall entry: written
Client files: not chosen
Japanese 106-key keyboard: not chosen
Media key: not chosen
exit code 0"
expect_change "a silent installation puts exactly its files and keys in place" before installed \
'> file C:/{ProgramFiles}/WZK
> file C:/{ProgramFiles}/WZK/Veltrane
> file C:/{ProgramFiles}/WZK/Veltrane/Uninstall.exe
> file C:/{ProgramFiles}/WZK/Veltrane/VLTMedia.exe
> file C:/{ProgramFiles}/WZK/Veltrane/kbdsetup.exe
> file C:/{ProgramFiles}/WZK/Veltrane/wzkWmiBios.dll
> system [{Software}\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrane]
> system [{Software}\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrane] "CreatedFolder"="C:\\{ProgramFiles}\\WZK"
> system [{Software}\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrane] "DisplayIcon"="C:\\{ProgramFiles}\\WZK\\Veltrane\\VLTMedia.exe,0"
> system [{Software}\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrane] "DisplayName"="Veltrane"
> system [{Software}\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrane] "DisplayVersion"="'"$version"'"
> system [{Software}\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrane] "EstimatedSize"=(not zero)
> system [{Software}\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrane] "InstallLocation"="C:\\{ProgramFiles}\\WZK\\Veltrane"
> system [{Software}\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrane] "NoModify"=dword:00000001
> system [{Software}\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrane] "NoRepair"=dword:00000001
> system [{Software}\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrane] "Publisher"="WZK"
> system [{Software}\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrane] "QuietUninstallString"="\"C:\\{ProgramFiles}\\WZK\\Veltrane\\Uninstall.exe\" /S"
> system [{Software}\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrane] "UninstallString"="\"C:\\{ProgramFiles}\\WZK\\Veltrane\\Uninstall.exe\""'

failed_reinstallations "$1"

# The installed menu shows its window (its first run writes the user's
# default entry) and a second start closes it, as the hot key does.
open_menu
expect_exit "the installed menu closes when started again" 0 "$app\\VLTMedia.exe"
menu_ended

# What stays after removal: the keyboard values and the user's menu settings.
stays='> system [System\\CurrentControlSet\\Services\\i8042prt\\Parameters]
> system [System\\CurrentControlSet\\Services\\i8042prt\\Parameters] "LayerDriver JPN"="KBD106.DLL"
> system [System\\CurrentControlSet\\Services\\i8042prt\\Parameters] "OverrideKeyboardIdentifier"="PCAT_106KEY"
> system [System\\CurrentControlSet\\Services\\i8042prt\\Parameters] "OverrideKeyboardSubtype"=dword:00000002
> system [System\\CurrentControlSet\\Services\\i8042prt]
> user [Software\\WZK\\Veltrane\\Media\\Media Player]
> user [Software\\WZK\\Veltrane\\Media\\Media Player] "ActionID"=dword:00000000
> user [Software\\WZK\\Veltrane\\Media\\Media Player] "Assignment"="%ProgramFiles%\\Windows Media Player\\wmplayer.exe"
> user [Software\\WZK\\Veltrane\\Media\\Media Player] "IsRemove"="Yes"
> user [Software\\WZK\\Veltrane\\Media\\Media Player] "Name"="Media Player"
> user [Software\\WZK\\Veltrane\\Media]
> user [Software\\WZK\\Veltrane\\Media] "CurrentSelection"="Media Player"
> user [Software\\WZK\\Veltrane\\Media] "DefaultSelection"="Media Player"
> user [Software\\WZK\\Veltrane]
> user [Software\\WZK]'
# The installer closes an open menu before replacing its files.
open_menu
expect_exit "a second installation with every component exits with 0" 0 "$setup" /S /CLIENT /KEYBOARD106 /MEDIAKEY
menu_ended
expect_change "a second installation adds the client files, keyboard values and Media key" installed reinstalled \
'> file C:/{ProgramFiles}/WZK/Veltrane/Client
> file C:/{ProgramFiles}/WZK/Veltrane/Client/include
> file C:/{ProgramFiles}/WZK/Veltrane/Client/include/wzkWmiBios.h
> file C:/{ProgramFiles}/WZK/Veltrane/Client/lib
> file C:/{ProgramFiles}/WZK/Veltrane/Client/lib/libwzkWmiBios.dll.a
> file C:/{ProgramFiles}/WZK/Veltrane/Client/lib/wzkWmiBios.lib
> file C:/{ProgramFiles}/WZK/Veltrane/Client/x64
> file C:/{ProgramFiles}/WZK/Veltrane/Client/x64/libwzkWmiBios.dll.a
> file C:/{ProgramFiles}/WZK/Veltrane/Client/x64/wzkWmiBios.dll
> file C:/{ProgramFiles}/WZK/Veltrane/Client/x64/wzkWmiBios.lib
> file C:/{ProgramFiles}/WZK/Veltrane/wzkbios.exe
< system [Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\AppKey\\16] "ShellExecute"="C:\\Player\\player.exe"
> system [Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\AppKey\\16] "ShellExecute"="C:\\{ProgramFiles}\\WZK\\Veltrane\\VLTMedia.exe"
> system [{Software}\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrane] "MediaKey"="C:\\{ProgramFiles}\\WZK\\Veltrane\\VLTMedia.exe"
> system [{Software}\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrane] "MediaKeyBefore"="C:\\Player\\player.exe"
> system [{Software}\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrane] "MediaKeyBeforeType"=dword:00000001'$'\n'"$stays"

# The uninstaller runs from a temporary copy of itself, deleted at the next
# restart. It closes an open menu first: nothing else waits for the restart.
cp "$installed/Uninstall.exe" "$WINEPREFIX/uninstaller"
ln -s "$installed" "$WINEPREFIX/drive_c/Alias"
open_menu
rm "$log"
expect_exit "a silent removal through a link, while the menu is open, exits with 0" 0 'C:\Alias\Uninstall.exe' /S "/LOG=$zlog"
menu_ended
rm "$WINEPREFIX/drive_c/Alias"
expect_change "a silent removal takes back everything but what is documented to stay" before removed \
'> file C:/users/USER/Temp/~nsu?.tmp
> file C:/users/USER/Temp/~nsu?.tmp/Un.exe
> system [System\\CurrentControlSet\\Control\\Session Manager] "PendingFileRenameOperations"=str(7):"\\??\\C:\\users\\USER\\Temp\\~nsu?.tmp\0\0\\??\\C:\\users\\USER\\Temp\\~nsu?.tmp\\Un.exe\0\0"'$'\n'"$stays"
check "... and its log says what it did" "$(tr -d '\r' <"$log")" \
"Veltrane removal $version
switches: /S /LOG=$zlog
folder: $app
Programs and client files: removed
Media key: put back as it was
Uninstall entry: removed
exit code 0"

# An uninstaller leaves an uninstall entry of another folder alone, and a
# recorded folder C:\A is none of C:\AB's.
removal_by_copy "an uninstaller leaves the entry of another folder alone" C: Older \
    '< file C:/Older/Uninstall.exe' 'InstallLocation=C:\Newer'
removal_by_copy "an uninstaller started through Wine's Z: drive removes its entry" \
    "$cdrive" ByZ \
'< file C:/ByZ/Uninstall.exe
< system [{Software}\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrane]
< system [{Software}\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrane] "InstallLocation"="C:\\ByZ"' \
    'InstallLocation=C:\ByZ'
removal_by_copy "an uninstaller removes no folder that only starts with the created one's name" C: AB/Veltrane \
'< file C:/AB/Veltrane/Uninstall.exe
< system [{Software}\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrane]
< system [{Software}\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrane] "CreatedFolder"="C:\\A"
< system [{Software}\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrane] "InstallLocation"="C:\\AB\\Veltrane"' \
    'InstallLocation=C:\AB\Veltrane' 'CreatedFolder=C:\A'
exit $failed
