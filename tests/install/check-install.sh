#!/usr/bin/env bash
# Installs the build into a staging folder and checks that every file is in
# its place, that the desktop entry and the metainfo validate, and that the
# installed program starts. With "package", also checks the Debian package's
# contents and dependencies: $LUMITAKT_DEB where ./dev test has built it,
# otherwise one the test builds.
#   check-install.sh <build folder> [package]
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
build=$(readlink -f "$1")
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
root="$stage/usr"
app=org.lumitakt.Lumitakt

# Laid out as Debian lays out a program.
[ -f "$root/bin/lumitakt" ] && [ ! -L "$root/bin/lumitakt" ] && [ -x "$root/bin/lumitakt" ] || fail "bin/lumitakt is no program"
for f in Termin.wav Lumitakt.html; do [ -s "$root/share/lumitakt/$f" ] || fail "share/lumitakt/$f missing"; done
[ -x "$root/libexec/lumitakt/lumitakt-sync" ] || fail "no clock-setting helper in libexec/lumitakt"
[ ! -e "$root/lib" ] || fail "something was installed into lib: $(ls -R "$root/lib")"
# The polkit action names the helper by the path it is installed to.
policy="$root/share/polkit-1/actions/$app.sync.policy"
[ -s "$policy" ] || fail "polkit policy missing"
value() { xmllint --nonet --xpath "string(/policyconfig/action[@id='$app.sync']/$1)" "$policy"; }
[ "$(value defaults/allow_any)" = no ] || fail "policy: allow_any"
[ "$(value defaults/allow_inactive)" = no ] || fail "policy: allow_inactive"
[ "$(value defaults/allow_active)" = auth_admin_keep ] || fail "policy: allow_active"
[ "$(value "annotate[@key='org.freedesktop.policykit.exec.path']")" = /usr/libexec/lumitakt/lumitakt-sync ] || fail "policy: exec.path"
[ -n "$(value "message[@xml:lang='de']")" ] && [ -n "$(value "message[not(@xml:lang)]")" ] || fail "policy: messages"
# Every picture the help shows is installed beside it.
for picture in $(grep -o 'src="[^"]*"' "$root/share/lumitakt/Lumitakt.html" | sed 's/src="//; s/"$//'); do
  [ -s "$root/share/lumitakt/$picture" ] || fail "help picture $picture missing"
done
for size in 16 32 48 64 128 256; do
  icon="$root/share/icons/hicolor/${size}x${size}/apps/$app.png"
  [ -s "$icon" ] || fail "icon $size missing"
  file "$icon" | grep -q "$size x $size" || fail "icon $size has the wrong size"
done
[ -s "$root/share/icons/hicolor/scalable/apps/$app.svg" ] || fail "scalable icon missing"
# A plain install is no package: the manual pages stay uncompressed, and
# the copyright, the changelog and lintian's overrides are the packaging's.
for page in man/man1/lumitakt.1 man/de/man1/lumitakt.1; do
  [ -s "$root/share/$page" ] || fail "share/$page missing"
