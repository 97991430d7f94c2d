#!/usr/bin/env bash
# Builds the Debian package from the source tree's files that git tracks or
# would take (ignored ones stay out), so nothing a build left in
# the tree gets into it:
#   tools/build-package.sh OUT [dpkg-buildpackage options…]
# OUT/lumitakt-VERSION is the source copy; the packages, the .changes and
# the build log land in OUT. Without options: source and binary packages,
# unsigned.
set -euo pipefail
top=$(cd "$(dirname "$(readlink -f "$0")")/.." && pwd)
out=$(mkdir -p "$1" && cd "$1" && pwd); shift
version=$(cd "$top" && dpkg-parsechangelog -S Version)
source="$out/lumitakt-$version"
rm -rf "$source"
mkdir -p "$source"
if git -C "$top" rev-parse --git-dir >/dev/null 2>&1; then
  # The files git knows or would take, as they are in the working tree.
  (cd "$top" && git ls-files -z --cached --others --exclude-standard | while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done \
    | tar --null -T - -cf -) | tar -C "$source" -xf -
else
  tar -C "$top" --exclude='./build*' --exclude='./obj-*' --exclude=./.git -cf - . | tar -C "$source" -xf -
fi
[ $# -gt 0 ] || set -- -us -uc
(cd "$source" && dpkg-buildpackage "$@") > "$out/build.log" 2>&1 || { tail -n 40 "$out/build.log"; echo "the package build failed (log: $out/build.log)" >&2; exit 1; }
ls "$out"/lumitakt_"$version"*
