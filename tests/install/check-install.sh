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
  # Made in the test's own folder: tests beside it make theirs.
  (cd "$build" && cpack -G DEB -B "$stage/package" >/dev/null) || fail "cpack failed"
  deb=$(ls "$stage"/package/lumitakt_*.deb)
  depends=$(dpkg-deb -f "$deb" Depends)
  echo "package: $(basename "$deb"), Depends: $depends"
  for need in libqt6widgets6 libpulse0 libsndfile1 fonts-liberation fonts-dejavu-core; do
    grep -q "$need" <<<"$depends" || fail "the package does not depend on $need"
  done
  # One short WAV file needs no codec stack.
  ! grep -q multimedia <<<"$depends" || fail "the package depends on Qt Multimedia"
  contents=$(dpkg-deb -c "$deb")
  for path in ./usr/bin/lumitakt ./usr/libexec/lumitakt/lumitakt-sync ./usr/share/polkit-1/actions/$app.sync.policy \
              ./usr/share/lumitakt/Termin.wav ./usr/share/lumitakt/Lumitakt.html \
              ./usr/share/applications/$app.desktop ./usr/share/metainfo/$app.metainfo.xml \
              ./usr/share/icons/hicolor/16x16/apps/$app.png; do
    grep -q " $path" <<<"$contents" || fail "the package lacks $path"
  done
  # Debian's own checker finds nothing to say, down to its pedantic and
  # informational tags, but for overrides that give their reason.
  tags=$(lintian -i -I --pedantic --allow-root --tag-display-limit 0 "$deb" 2>&1) || fail "lintian failed: $tags"
  [ -z "$tags" ] || fail "lintian: $tags"
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
