#!/usr/bin/env bash
# Signs a release with a throwaway root and signer made here, then verifies
# against that root every signed file: the installer, the kit's programs and
# libraries, and what the installer puts in a scratch copy of the prefix, its
# uninstaller included. A file changed by one byte fails; the password shows
# in no output.
set -euo pipefail
export LC_ALL=C
build=$1 root=$(cd "$(dirname "$0")/../.." && pwd) failed=0 x64=
work=$build/release-signing
limit=$((60 * ${TEST_TIME_SCALE:-1}))
export WINEPREFIX=$work/prefix WINEARCH=win32 WINEDEBUG=-all
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
rm -rf "$work" && mkdir -p "$work" && cd "$work"
check() {
    if [ "$2" = "$3" ]; then echo "ok: $1"; else printf 'FAILED: %s; got:\n%s\n' "$1" "$2"; failed=1; fi
}

# Keys and certificates live in this folder only, and go with it.
openssl req -x509 -newkey rsa:2048 -nodes -keyout root.key -out root.pem -days 2 \
    -subj '/CN=Throwaway test root' -addext 'basicConstraints=critical,CA:TRUE' \
    -addext 'keyUsage=critical,keyCertSign' 2>/dev/null
openssl req -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr \
    -subj '/CN=Throwaway test signer' 2>/dev/null
printf '%s\n' 'basicConstraints=CA:FALSE' 'keyUsage=critical,digitalSignature' \
    'extendedKeyUsage=codeSigning' >signer.ext
openssl x509 -req -in signer.csr -CA root.pem -CAkey root.key -set_serial 2 -days 2 \
    -extfile signer.ext -out signer.pem 2>/dev/null
password=test-$(od -An -N8 -tx1 /dev/urandom | tr -d ' \n')
printf '%s\n' "$password" >password
openssl pkcs12 -export -inkey signer.key -in signer.pem -out signer.pfx -passout file:password

"$root/tools/release" --sign signer.pfx --password-file password "$build" out >release.log 2>&1 ||
    { cat release.log; echo "FAILED: the signed release"; exit 1; }
check "the signed release has its three files" "$(ls out)" \
'SHA256SUMS
VeltraneSetup-1.0.0.0.exe
wzkWmiBios-client-1.0.0.0.zip'
check "SHA256SUMS holds for them" "$(cd out && sha256sum -c SHA256SUMS 2>&1)" \
'VeltraneSetup-1.0.0.0.exe: OK
wzkWmiBios-client-1.0.0.0.zip: OK'
check "the password shows in no output" "$(grep -F "$password" release.log || true)" ""

# Installed from the signed installer, with the client files, in a copy of
# the prefix under a wineserver of its own.
cp -a "$build/wineprefix" "$WINEPREFIX"
wine out/VeltraneSetup-1.0.0.0.exe /S /CLIENT || { echo "FAILED: the installation"; exit 1; }
timeout "$limit" wineserver -w
ln -s "$WINEPREFIX/drive_c/Program Files/WZK/Veltrane" installed
python3 -m zipfile -e out/wzkWmiBios-client-1.0.0.0.zip . && ln -s wzkWmiBios-client-1.0.0.0 kit

verify() { # FILE...: one line each
    local f
    for f in "$@"; do
        if osslsigncode verify -CAfile root.pem -in "$f" >verify.log 2>&1; then
            echo "verified $f"
        else
            echo "NOT verified $f"
        fi
    done
}
[ ! -d "$build/bin/x64" ] || x64='
verified kit/x64/wzkFirmwareSim.dll
verified kit/x64/wzkWmiBios.dll'
check "every shipped program and library verifies against the signer's root" \
    "$(verify out/*.exe installed/*.exe installed/*.dll kit/*/*.exe kit/*/*.dll)" \
'verified out/VeltraneSetup-1.0.0.0.exe
verified installed/Uninstall.exe
verified installed/VLTMedia.exe
verified installed/kbdsetup.exe
verified installed/wzkbios.exe
verified installed/wzkWmiBios.dll
verified kit/x86/wzkbios.exe'"$x64"'
verified kit/x86/wzkFirmwareSim.dll
verified kit/x86/wzkWmiBios.dll'

# One byte of the code changed.
cp kit/x86/wzkWmiBios.dll changed.dll
python3 -c 'import sys; f = open(sys.argv[1], "r+b"); f.seek(1100); b = f.read(1); f.seek(1100); f.write(bytes([b[0] ^ 1]))' changed.dll
check "a file changed by one byte fails" "$(verify changed.dll)" "NOT verified changed.dll"
exit $failed
