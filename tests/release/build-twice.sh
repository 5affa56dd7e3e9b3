#!/usr/bin/env bash
# The commit at HEAD, built again from an archive of it in another folder
# (the shipped targets only), gives a release with the same SHA256SUMS as
# this build's. This build is the commit's only when the checkout has no
# uncommitted changes; otherwise a second archive stands in for it.
set -euo pipefail
build=$1 root=$(cd "$(dirname "$0")/../.." && pwd)
work=$build/release-twice
trap 'rm -rf "$work"' EXIT
rm -rf "$work" && mkdir -p "$work"
# The archives have no .git: the releases take the commit's time from here,
# and git looks for no checkout above them.
export SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct HEAD)
export GIT_CEILING_DIRECTORIES=$work

release_of_archive() { # FOLDER (its name differs in length, too)
    mkdir "$1" && git -C "$root" archive HEAD | tar -x -C "$1"
    (cd "$1" && cmake --preset cross && cmake --build build -j2 --target shipped) >"$1.log" 2>&1 ||
        { tail -n 40 "$1.log"; echo "FAILED: the build in $1"; exit 1; }
    "$1/tools/release" "$1/build" "$1/release" 2>>"$1.log"
}

second=$work/second
release_of_archive "$second"
if [ -z "$(git -C "$root" status --porcelain)" ]; then
    first_build=$build first_release=$work/main-release
    "$root/tools/release" "$build" "$first_release" 2>"$work/main.log"
else
    echo "the checkout has uncommitted changes: comparing two builds of HEAD"
    release_of_archive "$work/first-archive"
    first_build=$work/first-archive/build first_release=$work/first-archive/release
fi
if diff "$first_release/SHA256SUMS" "$second/release/SHA256SUMS"; then
    echo "ok: two builds of $(git -C "$root" rev-parse --short HEAD) give the same release"
    exit 0
fi
echo "FAILED: two builds of one commit differ; their binaries that differ:"
for f in "$first_build"/bin/* "$first_build"/lib/*wzk*; do
    cmp -s "$f" "$second/build/${f#"$first_build"/}" || echo "  ${f#"$first_build"/}"
done
exit 1