done
[ ! -e "$root/share/doc" ] && [ ! -e "$root/share/lintian" ] || fail "the plain install writes packaging files: $(ls -d "$root"/share/doc "$root"/share/lintian 2>/dev/null)"
# The help pictures carry no time stamps, so the same source gives the same bytes.
! grep -lac 'tIME\|date:create' "$root"/share/lumitakt/help/*.png >/dev/null || fail "help pictures with time stamps: $(grep -lac 'tIME\|date:create' "$root"/share/lumitakt/help/*.png)"
# The manual pages render without a warning, and say where the settings live.
for page in "$root"/share/man/man1/lumitakt.1 "$root"/share/man/de/man1/lumitakt.1; do
  warnings=$(groff -man -Tutf8 -ww -z "$page" 2>&1)
  [ -z "$warnings" ] || fail "$page: $warnings"
  grep -q 'Lumitakt\.ini' "$page" || fail "$page does not name the settings file"
  grep -q '~/.config/Lumitakt/Lumitakt\.ini' "$page" || fail "$page does not name the user's settings file"
done
[ "$(LC_ALL=C LANG=C LANGUAGE= man --manpath="$root/share/man" -w lumitakt)" = "$root/share/man/man1/lumitakt.1" ] || fail "man does not find the page"
# man looks into a path's language folders only where MANPATH names it, not --manpath.
[ "$(LC_ALL=C LANG=C LANGUAGE= MANPATH="$root/share/man" man -L de -w lumitakt)" = "$root/share/man/de/man1/lumitakt.1" ] || fail "man does not find the German page"
desktop-file-validate "$root/share/applications/$app.desktop" || fail "desktop entry does not validate"
appstreamcli validate --no-net "$root/share/metainfo/$app.metainfo.xml" || fail "metainfo does not validate"

# The installed program starts from its link and keeps running.
status=0
QT_QPA_PLATFORM=offscreen HOME="$stage" timeout 3 "$root/bin/lumitakt" >/dev/null 2>&1 || status=$?
[ "$status" -eq 124 ] || fail "the installed program ended with $status"
# Starts the program (a command that execs it), waits until it is up, its
# handler for SIGTERM in place (SigCgt in /proc), then ends it as the end of
# a session does; a busy machine only makes the wait longer. Sets status
# and said: what it wrote, through a pipe, which a file size limit does not
# cover.
end_like_a_session() {
  local pid reader caught
  rm -f "$stage/said.pipe" && mkfifo "$stage/said.pipe"
  cat "$stage/said.pipe" > "$stage/said" & reader=$!
  "$@" > "$stage/said.pipe" 2>&1 & pid=$!
  for _ in $(seq 600); do
    caught=$(sed -n 's/^SigCgt:[[:space:]]*//p' "/proc/$pid/status" 2>/dev/null)
    [ -n "$caught" ] && (( (16#$caught >> 14) & 1 )) && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -TERM "$pid" 2>/dev/null || true
  status=0; wait "$pid" || status=$?
  wait "$reader" || true
  said=$(cat "$stage/said")
}
# With no room to write (a file size limit standing in for a full disk) the
# settings are not written, it says so, and the session's end still ends it
# cleanly.
end_like_a_session bash -c 'ulimit -f 0 && exec env QT_QPA_PLATFORM=offscreen HOME="$1" "$2"' _ "$stage/nospace" "$root/bin/lumitakt"
[ "$status" -eq 0 ] || fail "with no room to write, SIGTERM ended the program with $status"
grep -q 'could not write the settings' <<<"$said" || fail "with no room to write, the program did not say so: $said"
# Settings only where the XDG rules put them: a relative XDG_CONFIG_HOME is
# ignored; with no HOME the settings stay in memory, and the clock says so.
mkdir -p "$stage/cwd" "$stage/home"
end_like_a_session bash -c 'cd "$1" && exec env QT_QPA_PLATFORM=offscreen HOME="$2" XDG_CONFIG_HOME=relative "$3"' _ \
  "$stage/cwd" "$stage/home" "$root/bin/lumitakt"
[ "$status" -eq 0 ] && [ -f "$stage/home/.config/Lumitakt/Lumitakt.ini" ] && [ ! -e "$stage/cwd/relative" ] \
  || fail "with a relative XDG_CONFIG_HOME the settings went to: $(cd "$stage" && find cwd home -type f)"
[ -e /.config/Lumitakt ] && fail "/.config/Lumitakt is there before the run without HOME"
end_like_a_session bash -c 'cd "$1" && exec env -u HOME -u XDG_CONFIG_HOME QT_QPA_PLATFORM=offscreen "$2"' _ \
  "$stage/cwd" "$root/bin/lumitakt"
[ ! -e /.config/Lumitakt ] || { rm -rf /.config/Lumitakt; rmdir /.config 2>/dev/null; fail "without HOME the settings went to /.config"; }
[ "$status" -eq 0 ] || fail "without HOME the program ended with $status"
[ "$(grep -c 'no folder for the settings' <<<"$said")" -eq 1 ] || fail "without HOME the program did not say once where its settings are: $said"
# Names from the settings file reach the terminal as text: the control
# characters of a refused server name are written out, never sent raw.
mkdir -p "$stage/esc/.config/Lumitakt"
printf 'rot\r\n 0 \r\n 0 \r\n\033]0;title\007\033[2J\r\n 1 \r\n' > "$stage/esc/.config/Lumitakt/Lumitakt.ini"
end_like_a_session env QT_QPA_PLATFORM=offscreen HOME="$stage/esc" "$root/bin/lumitakt"
grep -qF '\x1b]0;title\x07\x1b[2J' <<<"$said" || fail "the refused server name is not written out: $said"
! grep -q $'\033' <<<"$said" || fail "control characters from the settings file reached the terminal: $(cat -v <<<"$said")"
# A start that hangs (a display that never answers) still ends with the session.
python3 -c '
import socket, sys
for n in range(50, 100):
    s = socket.socket()
    try:
        s.bind(("127.0.0.1", 6000 + n))
    except OSError:
        continue
    s.listen(4)
    print(n, flush=True)
    break
else:
    sys.exit(1)
held = []
while True:
    held.append(s.accept()[0])
' > "$stage/display" & silent=$!
for _ in $(seq 100); do [ -s "$stage/display" ] && break; sleep 0.1; done
[ -s "$stage/display" ] || fail "no display that never answers could be made"
mkdir -p "$stage/hang"
env QT_QPA_PLATFORM=xcb DISPLAY="127.0.0.1:$(cat "$stage/display")" HOME="$stage/hang" "$root/bin/lumitakt" >/dev/null 2>&1 & pid=$!
sleep 2
kill -0 "$pid" 2>/dev/null || fail "the clock did not wait for the display that never answers"
kill -TERM "$pid"
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then kill -KILL "$pid"; kill "$silent"; fail "a start that hangs did not end on SIGTERM"; fi
wait "$pid" || true
kill "$silent"; wait "$silent" 2>/dev/null || true
# Root with another user's HOME (sudo -E) leaves nothing of root's there.
if [ "$(id -u)" -eq 0 ]; then
  mkdir -p "$stage/user/.config" && chown -R nobody: "$stage/user"
  end_like_a_session env QT_QPA_PLATFORM=offscreen HOME="$stage/user" "$root/bin/lumitakt"
  [ "$status" -eq 0 ] || fail "root with a user's HOME ended with $status"
  [ -z "$(find "$stage/user" -user root)" ] || fail "root left files in the user's home: $(find "$stage/user" -user root)"
  grep -q 'belongs to another user' <<<"$said" || fail "root with a user's HOME did not say why it writes nothing: $said"
  # Nor does it follow that user's link to a folder of root's: nothing there
  # is read (the refused server name would show it) or written.
  mkdir -p "$stage/linked" "$stage/roots/Lumitakt"
  printf 'blau\r\n 0 \r\n 0 \r\ngeheim wert\r\n 1 \r\n' > "$stage/roots/Lumitakt/Lumitakt.ini"
  chmod 600 "$stage/roots/Lumitakt/Lumitakt.ini"
  ln -s "$stage/roots" "$stage/linked/.config" && chown -h nobody: "$stage/linked/.config" "$stage/linked"
  before=$(cd "$stage/roots" && find . -printf '%p %s %T@\n' | sort)
  end_like_a_session env QT_QPA_PLATFORM=offscreen HOME="$stage/linked" "$root/bin/lumitakt"
  [ "$status" -eq 0 ] || fail "root with a user's link ended with $status"
  [ "$(cd "$stage/roots" && find . -printf '%p %s %T@\n' | sort)" = "$before" ] || fail "root wrote through a user's link: $(ls -la "$stage/roots/Lumitakt")"
  ! grep -q geheim <<<"$said" || fail "root read a file through a user's link: $said"
  grep -q 'symbolic link' <<<"$said" || fail "root with a user's link did not say why it reads nothing: $said"
fi
echo "install: all files in place"

if [ "${2:-}" = package ]; then
  deb=${LUMITAKT_DEB:-}
  if [ -z "$deb" ]; then
    DEB_BUILD_OPTIONS=nocheck "$here/../../tools/build-package.sh" "$stage/package" -us -uc -b >/dev/null || fail "the package build failed"
    deb=$(ls "$stage"/package/lumitakt_*_*.deb)
  fi
  # The package's version is the program's.
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
  [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package is version $(dpkg-deb -f "$deb" Version), the program $version"
  depends=$(dpkg-deb -f "$deb" Depends)
  echo "package: $(basename "$deb"), Depends: $depends"
  for need in libqt6widgets6 libpulse0 libsndfile1 fonts-liberation fonts-dejavu-core; do
    grep -q "$need" <<<"$depends" || fail "the package does not depend on $need"
  done
  # One short WAV file needs no codec stack.
  ! grep -q multimedia <<<"$depends" || fail "the package depends on Qt Multimedia"
  contents=$(dpkg-deb -c "$deb")
  # The layout of the installed program, with the packaging's own files.
  for path in ./usr/bin/lumitakt ./usr/libexec/lumitakt/lumitakt-sync ./usr/share/polkit-1/actions/$app.sync.policy \
              ./usr/share/lumitakt/Termin.wav ./usr/share/lumitakt/Lumitakt.html ./usr/share/lumitakt/help/menue.png \
              ./usr/share/applications/$app.desktop ./usr/share/metainfo/$app.metainfo.xml \
              ./usr/share/icons/hicolor/16x16/apps/$app.png ./usr/share/icons/hicolor/scalable/apps/$app.svg \
              ./usr/share/man/man1/lumitakt.1.gz ./usr/share/man/de/man1/lumitakt.1.gz \
              ./usr/share/doc/lumitakt/copyright ./usr/share/doc/lumitakt/changelog.gz ./usr/share/lintian/overrides/lumitakt; do
    grep -q " $path\$" <<<"$contents" || fail "the package lacks $path"
  done
  # The shipped programs are hardened and carry no compiler notes.
  dpkg-deb -x "$deb" "$stage/deb"
  for program in "$stage/deb/usr/bin/lumitakt" "$stage/deb/usr/libexec/lumitakt/lumitakt-sync"; do
    readelf -d "$program" | grep -q 'BIND_NOW' || fail "$program is not bound at start"
    readelf -lW "$program" | grep -q GNU_RELRO || fail "$program has no read-only relocations"
    ! readelf -SW "$program" | grep -qE '\.comment|\] \.note ' || fail "$program keeps .comment or .note"
  done
  # purge takes the settings file an older version may have left in its folder.
  dpkg-deb -e "$deb" "$stage/control"
  grep -q 'rm -f /usr/lib/lumitakt/Lumitakt.ini' "$stage/control/postrm" || fail "postrm does not purge the old settings file"
  # Unpacked, it runs.
  status=0
  QT_QPA_PLATFORM=offscreen HOME="$stage" timeout 3 "$stage/deb/usr/bin/lumitakt" >/dev/null 2>&1 || status=$?
  [ "$status" -eq 124 ] || fail "the packaged program ended with $status"
  # Its dependencies can be met from the package sources (where apt knows them).
  if command -v apt-get >/dev/null && apt-cache policy libqt6widgets6 2>/dev/null | grep -q 'Candidate: [0-9]'; then
    apt-get install --simulate --no-install-recommends "$deb" >/dev/null 2>&1 || fail "apt cannot install the package"
  fi
  echo "package: contents and dependencies in order"
fi
echo "1 passed, 0 failed"
