#!/usr/bin/env bash
# Installs the Debian package into a freshly bootstrapped, minimal Debian 12
# (without recommends) and uses the clock there as a new user would: as an
# ordinary user on an X display of the host, the window appears, F1 shows the
# help, a look chosen through the menu lands in ~/.config, SIGTERM ends it
# with 0; then once as root, and a purge that leaves nothing behind.
#   check-fresh-system.sh
# The package is $LUMITAKT_DEB where ./dev test has built it; otherwise
# the test builds it.
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
. "$here/../support/xsession.sh"
. "$here/../support/minbase.sh"
cache=${XDG_CACHE_HOME:-$HOME/.cache}/lumitakt
fail() { echo "FAIL: $*"; exit 1; }
[ "$(id -u)" -eq 0 ] || { [ -n "${CI:-}" ] && fail "this test bootstraps a system and must run as root"; echo "SKIP: needs root"; exit 0; }
for tool in debootstrap Xvfb openbox xdotool xprop xmessage; do command -v "$tool" >/dev/null || fail "$tool is missing"; done

work=$(mktemp -d)
root="$work/root"
clock=""
cleanup() {
  [ -n "$clock" ] && kill "$clock" 2>/dev/null || true
  x_stop
  for m in tmp/.X11-unix dev/pts dev proc sys; do
    mountpoint -q "$root/$m" 2>/dev/null && umount -l "$root/$m"
  done
  rm -rf "$work"
}
trap cleanup EXIT

minbase=$(minbase_tar) || fail "no minimal Debian 12"
mkdir -p "$cache/archives"
mkdir "$root"
tar -C "$root" -xf "$minbase"

# The package sources the machine uses; fetched packages are kept between runs.
sources=/etc/apt/sources.list.d/debian.sources
if [ -f "$sources" ]; then
  cp "$sources" "$root/etc/apt/sources.list.d/debian.sources"
  rm -f "$root/etc/apt/sources.list"
fi
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
mount -t proc proc "$root/proc"
mount --bind /sys "$root/sys"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
# The packages fetched by earlier runs, copied in: apt locks its archive
# folder, so a run beside this one could not share it.
for deb in "$cache"/archives/*.deb; do
  target="$root/var/cache/apt/archives/${deb##*/}"
  [ ! -e "$deb" ] || [ -e "$target" ] || cp -l "$deb" "$target" 2>/dev/null || cp "$deb" "$target"
done
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 "$@"; }

# The package ./dev test built, or one made in the test's own folder.
deb=${LUMITAKT_DEB:-}
if [ -z "$deb" ]; then
  DEB_BUILD_OPTIONS=nocheck "$here/../../tools/build-package.sh" "$work/package" -us -uc -b >/dev/null || fail "the package build failed"
  deb=$(ls "$work"/package/lumitakt_*_*.deb)
fi
cp "$deb" "$root/tmp/lumitakt.deb"
in_root apt-get update -qq > "$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "apt-get update failed in the fresh system"; }
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends /tmp/lumitakt.deb \
  > "$work/apt.log" 2>&1 || { tail -n 30 "$work/apt.log"; fail "the package does not install on a fresh system"; }
# What this run fetched is kept for the next, each file whole or not at all.
for deb in "$root"/var/cache/apt/archives/*.deb; do
  [ -e "$deb" ] && [ ! -e "$cache/archives/${deb##*/}" ] && { cp "$deb" "$cache/archives/.${deb##*/}.$$" && mv "$cache/archives/.${deb##*/}.$$" "$cache/archives/${deb##*/}"; }
done
echo "fresh system: installed with $(in_root dpkg-query -W -f='${binary:Package}\n' | wc -l) packages"

# An X display of the host, with a window manager, that the fresh system
# shares: its socket folder, which x_start makes for root, is bound into it.
x_start "$work/x" || fail "no X display"
mkdir -p "$root/tmp/.X11-unix" && mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"

# Runs the installed clock in the fresh system as USER; sets $clock and $window.
start_clock() {
  in_root useradd --create-home "$1" 2>/dev/null || true
  chroot "$root" setpriv --reuid="$1" --regid="$1" --init-groups --reset-env \
    env DISPLAY="$DISPLAY" LANG=C.UTF-8 /usr/bin/lumitakt > "$work/clock-$1.log" 2>&1 & clock=$!
  window=$(x_window "$clock" --classname '^lumitakt$') || { cat "$work/clock-$1.log"; fail "the clock shows no window for $1"; }
}
end_clock() {
  kill -TERM "$clock"
  status=0; wait "$clock" || status=$?
  clock=""
  [ "$status" -eq 0 ] || { cat "$work/clock-$1.log"; fail "SIGTERM ended the clock with $status"; }
}

start_clock tester
# F1: the help window, with the help document in it (its title says so).
x_keys "$window" F1 || fail "the clock window does not become active"
help=$(x_window "$clock" --name '^Lumitakt .+ Hilfe$') || { cat "$work/clock-tester.log"; fail "F1 shows no help"; }
x_keys "$help" Escape || fail "the help window does not become active"
# A look through the menu: Eigenschaften, LED grün.
x_menu "$window" E Down Down Return || fail "the menu did not choose LED grün"
ini="$root/home/tester/.config/Lumitakt/Lumitakt.ini"
look_is_green() { head -n 1 "$ini" 2>/dev/null | grep -qa $'^gr\xfcn\r$'; }
x_wait 20 look_is_green || fail "the chosen look is not in ~/.config/Lumitakt/Lumitakt.ini"
end_clock tester
echo "fresh system: the clock ran as an ordinary user, showed its help, kept its look, ended on SIGTERM"

# Once as root: nothing is written under /usr.
start_clock root
end_clock root
[ -f "$root/root/.config/Lumitakt/Lumitakt.ini" ] || fail "root's settings are not in /root/.config"
# A settings file an older version wrote into its own folder goes with the purge.
mkdir -p "$root/usr/lib/lumitakt" && printf 'rot\r\n' > "$root/usr/lib/lumitakt/Lumitakt.ini"
in_root env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq lumitakt > "$work/apt.log" 2>&1 \
  || { tail -n 30 "$work/apt.log"; fail "purge failed"; }
left=$(cd "$root" && find usr etc -iname '*lumitakt*' 2>/dev/null)
[ -z "$left" ] || fail "the purge left: $left"
echo "fresh system: purged, nothing left under /usr and /etc"
echo "1 passed, 0 failed"
