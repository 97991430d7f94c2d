#!/usr/bin/env bash
# Installs the build into a staging folder and checks that every file is in
# its place, that the desktop entry and the metainfo validate, and that the
# installed program starts. With "package", also builds the Debian package
# and checks its contents and dependencies.
#   check-install.sh <build folder> [package]
set -euo pipefail
build=$(readlink -f "$1")
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
root="$stage/usr"
app=org.lumitakt.Lumitakt

[ -L "$root/bin/lumitakt" ] || fail "bin/lumitakt is not a link"
[ "$(readlink "$root/bin/lumitakt")" = ../lib/lumitakt/lumitakt ] || fail "bin/lumitakt points elsewhere"
[ -x "$root/lib/lumitakt/lumitakt" ] || fail "no executable in lib/lumitakt"
for f in Termin.wav Lumitakt.html; do [ -s "$root/lib/lumitakt/$f" ] || fail "lib/lumitakt/$f missing"; done
[ -x "$root/lib/lumitakt/lumitakt-sync" ] || fail "no clock-setting helper in lib/lumitakt"
# The polkit action names the helper by the path it is installed to.
policy="$root/share/polkit-1/actions/$app.sync.policy"
[ -s "$policy" ] || fail "polkit policy missing"
value() { xmllint --nonet --xpath "string(/policyconfig/action[@id='$app.sync']/$1)" "$policy"; }
[ "$(value defaults/allow_any)" = no ] || fail "policy: allow_any"
[ "$(value defaults/allow_inactive)" = no ] || fail "policy: allow_inactive"
[ "$(value defaults/allow_active)" = auth_admin_keep ] || fail "policy: allow_active"
[ "$(value "annotate[@key='org.freedesktop.policykit.exec.path']")" = /usr/lib/lumitakt/lumitakt-sync ] || fail "policy: exec.path"
[ -n "$(value "message[@xml:lang='de']")" ] && [ -n "$(value "message[not(@xml:lang)]")" ] || fail "policy: messages"
# Every picture the help shows is installed beside it.
for picture in $(grep -o 'src="[^"]*"' "$root/lib/lumitakt/Lumitakt.html" | sed 's/src="//; s/"$//'); do
  [ -s "$root/lib/lumitakt/$picture" ] || fail "help picture $picture missing"
done
for size in 16 32 48 64 128 256; do
  icon="$root/share/icons/hicolor/${size}x${size}/apps/$app.png"
  [ -s "$icon" ] || fail "icon $size missing"
  file "$icon" | grep -q "$size x $size" || fail "icon $size has the wrong size"
done
[ -s "$root/share/icons/hicolor/scalable/apps/$app.svg" ] || fail "scalable icon missing"
for page in man/man1/lumitakt.1.gz man/en/man1/lumitakt.1.gz doc/lumitakt/copyright doc/lumitakt/changelog.gz; do
  [ -s "$root/share/$page" ] || fail "share/$page missing"
done
# The manual pages render without a warning, and say where the settings live.
for page in "$root"/share/man/man1/lumitakt.1.gz "$root"/share/man/en/man1/lumitakt.1.gz; do
  warnings=$(zcat "$page" | groff -man -Tutf8 -ww -z 2>&1)
  [ -z "$warnings" ] || fail "$page: $warnings"
  zcat "$page" | grep -q 'Lumitakt\.ini' || fail "$page does not name the settings file"
  zcat "$page" | grep -q '~/.config/Lumitakt/Lumitakt\.ini' || fail "$page does not name the user's settings file"
done
[ "$(LC_ALL=C LANG=C LANGUAGE= man --manpath="$root/share/man" -w lumitakt)" = "$root/share/man/man1/lumitakt.1.gz" ] || fail "man does not find the page"
desktop-file-validate "$root/share/applications/$app.desktop" || fail "desktop entry does not validate"
appstreamcli validate --no-net "$root/share/metainfo/$app.metainfo.xml" || fail "metainfo does not validate"

# The installed program starts from its link and keeps running.
status=0
QT_QPA_PLATFORM=offscreen HOME="$stage" timeout 3 "$root/bin/lumitakt" >/dev/null 2>&1 || status=$?
[ "$status" -eq 124 ] || fail "the installed program ended with $status"
echo "install: all files in place"

if [ "${2:-}" = package ]; then
  (cd "$build" && cpack -G DEB >/dev/null) || fail "cpack failed"
  deb=$(ls "$build"/lumitakt_*.deb | head -n 1)
  depends=$(dpkg-deb -f "$deb" Depends)
  echo "package: $(basename "$deb"), Depends: $depends"
  for need in libqt6widgets6 libpulse0 libsndfile1 fonts-liberation; do
    grep -q "$need" <<<"$depends" || fail "the package does not depend on $need"
  done
  # One short WAV file needs no codec stack.
  ! grep -q multimedia <<<"$depends" || fail "the package depends on Qt Multimedia"
  contents=$(dpkg-deb -c "$deb")
  for path in ./usr/bin/lumitakt ./usr/lib/lumitakt/lumitakt ./usr/lib/lumitakt/lumitakt-sync ./usr/share/polkit-1/actions/$app.sync.policy \
              ./usr/lib/lumitakt/Termin.wav ./usr/lib/lumitakt/Lumitakt.html \
              ./usr/share/applications/$app.desktop ./usr/share/metainfo/$app.metainfo.xml \
              ./usr/share/icons/hicolor/16x16/apps/$app.png; do
    grep -q " $path" <<<"$contents" || fail "the package lacks $path"
  done
  # Debian's own checker finds nothing to complain of.
  lintian --fail-on error,warning --allow-root "$deb" || fail "lintian finds fault with the package"
  # Unpacked, it runs.
  mkdir "$stage/deb" && dpkg-deb -x "$deb" "$stage/deb"
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
