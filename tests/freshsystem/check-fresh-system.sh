#!/usr/bin/env bash
# Installs the Debian package into a freshly bootstrapped, minimal Debian 12
# (without recommends) and uses the clock there as a new user would: as an
# ordinary user on an X display of the host, the window appears, F1 shows the
# help, a look chosen through the menu lands in ~/.config, SIGTERM ends it
# with 0; then once as root, and a purge that leaves nothing behind.
#   check-fresh-system.sh <build folder>
# The bootstrapped system is kept, packed, in the user's cache folder and
# unpacked anew for every run, so no run sees what an earlier one left.
set -euo pipefail
build=$(readlink -f "$1")
cache=${XDG_CACHE_HOME:-$HOME/.cache}/lumitakt
fail() { echo "FAIL: $*"; exit 1; }
[ "$(id -u)" -eq 0 ] || { [ -n "${CI:-}" ] && fail "this test bootstraps a system and must run as root"; echo "SKIP: needs root"; exit 0; }
for tool in debootstrap Xvfb openbox xdotool xprop; do command -v "$tool" >/dev/null || fail "$tool is missing"; done

# The archive the machine installs from, as its apt sources name it.
sources=/etc/apt/sources.list.d/debian.sources
mirror=$( { [ -f "$sources" ] && sed -n 's/^URIs: *\([^ ]*\/debian\)$/\1/p' "$sources"; \
            grep -hs '^deb ' /etc/apt/sources.list | awk '$2 ~ /\/debian\/?$/ {print $2}' || true; } | head -n 1)
[ -n "$mirror" ] || fail "no Debian archive in the apt sources"

work=$(mktemp -d)
root="$work/root"
xvfb=""; wm=""; clock=""
cleanup() {
  [ -n "$clock" ] && kill "$clock" 2>/dev/null || true
  [ -n "$wm" ] && kill "$wm" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  for m in tmp/.X11-unix var/cache/apt/archives dev/pts dev proc sys; do
    mountpoint -q "$root/$m" 2>/dev/null && umount -l "$root/$m"
  done
  rm -rf "$work"
}
trap cleanup EXIT

# The minimal system, bootstrapped once and kept packed.
mkdir -p "$cache/archives"
if [ ! -s "$cache/bookworm-minbase.tar" ]; then
  echo "fresh system: bootstrapping Debian 12 (minbase) from $mirror"
  debootstrap --variant=minbase bookworm "$work/boot" "$mirror" > "$work/debootstrap.log" 2>&1 \
    || { tail -n 20 "$work/debootstrap.log"; fail "debootstrap failed"; }
  tar -C "$work/boot" -cf "$cache/bookworm-minbase.tar.part" . && mv "$cache/bookworm-minbase.tar.part" "$cache/bookworm-minbase.tar"
  rm -rf "$work/boot"
fi
mkdir "$root"
tar -C "$root" -xf "$cache/bookworm-minbase.tar"

# The package sources the machine uses; fetched packages are kept between runs.
if [ -f "$sources" ]; then
  cp "$sources" "$root/etc/apt/sources.list.d/debian.sources"
  rm -f "$root/etc/apt/sources.list"
fi
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
mount -t proc proc "$root/proc"
mount --bind /sys "$root/sys"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
mount --bind "$cache/archives" "$root/var/cache/apt/archives"
mkdir -p "$root/tmp/.X11-unix" && mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 "$@"; }

(cd "$build" && cpack -G DEB >/dev/null) || fail "cpack failed"
deb=$(ls "$build"/lumitakt_*.deb | head -n 1)
cp "$deb" "$root/tmp/lumitakt.deb"
in_root apt-get update -qq > "$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "apt-get update failed in the fresh system"; }
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends /tmp/lumitakt.deb \
  > "$work/apt.log" 2>&1 || { tail -n 30 "$work/apt.log"; fail "the package does not install on a fresh system"; }
echo "fresh system: installed with $(in_root dpkg-query -W -f='${binary:Package}\n' | wc -l) packages"

# An X display of the host, with a window manager, that the fresh system shares.
display=""
for n in $(seq 150 199); do
  [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { display=":$n"; break; }
done
[ -n "$display" ] || fail "no free display"
Xvfb "$display" -nolisten tcp -screen 0 1024x768x24 > "$work/xvfb.log" 2>&1 & xvfb=$!
export DISPLAY=$display
for _ in $(seq 150); do xprop -root >/dev/null 2>&1 && break; sleep 0.2; done
xprop -root >/dev/null 2>&1 || { cat "$work/xvfb.log"; fail "Xvfb did not come up on $display"; }
# openbox is up once it says which window it activates, which xdotool asks
# for; one that ends before that is started again.
wm_up() { xprop -root _NET_SUPPORTED 2>/dev/null | grep -q _NET_ACTIVE_WINDOW; }
for _ in 1 2 3; do
  openbox --sm-disable > "$work/openbox.log" 2>&1 & wm=$!
  for _ in $(seq 150); do wm_up && break; kill -0 "$!" 2>/dev/null || break; sleep 0.2; done
  wm_up && break
done
wm_up || { cat "$work/openbox.log"; fail "openbox did not come up"; }

# The first visible window of a process that matches, waiting up to 20 s.
window_of() {
  local pid=$1 found=""; shift
  for _ in $(seq 100); do
    found=$(xdotool search --onlyvisible --pid "$pid" "$@" 2>/dev/null | head -n 1) && [ -n "$found" ] && break
    sleep 0.2
  done
  echo "$found"
}

# Runs the installed clock in the fresh system as USER; sets $clock and $window.
start_clock() {
  in_root useradd --create-home "$1" 2>/dev/null || true
  chroot "$root" setpriv --reuid="$1" --regid="$1" --init-groups --reset-env \
    env DISPLAY="$display" LANG=C.UTF-8 /usr/bin/lumitakt > "$work/clock-$1.log" 2>&1 & clock=$!
  window=$(window_of "$clock" --classname '^lumitakt$')
  [ -n "$window" ] || { cat "$work/clock-$1.log"; fail "the clock shows no window for $1"; }
  sleep 1
}
end_clock() {
  kill -TERM "$clock"
  status=0; wait "$clock" || status=$?
  clock=""
  [ "$status" -eq 0 ] || { cat "$work/clock-$1.log"; fail "SIGTERM ended the clock with $status"; }
}
keys() { for k in "$@"; do xdotool key "$k"; sleep 0.3; done; }

start_clock tester
# F1: the help window, with the help document in it (its title says so).
xdotool windowactivate --sync "$window"; keys F1
help=$(window_of "$clock" --name '^Lumitakt .+ Hilfe$')
[ -n "$help" ] || { cat "$work/clock-tester.log"; fail "F1 shows no help"; }
xdotool windowactivate --sync "$help"; keys Escape
# A look through the menu: Eigenschaften, LED grün.
xdotool windowactivate --sync "$window"; keys M E Down Down Return
ini="$root/home/tester/.config/Lumitakt/Lumitakt.ini"
for _ in $(seq 25); do [ -f "$ini" ] && head -n 1 "$ini" | grep -qa $'^gr\xfcn\r$' && break; sleep 0.2; done
head -n 1 "$ini" 2>/dev/null | grep -qa $'^gr\xfcn\r$' || fail "the chosen look is not in ~/.config/Lumitakt/Lumitakt.ini"
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
