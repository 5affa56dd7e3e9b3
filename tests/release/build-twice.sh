#!/usr/bin/env bash
# The commit at HEAD, built again (what ships only) from an archive in another
# folder, gives the same release as this build; with uncommitted changes
# this build is not the commit's, and a second archive stands in for it.
set -euo pipefail
build=$1 root=$(cd "$(dirname "$0")/../.." && pwd) work=$1/release-twice
trap 'rm -rf "$work"' EXIT
rm -rf "$work" && mkdir -p "$work"
# The archives have no .git: the commit's time comes from here.
export SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct) GIT_CEILING_DIRECTORIES=$work
# At a lower priority: it runs beside the Wine tests, which wait for windows
# and processes much of the time; it takes the processor time they leave.
release_of_archive() { # FOLDER: builds FOLDER/build, and the release into FOLDER/release
    mkdir "$1" && git -C "$root" archive HEAD | tar -x -C "$1"
    (cd "$1" && cmake --preset cross -DX64_TARGET=shipped && nice cmake --build build -j2 --target shipped &&
        tools/release build release) >"$1.log" 2>&1 || { tail -n 40 "$1.log"; exit 1; }
}
release_of_archive "$work/second"
if [ -z "$(git -C "$root" status --porcelain)" ]; then
    first=$build first_release=$work/release
    "$root/tools/release" "$build" "$first_release" 2>"$work/release.log"
else
    echo "uncommitted changes: comparing two builds of HEAD"
    release_of_archive "$work/first"
    first=$work/first/build first_release=$work/first/release
fi
diff "$first_release/SHA256SUMS" "$work/second/release/SHA256SUMS" && echo "ok: one release" && exit 0
echo "FAILED: two builds of one commit differ; their binaries that differ:"
for f in "$first"/bin/* "$first"/lib/*wzk*; do
    cmp -s "$f" "$work/second/build/${f#"$first"/}" || echo "  ${f#"$first"/}"
done
exit 1
