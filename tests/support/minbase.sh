# The minimal Debian (debootstrap's minbase) that the package's clean
# builds, its autopkgtests and the fresh-system test start from: Debian 12
# "bookworm", and Debian 13 "trixie". Each is bootstrapped once and kept
# packed in the user's cache folder, so every use unpacks it anew and none
# sees what an earlier one left. Sourced:
#   minbase_mirror   prints the Debian archive the machine's apt sources name
#   minbase_tar [RELEASE]
#                    makes the packed system of RELEASE (bookworm unless
#                    named) where it is missing (as root, through sudo for an
#                    ordinary user) and prints its path
# A function that fails says why on stderr and returns non-zero.

minbase_mirror() {
  local sources=/etc/apt/sources.list.d/debian.sources mirror
  mirror=$( { [ -f "$sources" ] && sed -n 's/^URIs: *\([^ ]*\/debian\)$/\1/p' "$sources"; \
              grep -hs '^deb ' /etc/apt/sources.list | awk '$2 ~ /\/debian\/?$/ {print $2}' || true; } | head -n 1)
  [ -n "$mirror" ] || { echo "no Debian archive in the apt sources" >&2; return 1; }
  echo "$mirror"
}

minbase_tar() {
  local release=${1:-bookworm}
  local cache=${XDG_CACHE_HOME:-$HOME/.cache}/lumitakt
  local tar="$cache/$release-minbase.tar" mirror boot part sudo=()
  [ -s "$tar" ] && { echo "$tar"; return 0; }
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  mirror=$(minbase_mirror) || return 1
  mkdir -p "$cache"
  boot=$(mktemp -d)
  echo "bootstrapping Debian $release (minbase) from $mirror" >&2
  # Only a release whose signature checks out is kept.
  if ! "${sudo[@]}" debootstrap --force-check-gpg --variant=minbase "$release" "$boot/root" "$mirror" > "$boot/debootstrap.log" 2>&1; then
    tail -n 20 "$boot/debootstrap.log" >&2
    "${sudo[@]}" rm -rf "$boot"
    echo "debootstrap failed" >&2
    return 1
  fi
  # Packed under a name of its own, then renamed: whole or not at all.
  part=$(mktemp "$cache/$release-minbase.tar.XXXXXX")
  "${sudo[@]}" tar -C "$boot/root" -cf "$part" . && "${sudo[@]}" chown "$(id -u):$(id -g)" "$part" && mv "$part" "$tar"
  "${sudo[@]}" rm -rf "$boot"
  [ -s "$tar" ] || { rm -f "$part"; echo "could not pack the bootstrapped system" >&2; return 1; }
  echo "$tar"
}
