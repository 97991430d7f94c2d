#!/usr/bin/env bash
# Lumitakt for Windows under Wine, as a user meets it, on an X display of its
# own with openbox: the portable program from its zip (German caption, kept
# on top, the face pixel for pixel the Linux build's, the look it is given
# kept beside it, one clock for two starts), then the installer run silently, the installed program
# keeping its settings in the user's profile when the session ends, installer
# and uninstaller leaving a running program whole, and the uninstaller
# leaving nothing behind.
#
#   tests/windows/check-wine.sh BUILD_WIN LINUX_BUILD
#
# BUILD_WIN: the folder ./dev windows fills; LINUX_BUILD: a Linux build folder.
# With LUMITAKT_SCREENSHOT=FILE it keeps a picture of the portable clock there.
set -euo pipefail
. "$(dirname "$(readlink -f "$0")")/../support/xsession.sh"
build=$(readlink -f "$1")
linux=$(readlink -f "$2")
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in wine wineserver Xvfb openbox xdotool xprop xmessage wmctrl import compare localedef x86_64-w64-mingw32-gcc; do
  command -v "$tool" >/dev/null || fail "$tool is missing"
done
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
zip="$build/Lumitakt-$version-win64.zip"
setup="$build/Lumitakt-$version-setup.exe"
[ -f "$zip" ] && [ -f "$setup" ] || fail "build the Windows artifacts first (./dev windows)"

