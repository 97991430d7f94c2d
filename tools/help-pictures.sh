#!/usr/bin/env bash
# Makes the pictures of the help document from the real program under Xvfb:
#   tools/help-pictures.sh <folder of the built lumitakt> <output folder>
# Needs xvfb, openbox, xdotool, x11-utils, imagemagick and libfaketime.
set -euo pipefail
bin=$(readlink -f "$1"); out=$(readlink -f "$2")
work=$(mktemp -d)
clock=0
display=:$(( 120 + RANDOM % 50 ))
Xvfb "$display" -nolisten tcp -screen 0 800x600x24 >/dev/null 2>&1 & xvfb=$!
export DISPLAY=$display
trap '[ "$clock" -eq 0 ] || kill "$clock"; kill $wm $xvfb 2>/dev/null; rm -rf "$work"' EXIT
sleep 1
openbox --sm-disable >/dev/null 2>&1 & wm=$!
sleep 1.5
cp "$bin/lumitakt" "$bin/Termin.wav" "$bin/Lumitakt.portable" "$work/"


start() { # look, fake time
  # The clock before ends first: it writes its settings as it ends, and a
  # start while it runs would only bring it to the front.
  [ "$clock" -eq 0 ] || { kill "$clock" 2>/dev/null; wait "$clock" || true; }
  printf '%s\r\n 1500 \r\n 1500 \r\n\r\n 1 \r\n' "$1" > "$work/Lumitakt.ini"
  LC_ALL=de_DE.UTF-8 LD_PRELOAD=$(ls /usr/lib/*/faketime/libfaketime.so.1 | head -1) \
    FAKETIME="@2026-12-06 $2" FAKETIME_DONT_FAKE_MONOTONIC=1 "$work/lumitakt" >/dev/null 2>&1 & clock=$!
  sleep 2
  win=$(xdotool search --onlyvisible --pid $clock --classname '^lumitakt$' | head -1)
}
# The frame of a window, grabbed while the colon is shown.
client() { # window: sets X Y WIDTH HEIGHT of its client area on the screen
  local info; info=$(xwininfo -id "$1")
  X=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info"); Y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
  WIDTH=$(sed -n 's/.*Width: *//p' <<<"$info"); HEIGHT=$(sed -n 's/.*Height: *//p' <<<"$info")
}
# Written without time stamps (tIME, date:create), so the same picture
# gives the same bytes.
shot() { # window, file
  client "$1"
  local ext; ext=$(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  read -r l r t b <<<"$ext"
  import -window root "$work/root.png"
  convert "$work/root.png" -crop "$((WIDTH + l + r))x$((HEIGHT + t + b))+$((X - l))+$((Y - t))" +repage -define png:exclude-chunks=date,time "$2"
}
menu_key() {
  xdotool windowactivate --sync "$win"; client "$win"; xdotool mousemove $((X + 120)) $((Y + 40))
  xdotool key M; sleep 0.5; [ -z "${1:-}" ] || { xdotool key "$1"; sleep 1; }
}

start rot 14:05:10; shot "$win" "$out/uhr-rot.png"
start LCD 09:41:10; shot "$win" "$out/uhr-lcd.png"
start blau 07:29:50
menu_key s; sleep 11; shot "$win" "$out/uhr-stopuhr.png"
start braun 16:20:10
menu_key; import -window root "$work/root.png"
client "$win"
convert "$work/root.png" -crop "330x360+$((X - 1))+$((Y - 21))" +repage -define png:exclude-chunks=date,time "$out/menue.png"
xdotool key Escape; sleep 0.5
menu_key T; dlg=$(xdotool search --onlyvisible --name '^ Termin eingeben$' | head -1)
xdotool key Tab Tab Tab Tab; xdotool type --delay 80 "Zahnarzt"; sleep 0.5; shot "$dlg" "$out/termin-eingeben.png"
xdotool key Return; sleep 1.5; shot "$win" "$out/uhr-termin.png"
start grün 10:14:50
menu_key T; dlg=$(xdotool search --onlyvisible --name '^ Termin eingeben$' | head -1)
xdotool key Tab ctrl+a 1 0 Tab ctrl+a 1 5 Tab Tab; xdotool type --delay 80 "Besprechung"; xdotool key Return
sleep 11; dlg=$(xdotool search --onlyvisible --name 'Dezember 2026     ' | head -1); shot "$dlg" "$out/termin-alarm.png"
xdotool key Return; sleep 1
menu_key E; xdotool key Return; sleep 1; dlg=$(xdotool search --onlyvisible --name '^ Termin signalisieren$' | head -1)
shot "$dlg" "$out/termin-signal.png"; xdotool key Escape; sleep 1
menu_key E; xdotool key Up Return; sleep 1; dlg=$(xdotool search --onlyvisible --name '^ syncronisieren mit$' | head -1)
xdotool type --delay 80 "zeit.example.org"; sleep 0.3; shot "$dlg" "$out/synchron.png"; xdotool key Escape; sleep 1
menu_key I; dlg=$(xdotool search --onlyvisible --name '^ Info$' | head -1); shot "$dlg" "$out/info.png"
echo "pictures written to $out"
