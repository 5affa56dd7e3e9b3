# Sourced by tools/dev: what `tools/dev setup` installs and sets up (Debian
# packages, the Japanese locale, and QEMU where the kernel refuses 32-bit
# programs), and how the 32-bit side runs.

# wine64 is there for its native 64-bit wineserver: where 32-bit programs run
# emulated, only the Windows programs then pay for it.
PACKAGES=(g++-mingw-w64-i686 mingw-w64-i686-dev g++-mingw-w64-x86-64 mingw-w64-x86-64-dev
          wine wine32:i386 wine64 xvfb xdotool x11-xserver-utils x11-utils imagemagick
          fonts-liberation fonts-ipafont-gothic locales cmake make googletest llvm clang lld
          nsis osslsigncode openssl
          python3 git)

# Machines whose kernel refuses 32-bit programs run them through QEMU's
# user-mode emulator, registered with binfmt_misc. Only QEMU 10 or later runs
# Wine (older ones fail to map Wine's shared user data).
WINE32_LOADER=/usr/lib/wine/wine
QEMU_I386=/usr/bin/qemu-i386
QEMU_MIN_MAJOR=10
BINFMT_DIR=/proc/sys/fs/binfmt_misc
BINFMT_ENTRY=$BINFMT_DIR/qemu-i386
# 32-bit x86 ELF executables and shared objects; F opens the interpreter at
# registration, so it is found from any mount namespace.
BINFMT_RULE=':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:FP'


# The Japanese rows run Wine under this locale: Wine takes the user's UI
# language from it.
JAPANESE_LOCALE=ja_JP.UTF-8
ensure_japanese_locale() {
    locale -a | grep -qix 'ja_JP.utf-\?8' && return 0
    log "generating the $JAPANESE_LOCALE locale"
    as_root localedef -i ja_JP -f UTF-8 "$JAPANESE_LOCALE"
}

package_installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

install_packages() {
    local missing=() need_arch=
    dpkg --print-foreign-architectures | grep -qx i386 || need_arch=1
    for p in "${PACKAGES[@]}"; do
        package_installed "$p" || missing+=("$p")
    done
    if [ -z "$need_arch" ] && [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    log "installing: ${missing[*]:-(i386 architecture)}"
    [ -z "$need_arch" ] || as_root dpkg --add-architecture i386
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

# --- 32-bit programs ---------------------------------------------------------

runs_32bit() { "$WINE32_LOADER" --version >/dev/null 2>&1; }

# The major version of a qemu-i386 binary; empty when it does not run.
qemu_major() {
    "$1" --version 2>/dev/null | sed -n 's/^qemu-i386 version \([0-9]*\)\..*/\1/p'
}

qemu_is_current() {
    local major
    major=$(qemu_major "$1")
    [ -n "$major" ] && [ "$major" -ge "$QEMU_MIN_MAJOR" ]
}

registered_interpreter() { sed -n 's/^interpreter //p' "$BINFMT_ENTRY" 2>/dev/null; }

registration_enabled() { [ "$(head -n1 "$BINFMT_ENTRY" 2>/dev/null)" = enabled ]; }

# Where the kernel runs 32-bit programs, nothing changes and no emulator is
# installed. Elsewhere QEMU 10 comes from the release's backports suite and is
# registered for 32-bit x86 programs, Wine's own children included. The
# registration lasts until reboot; a later run re-registers it in a second.
ensure_32bit_programs() {
    if [ -e "$BINFMT_ENTRY" ] &&
        { ! registration_enabled || ! qemu_is_current "$(registered_interpreter)"; }; then
        log "replacing the binfmt_misc entry for $(registered_interpreter) (disabled or older than QEMU $QEMU_MIN_MAJOR)"
        as_root sh -c "echo -1 > '$BINFMT_ENTRY'" ||
            die "cannot remove $BINFMT_ENTRY: run tools/dev setup as root"
    fi
    runs_32bit && return 0
    log "this kernel does not run 32-bit programs; running them through QEMU $QEMU_MIN_MAJOR"
    qemu_is_current "$QEMU_I386" || install_backports_qemu
    if [ ! -e "$BINFMT_DIR/register" ]; then
        as_root mount -t binfmt_misc binfmt_misc "$BINFMT_DIR" ||
            die "cannot mount binfmt_misc on $BINFMT_DIR: run tools/dev setup as root, on a kernel with binfmt_misc"
    fi
    as_root sh -c "printf '%s' '$BINFMT_RULE' > '$BINFMT_DIR/register'" ||
        die "cannot register $QEMU_I386 with binfmt_misc: run tools/dev setup as root"
    runs_32bit ||
        die "$WINE32_LOADER still does not start through $QEMU_I386; see the README's section on machines without 32-bit support"
}

# qemu-user from <release>-backports, through an entry with the same address
# as the machine's own Debian entry (read from apt's configuration, so no
# package host is named here).
install_backports_qemu() {
    local codename suite uri list keyring=/usr/share/keyrings/debian-archive-keyring.gpg
    codename=$(. /etc/os-release && printf '%s' "${VERSION_CODENAME:-}")
    [ -n "$codename" ] || die "cannot tell this machine's Debian release from /etc/os-release"
    suite=$codename-backports
    if ! apt-get indextargets --format '$(RELEASE)' | grep -qx "$suite"; then
        uri=$(apt-get indextargets --format '$(RELEASE) $(TARGET_OF) $(REPO_URI)' |
            awk -v s="$codename" '$1 == s && $2 == "deb" { print $3; exit }')
        [ -n "$uri" ] || die "apt has no entry for $codename to model a $suite entry on; add one for $suite and run tools/dev setup again"
        list=/etc/apt/sources.list.d/$suite.sources
        log "adding $list"
        {
            printf 'Types: deb\nURIs: %s\nSuites: %s\nComponents: main\n' "$uri" "$suite"
            [ ! -f "$keyring" ] || printf 'Signed-By: %s\n' "$keyring"
        } | as_root tee "$list" >/dev/null
    fi
    log "installing qemu-user from $suite"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -qq --no-install-recommends -t "$suite" qemu-user >/dev/null
    qemu_is_current "$QEMU_I386" ||
        die "$suite did not give QEMU $QEMU_MIN_MAJOR or later ($QEMU_I386: $(qemu_major "$QEMU_I386" || true))"
}

runs_emulated() { [ -e "$BINFMT_ENTRY" ] && registration_enabled; }

# One line for the log: how this machine runs the 32-bit Windows side. Under
# emulation everything takes several times longer, so the tests' time limits
# are multiplied by TEST_TIME_SCALE (tests/support/Waiting.h).
describe_32bit() {
    if runs_emulated; then
        local interpreter
        interpreter=$(registered_interpreter)
        export TEST_TIME_SCALE=${TEST_TIME_SCALE:-8}
        log "32-bit programs run through $interpreter ($("$interpreter" --version | head -n1)); test time limits x$TEST_TIME_SCALE"
    else
        log "32-bit programs run natively"
    fi
}