work=$(mktemp -d)
pids=()
# The ordinary user Wine runs as in part 4, with a Wine of its own.
as_user() {
  setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups \
    env -u XDG_RUNTIME_DIR HOME="$work/user" WINEPREFIX="$work/user/wine" "$@"
}
cleanup() {
  wineserver -k 2>/dev/null || true
  [ ! -d "$work/user/wine" ] || as_user wineserver -k 2>/dev/null || true
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  x_stop
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A Wine of the test's own, in German: the locale is made in the work folder,
# so that the system's locales stay as they are.
export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$work/locale"
localedef -i de_DE -f UTF-8 "$work/locale/de_DE.utf8" 2>/dev/null || fail "cannot make the German locale (package locales)"
export LOCPATH="$work/locale"
{ export LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8; } 2>/dev/null

x_start "$work/x" || fail "no X display"
wineboot --init >/dev/null 2>&1 || true
wineserver -w

# The caption a clock shows today, as a pattern for grep over bytes (a byte
# other than ASCII stands for any byte).
caption="^  $(date +'%d. %B %Y' | LC_ALL=C sed 's/[^ -~]/./g')\$"
# Wine's windows are found by class and caption: xdotool does not find
# them by process reliably.
window_of() { # pid, class; waits up to 60 s for its managed window with today's caption
  local w end=$((SECONDS + 60))
  while [ "$SECONDS" -lt "$end" ]; do
    for w in $(xdotool search --onlyvisible --classname "$2" 2>/dev/null); do
      xdotool getwindowname "$w" 2>/dev/null | LC_ALL=C grep -q "$caption" && x_managed "$w" && { echo "$w"; return 0; }
    done
    kill -0 "$1" 2>/dev/null || break
    sleep 0.2
  done
}
close_and_wait() { # window, pid: closed with its close button, as a user does
  wmctrl -i -c "$1"
  for _ in $(seq 100); do kill -0 "$2" 2>/dev/null || return 0; sleep 0.2; done
  for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do echo "window $w: $(xdotool getwindowname "$w")"; done
  fail "the clock did not end when its window $1 was closed"
}
# The digits of a clock window in the red look: its client area without the
# blinking colon.
digits() { # window, file
  import -window "$1" "$work/full.png"
  convert "$work/full.png" -crop 200x64+0+0 +repage -fill black -draw 'rectangle 86,0 100,64' "$2"
}
# The first line of a settings file, "grün" in Windows-1252.
look_is_green() { [ -f "$1" ] && head -n 1 "$1" | grep -qa $'^gr\xfcn\r$'; }
appdata_ini() { find "$WINEPREFIX/drive_c/users" -path '*/AppData/Roaming/Lumitakt/Lumitakt.ini' | head -n 1; }
installed_look_is_green() { look_is_green "$(appdata_ini)"; }

# 1. The portable program, beside the Linux build of the same source.
mkdir -p "$work/portable" "$work/linux"
(cd "$work/portable" && cmake -E tar xf "$zip")
portable="$work/portable/Lumitakt-$version-win64"
# The manifest Windows reads when it starts the program, read back from the file.
for want in 'level="asInvoker"' 'supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"' '>PerMonitorV2<' \
            'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"'; do
  LC_ALL=C grep -aqF "$want" "$portable/Lumitakt.exe" || fail "the manifest of Lumitakt.exe lacks $want"
done
# Made for Terminal Services (IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE, 0x8000).
characteristics=$(x86_64-w64-mingw32-objdump -p "$portable/Lumitakt.exe" | sed -n 's/^DllCharacteristics[[:space:]]*//p')
(( (16#${characteristics:-0} & 0x8000) != 0 )) || fail "Lumitakt.exe is not marked as aware of Terminal Services: DllCharacteristics ${characteristics:-missing}"
# Someone's own net.exe beside the portable program: it leaves a trace if it
# ever runs. The clock is given a time server to set itself from.
printf '#include <stdio.h>\nint main(void) { FILE *trace = fopen("Z:%s/planted-net-ran", "w"); if (trace) fclose(trace); return 0; }\n' \
  "$work" > "$work/planted.c"
x86_64-w64-mingw32-gcc -o "$portable/net.exe" "$work/planted.c" || fail "cannot build the planted net.exe"
# A process that holds a file open as a running program is held, and the way
# a tool runs an Apps entry's quiet uninstall.
here=$(dirname "$(readlink -f "$0")")
x86_64-w64-mingw32-gcc -municode -o "$work/holdopen.exe" "$here/holdopen.c" \
  && x86_64-w64-mingw32-gcc -municode -o "$work/quietuninstall.exe" "$here/quietuninstall.c" || fail "cannot build the test's helpers"
printf 'rot\r\n 0 \r\n 0 \r\nzeit01\r\n 1 \r\n' > "$portable/Lumitakt.ini"
cp "$linux/src/lumitakt" "$linux/src/Termin.wav" "$linux/src/Lumitakt.portable" "$work/linux/"
# Wine's own log of the processes started shows what the clock starts.
(cd "$portable" && WINEDEBUG=-all,+process exec wine Lumitakt.exe) > "$work/portable.log" 2>&1 & winclock=$!; pids+=($winclock)
"$work/linux/lumitakt" > "$work/linux.log" 2>&1 & linuxclock=$!; pids+=($linuxclock)
window=$(window_of "$winclock" '^lumitakt\.exe$')
[ -n "$window" ] || { xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null || true; fail "the portable program shows no window with the German date ($caption)"; }
xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "the window is not kept on top"
# The task bar's and Alt+Tab's picture is a real one of 32 pixels, not the 16-pixel one enlarged.
xprop -id "$window" _NET_WM_ICON | grep -q 'Icon (32 x 32)' || fail "the window's icon has no 32-pixel picture: $(xprop -id "$window" _NET_WM_ICON | grep 'Icon (')"
linuxwindow=$(window_of "$linuxclock" '^lumitakt$')
[ -n "$linuxwindow" ] || fail "the Linux build shows no window"
# Both start at the top left corner; side by side, each is seen whole.
xdotool windowmove "$linuxwindow" 400 300
linux_moved() { xwininfo -id "$linuxwindow" | grep -q 'Absolute upper-left X: *[1-9]'; }
x_wait 20 linux_moved || fail "the Linux build's window does not move"
same=no
for _ in 1 2 3; do # a new minute between the two pictures: once more
  digits "$window" "$work/windows.png"
  digits "$linuxwindow" "$work/linux.png"
  if [ "$(compare -metric AE "$work/windows.png" "$work/linux.png" null: 2>&1)" = 0 ]; then same=yes; break; fi
  sleep 1
done
if [ "$same" != yes ]; then
  kept=$(mktemp -d "${TMPDIR:-/tmp}/lumitakt-faces.XXXXXX") && cp "$work/windows.png" "$work/linux.png" "$kept/"
  fail "the face differs from the Linux build's (pictures in $kept)"
fi
kill "$linuxclock"
[ -z "${LUMITAKT_SCREENSHOT:-}" ] || import -frame -window "$window" "$LUMITAKT_SCREENSHOT"
echo "wine: the portable program shows the German date, stays on top, draws the face as on Linux"
# A look from the menu (Eigenschaften, LED grün) is kept beside the program.
x_menu "$window" E Down Down Return || fail "the portable program's menu did not choose LED grün"
x_wait 20 look_is_green "$portable/Lumitakt.ini" || fail "the chosen look is not in Lumitakt.ini beside the program"
# "synchronisieren" starts Windows' own net.exe, never the one beside the program.
x_menu "$window" y || fail "the portable program's menu did not choose synchronisieren"
net_started() { LC_ALL=C grep -aiq 'system32\\\\net\.exe' "$work/portable.log"; }
x_wait 20 net_started || fail "synchronisieren did not start Windows' net.exe: $(LC_ALL=C grep -ai 'net\.exe' "$work/portable.log" | head -n 5)"
# Its result is in the log file (Wine's net.exe knows no "time", and ends with 0).
log_has() { find "$WINEPREFIX/drive_c/users" -path '*/AppData/Local/Lumitakt/Lumitakt.log' -exec grep -q "$1" {} +; }
x_wait 20 log_has 'Uhr gestellt von \\\\zeit01' || fail "the log file does not say what net time did"
[ ! -e "$work/planted-net-ran" ] || fail "synchronisieren ran the net.exe beside the program"
# Started again, it brings the running clock out of the task bar and ends.
wm_state() { xprop -id "$window" WM_STATE | grep -q "window state: $1"; }
x_keys "$window" m && x_wait 10 wm_state Iconic || fail "m did not minimise the portable program"
status=0
(cd "$portable" && exec timeout 60 wine Lumitakt.exe) > "$work/again.log" 2>&1 || status=$?
[ "$status" -eq 0 ] || fail "a second start of the portable program ended with $status (124: it ran beside the first)"
x_wait 10 wm_state Normal || fail "a second start did not bring the running clock back"
[ "$(xdotool search --onlyvisible --classname '^lumitakt\.exe$' | wc -l)" -eq 1 ] || fail "two starts show more than one clock"
close_and_wait "$window" "$winclock"
# Lock and request live in %LOCALAPPDATA%\Lumitakt, and go with the clock.
locks() { find "$WINEPREFIX/drive_c/users" "$portable" \( -name '*.lock' -o -name '*.show' \) -path '*Lumitakt*'; }
[ -z "$(locks)" ] || fail "the clock left its lock behind: $(locks)"
echo "wine: the portable program keeps its look in Lumitakt.ini beside itself, and a second start brings it back"
echo "wine: Lumitakt.exe carries its manifest; synchronisieren starts Windows' own net.exe, not one planted beside it"

# 2. The installer, silently; the installed program; the uninstaller.
# A program of that name running elsewhere (C:\bin, the root of the drive
# the installer is started from) is no clock of the installation's.
held() { grep -qs held "$1"; }
mkdir -p "$WINEPREFIX/drive_c/bin"
cp "$work/holdopen.exe" "$WINEPREFIX/drive_c/bin/Lumitakt.exe"
wine "$work/holdopen.exe" 'C:\bin\Lumitakt.exe' 120 > "$work/elsewhere.log" 2>&1 & elsewhere=$!; pids+=($elsewhere)
x_wait 30 held "$work/elsewhere.log" || fail "C:\\bin\\Lumitakt.exe could not be held open: $(cat "$work/elsewhere.log")"
status=0
(cd "$WINEPREFIX/drive_c" && exec wine "$setup" /S) > "$work/setup.log" 2>&1 || status=$?
kill "$elsewhere"; wait "$elsewhere" 2>/dev/null || true
wineserver -w
[ "$status" -eq 0 ] || fail "the installer ended with $status"
installed="$WINEPREFIX/drive_c/Program Files/Lumitakt"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Lumitakt.lnk"
[ -f "$installed/bin/Lumitakt.exe" ] && [ -f "$installed/share/lumitakt/Termin.wav" ] || fail "the installer did not install the program"
[ -f "$menu" ] || fail "no Start-menu entry"
apps='Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumitakt'
# The installation as it stands: every file, and the Apps entry.
whole() { # folder, HKLM or HKCU
  (cd "$1" && find . -type f | LC_ALL=C sort | xargs -d '\n' sha256sum; wine reg query "$2\\$apps" 2>&1) | sha256sum
}
# A clock in another session is seen by the file it runs from: with the
# program's file held open by a process that holds no mutex, neither the
# installer nor the quiet uninstall changes anything, and both end with 2.
sum=$(whole "$installed" HKLM)
wine "$work/holdopen.exe" 'C:\Program Files\Lumitakt\bin\Lumitakt.exe' 120 > "$work/hold.log" 2>&1 & holder=$!; pids+=($holder)
x_wait 30 held "$work/hold.log" || fail "the program's file could not be held open: $(cat "$work/hold.log")"
status=0; wine "$setup" /S > "$work/held-setup.log" 2>&1 || status=$?
[ "$status" -eq 2 ] || fail "the installer run while the program's file is in use ended with $status, not 2"
status=0; wine "$work/quietuninstall.exe" HKLM > "$work/held-uninstall.log" 2>&1 || status=$?
[ "$status" -eq 2 ] || fail "the quiet uninstall run while the program's file is in use ended with $status, not 2"
kill "$holder"; wait "$holder" 2>/dev/null || true
[ "$(whole "$installed" HKLM)" = "$sum" ] || fail "the installation is not whole after installing and uninstalling while its file was in use"
echo "wine: with the program's file in use (a clock in another session), installer and quiet uninstall end with 2 and leave the installation whole"
wine "C:\\Program Files\\Lumitakt\\bin\\Lumitakt.exe" > "$work/installed.log" 2>&1 & winclock=$!; pids+=($winclock)
window=$(window_of "$winclock" '^lumitakt\.exe$')
[ -n "$window" ] || fail "the installed program shows no window"
x_menu "$window" E Down Down Return || fail "the installed program's menu did not choose LED grün"
# Moved, and the session ends at once (as Windows ends it at logout): the
# place is kept all the same, and neither lock nor request is left.
x_wait 20 installed_look_is_green || fail "the installed program did not keep its look in %APPDATA%\\Lumitakt"
xdotool windowmove "$window" 300 200
moved() { xwininfo -id "$window" | grep -q 'Absolute upper-left X: *3[0-9][0-9]$'; }
x_wait 20 moved || fail "the installed program's window does not move"
find "$WINEPREFIX/drive_c/users" -path '*/AppData/Local/Lumitakt/Lumitakt-*.lock' | grep -q . \
  || fail "the running clock holds no lock in %LOCALAPPDATA%\\Lumitakt: $(locks)"
wineboot --end-session
for _ in $(seq 100); do kill -0 "$winclock" 2>/dev/null || break; sleep 0.2; done
! kill -0 "$winclock" 2>/dev/null || fail "the installed program did not end with the session"
installed_look_is_green || fail "the installed program did not keep its look in %APPDATA%\\Lumitakt"
ini=$(appdata_ini)
sed -n 2p "$ini" | grep -qa $'^ 4500 \r$' || fail "the end of the session did not keep the place: $(sed -n 2p "$ini")"
[ -z "$(find "$installed" -iname '*.ini')" ] || fail "the installed program wrote into Program Files"
[ -z "$(locks)" ] || fail "the end of the session left a lock or request behind: $(locks)"
echo "wine: installed silently; the installed program keeps its settings in %APPDATA%, at the end of the session too, and leaves no lock"
# A lock another computer left in the roaming profile (where older clocks
# kept it) is none of this computer's: the clock starts at once and writes.
printf '4711\nLumitakt.exe\nanderer-pc\n' > "$(dirname "$ini")/Lumitakt.lock"
sed -i '1s/.*/rot\r/' "$ini"
wine "C:\\Program Files\\Lumitakt\\bin\\Lumitakt.exe" > "$work/installed-again.log" 2>&1 & winclock=$!; pids+=($winclock)
window=$(window_of "$winclock" '^lumitakt\.exe$')
[ -n "$window" ] || fail "the installed program does not start beside another computer's lock"
x_menu "$window" E Down Down Return || fail "the installed program's menu did not choose LED grün"
x_wait 20 installed_look_is_green || fail "beside another computer's lock, the installed program does not write its settings"
# The quiet uninstall, as a tool runs it, waits for the uninstaller: while
# the clock runs, it ends with 2 and leaves everything.
sum=$(whole "$installed" HKLM)
status=0; wine "$work/quietuninstall.exe" HKLM > "$work/running-uninstall.log" 2>&1 || status=$?
[ "$status" -eq 2 ] || fail "the quiet uninstall run while the clock runs ended with $status, not 2"
[ "$(whole "$installed" HKLM)" = "$sum" ] || fail "the quiet uninstall changed the installation while the clock ran"
close_and_wait "$window" "$winclock"
echo "wine: a lock in %APPDATA% from another computer keeps no clock from starting and writing; the quiet uninstall ends with 2 while it runs"
status=0; wine "$work/quietuninstall.exe" HKLM > "$work/uninstall.log" 2>&1 || status=$?
[ "$status" -eq 0 ] || fail "the quiet uninstall ended with $status"
gone() { [ ! -e "$installed" ]; }
x_wait 30 gone || fail "the uninstaller left: $(cd "$installed" && find . | tr '\n' ' ')"
[ ! -e "$menu" ] || fail "the uninstaller left the Start-menu entry"
! wine reg query "HKLM\\$apps" > /dev/null 2>&1 || fail "the uninstaller left the Apps entry"
echo "wine: the quiet uninstall ends with 0 and leaves nothing in Program Files, the uninstaller included"

# 3. Installed for the user alone: nothing in Program Files or HKLM.
status=0; wine "$setup" /S /CurrentUser > "$work/user-setup.log" 2>&1 || status=$?
wineserver -w
[ "$status" -eq 0 ] || fail "the installer for the user alone ended with $status"
own=$(find "$WINEPREFIX/drive_c/users" -path '*/AppData/Local/Programs/Lumitakt' -type d | head -n 1)
[ -n "$own" ] && [ -f "$own/bin/Lumitakt.exe" ] || fail "no installation in %LOCALAPPDATA%\\Programs\\Lumitakt"
[ ! -e "$installed" ] || fail "the installation for the user alone wrote into Program Files"
! wine reg query "HKLM\\$apps" > /dev/null 2>&1 || fail "the installation for the user alone has an entry in HKLM"
wine reg query "HKCU\\$apps" > /dev/null 2>&1 || fail "the installation for the user alone has no Apps entry in HKCU"
# Neither the installer nor the uninstaller touches a running clock: run
# silently, they end with exit code 2 and leave the installation whole.
# (_?= runs the uninstaller in place, so that its exit code is its own.)
# A server name that can be none is refused, and the log file says so.
ini=$(appdata_ini)
sed -i '4s/.*/"zeit eins"\r/' "$ini"
wine "$own/bin/Lumitakt.exe" > "$work/own.log" 2>&1 & winclock=$!; pids+=($winclock)
window=$(window_of "$winclock" '^lumitakt\.exe$')
[ -n "$window" ] || fail "the program installed for the user alone shows no window"
log_says_refused() { find "$WINEPREFIX/drive_c/users" -path '*/AppData/Local/Lumitakt/Lumitakt.log' -exec grep -q 'zeit eins.*is refused' {} +; }
x_wait 20 log_says_refused || fail "the log file in %LOCALAPPDATA%\\Lumitakt does not say why the server name is refused"
sum=$(sha256sum < "$own/bin/Lumitakt.exe")
status=0; wine "$setup" /S /CurrentUser > "$work/again-setup.log" 2>&1 || status=$?
[ "$status" -eq 2 ] || fail "the installer run while the clock runs ended with $status, not 2"
status=0; wine "$work/quietuninstall.exe" HKCU > "$work/again-uninstall.log" 2>&1 || status=$?
[ "$status" -eq 2 ] || fail "the uninstaller run while the clock runs ended with $status, not 2"
[ "$(sha256sum < "$own/bin/Lumitakt.exe")" = "$sum" ] && [ -f "$own/Uninstall.exe" ] && [ -f "$own/share/lumitakt/Termin.wav" ] \
  || fail "the installation is not whole after installing and uninstalling while the clock ran"
close_and_wait "$window" "$winclock"
status=0; wine "$work/quietuninstall.exe" HKCU > "$work/user-uninstall.log" 2>&1 || status=$?
[ "$status" -eq 0 ] || fail "the uninstaller for the user alone ended with $status"
own_gone() { [ ! -e "$own" ]; }
x_wait 30 own_gone && ! wine reg query "HKCU\\$apps" > /dev/null 2>&1 || fail "the uninstaller for the user alone left the program or its entry"
echo "wine: installed for the user alone without Program Files or HKLM; installer and uninstaller leave it whole while its clock runs (exit code 2)"
echo "wine: what the program has to say is in %LOCALAPPDATA%\\Lumitakt\\Lumitakt.log"

# 4. Wine run by an ordinary user, the portable program in a folder that user
# cannot write (another user's, or a read-only share): a chosen look is kept
# in the user's %APPDATA%\Lumitakt and is there after a restart.
if [ "$(id -u)" -ne 0 ]; then
  echo "wine: SKIPPED the portable program in a folder its user cannot write (only root can become another user)"
else
  chmod 711 "$work"
  mkdir -p "$work/readonly" "$work/user"
  (cd "$work/readonly" && cmake -E tar xf "$zip")
  chmod -R go-w,a+rX "$work/readonly"
  readonly="$work/readonly/Lumitakt-$version-win64"
  chown nobody "$work/user"
  as_user wineboot --init > /dev/null 2>&1 || true
  as_user wineserver -w
  user_ini() { find "$work/user/wine/drive_c/users" -path '*/AppData/Roaming/Lumitakt/Lumitakt.ini' | head -n 1; }
  user_look_is_green() { look_is_green "$(user_ini)"; }
  shows_green() { # window: whether the digits are lit in green rather than red
    digits "$1" "$work/look.png"
    [ "$(convert "$work/look.png" -format '%[fx:mean.g > mean.r ? 1 : 0]' info:)" = 1 ]
  }
  (cd "$readonly" && as_user wine Lumitakt.exe) > "$work/user.log" 2>&1 & winclock=$!; pids+=($winclock)
  window=$(window_of "$winclock" '^lumitakt\.exe$')
  [ -n "$window" ] || fail "the portable program run by an ordinary user shows no window"
  ! shows_green "$window" || fail "the portable program run by an ordinary user does not start in red"
  x_menu "$window" E Down Down Return || fail "the ordinary user's menu did not choose LED grün"
  x_wait 20 user_look_is_green || fail "the look chosen by an ordinary user is not kept in %APPDATA%\\Lumitakt"
  close_and_wait "$window" "$winclock"
  [ -z "$(find "$readonly" -iname '*.ini')" ] || fail "the clock of an ordinary user wrote into the folder it cannot write"
  find "$work/user/wine/drive_c/users" -path '*/AppData/Local/Lumitakt/Lumitakt.log' -exec grep -q 'settings are kept in' {} + \
    || fail "the log file does not say where the settings are kept"
  (cd "$readonly" && as_user wine Lumitakt.exe) > "$work/user-again.log" 2>&1 & winclock=$!; pids+=($winclock)
  window=$(window_of "$winclock" '^lumitakt\.exe$')
  [ -n "$window" ] || fail "the portable program run again by an ordinary user shows no window"
  x_wait 20 shows_green "$window" || fail "the look an ordinary user chose is gone after a restart"
  close_and_wait "$window" "$winclock"
  echo "wine: run by an ordinary user from a folder it cannot write, the portable program keeps its look in the user's %APPDATA%"
  # An installation for all users that this user may not change (Program
  # Files to a standard user): neither the installer nor the uninstaller
  # says it has done what it could not, and both end with 5.
  status=0; as_user wine "$setup" /S > "$work/user-setup.log" 2>&1 || status=$?
  as_user wineserver -w
  theirs="$work/user/wine/drive_c/Program Files/Lumitakt"
  [ "$status" -eq 0 ] && [ -f "$theirs/bin/Lumitakt.exe" ] || fail "the ordinary user's Wine did not install the program ($status)"
  chown -R root:root "$theirs"
  chmod -R go-w "$theirs"
  user_whole() { (cd "$theirs" && find . -type f | LC_ALL=C sort | xargs -d '\n' sha256sum; as_user wine reg query "HKLM\\$apps" 2>&1) | sha256sum; }
  sum=$(user_whole)
  status=0; as_user wine "$work/quietuninstall.exe" HKLM > "$work/user-uninstall.log" 2>&1 || status=$?
  [ "$status" -eq 5 ] || fail "the uninstaller run by a user who may not remove the installation ended with $status, not 5"
  status=0; as_user wine "$setup" /S > "$work/user-setup-again.log" 2>&1 || status=$?
  [ "$status" -eq 5 ] || fail "the installer run by a user who may not write the installation ended with $status, not 5"
  [ "$(user_whole)" = "$sum" ] || fail "the installation changed though its user may not change it"
  echo "wine: a user who may not change an installation for all users is told so, and installer and uninstaller end with 5"
fi
echo "1 passed, 0 failed"
