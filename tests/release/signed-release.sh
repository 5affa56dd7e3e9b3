#!/usr/bin/env bash
# Signs a release with a throwaway root and signer made here and verifies
# against that root the installer, the kit's binaries and every binary the
# installer puts into a scratch copy of the template prefix, the uninstaller
# included.
set -euo pipefail
export LC_ALL=C WINEPREFIX=$1/release-signing/prefix WINEARCH=win32 WINEDEBUG=-all
build=$1 root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tests/support/driver.sh"
# The version in the release's file names (VERSION), as the build read it.
. "$build/product.env"
version=$VERSION
trap 'wineserver -k 2>/dev/null || true; rm -rf "$build/release-signing"' EXIT
rm -rf "$build/release-signing" && mkdir -p "$build/release-signing" && cd "$build/release-signing"

# The keys live in this folder only, and go with it.
openssl req -x509 -newkey rsa:2048 -nodes -keyout root.key -out root.pem -days 2 -subj /CN=Root \
    -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign 2>/dev/null
openssl req -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr -subj /CN=Signer 2>/dev/null
printf '%s\n' keyUsage=critical,digitalSignature extendedKeyUsage=codeSigning >signer.ext
openssl x509 -req -in signer.csr -CA root.pem -CAkey root.key -set_serial 2 -days 2 \
    -extfile signer.ext -out signer.pem 2>/dev/null
password=test-$(od -An -N8 -tx1 /dev/urandom | tr -d ' \n')
echo "$password" >password
openssl pkcs12 -export -inkey signer.key -in signer.pem -out signer.pfx -passout file:password

# An earlier version's release is kept; a run that fails changes nothing.
mkdir out && echo earlier >out/VeltraneSetup-0.9.0.0.exe && echo wrong >wrong-password
! "$root/tools/release" --sign signer.pfx --password-file wrong-password "$build" out >wrong.log 2>&1 ||
    check "a wrong password fails the release" "exit code 0" "not 0"
check "a failed release leaves the folder as it was" "$(ls out)" "VeltraneSetup-0.9.0.0.exe"
"$root/tools/release" --sign signer.pfx --password-file password "$build" out >release.log 2>&1 ||
    { cat release.log; exit 1; }
check "SHA256SUMS holds for the release; the earlier one stays" \
    "$(cd out && sha256sum -c SHA256SUMS && ls VeltraneSetup-0.9.0.0.exe)" \
"VeltraneSetup-$version.exe: OK
wzkWmiBios-client-$version.zip: OK
VeltraneSetup-0.9.0.0.exe"
check "the password shows in no output" "$(grep -F "$password" release.log || true)" ""
manifest=out/winget/$version/WZK.Veltrane.installer.yaml
check "winget's manifest has the signed installer's hash and the README's exit codes" \
    "$(sed -n 's/^  InstallerSha256: //p' "$manifest"; sed -n 's/^- InstallerReturnCode: //p' "$manifest" | paste -sd' ')" \
    "$(sha256sum "out/VeltraneSetup-$version.exe" | cut -d' ' -f1 | tr a-f A-F)
$(awk -F' *[|] *' '/^[|] Exit code [|] Installer/ { table = 1; next }
                   table && !/^[|]/ { exit }
                   table && $2 ~ /^[1-9][0-9]*$/ && $3 != "" { print $2 }' "$root/README.md" | paste -sd' ')"

cp -a "${WINEPREFIX_TEMPLATE:?the 32-bit template prefix, as ctest gives it}" "$WINEPREFIX"
wine "out/VeltraneSetup-$version.exe" /S /CLIENT && timeout $((60 * ${TEST_TIME_SCALE:-1})) wineserver -w
ln -s "$WINEPREFIX/drive_c/Program Files/WZK/Veltrane" installed
python3 -m zipfile -e "out/wzkWmiBios-client-$version.zip" . && ln -s "wzkWmiBios-client-$version" kit
# One byte of the code changed.
cp kit/x86/wzkWmiBios.dll changed.dll
python3 -c 'import sys; f = open(sys.argv[1], "r+b"); f.seek(1100); b = f.read(1)[0]
f.seek(1100); f.write(bytes([b ^ 1]))' changed.dll
verify() {
    for f in "$@"; do
        osslsigncode verify -CAfile root.pem -in "$f" >/dev/null 2>&1 && echo "verified $f" || echo "NOT verified $f"
    done
}
check "every signed file verifies against the signer's root; a changed one does not" \
    "$(verify "out/VeltraneSetup-$version.exe" installed/*.exe installed/*.dll installed/Client/x64/*.dll kit/*/*.exe kit/*/*.dll \
        changed.dll)" \
"verified out/VeltraneSetup-$version.exe
verified installed/Uninstall.exe
verified installed/VLTMedia.exe
verified installed/kbdsetup.exe
verified installed/wzkbios.exe
verified installed/wzkWmiBios.dll
verified installed/Client/x64/wzkWmiBios.dll
verified kit/x86/wzkbios.exe
verified kit/x64/wzkFirmwareSim.dll
verified kit/x64/wzkWmiBios.dll
verified kit/x86/wzkFirmwareSim.dll
verified kit/x86/wzkWmiBios.dll
NOT verified changed.dll"
exit $failed
