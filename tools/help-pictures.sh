#!/usr/bin/env bash
# Makes the pictures of the help document from the real program under Xvfb:
#   tools/help-pictures.sh <folder of the built lumitakt> <output folder>
# Needs xvfb, openbox, xdotool, x11-utils, imagemagick and libfaketime.
set -euo pipefail
bin=$(readlink -f "$1"); out=$(readlink -f "$2")
. "$(dirname "$(readlink -f "$0")")/../tests/support/xsession.sh"
work=$(mktemp -d)
clock=0
trap '[ "$clock" -eq 0 ] || kill "$clock" 2>/dev/null; x_stop; rm -rf "$work"' EXIT
x_start "$work/x" -screen 0 800x600x24
cp "$bin/lumitakt" "$bin/Termin.wav" "$bin/Lumitakt.portable" "$work/"

need() { x_wait "$@" || { echo "waited in vain for: ${*:2}" >&2; exit 1; }; }
# The clock's wall clock is the real one moved by the seconds in a file it
# reads on every look: moved on, it needs no real minute to pass.
at() { # time on 2026-12-06
  printf '%+d\n' $(($(date -d "2026-12-06 $1" +%s) - $(date +%s))) > "$work/shift.new" && mv "$work/shift.new" "$work/shift"
}
start() { # look, time: sets $clock and its window $win, once its first tick has shown the date
  # The clock before ends first: it writes its settings as it ends, and a
  # start while it runs would only bring it to the front.
  [ "$clock" -eq 0 ] || { kill "$clock" 2>/dev/null; wait "$clock" || true; }
  printf '%s\r\n 1500 \r\n 1500 \r\n\r\n 1 \r\n' "$1" > "$work/Lumitakt.ini"
  at "$2"
  LC_ALL=de_DE.UTF-8 LD_PRELOAD=$(ls /usr/lib/*/faketime/libfaketime.so.1 | head -n 1) FAKETIME_TIMESTAMP_FILE="$work/shift" \
    FAKETIME_NO_CACHE=1 FAKETIME_DONT_FAKE_MONOTONIC=1 "$work/lumitakt" >/dev/null 2>&1 & clock=$!
  win=$(x_window "$clock" --classname '^lumitakt$')
  need 10 dated
  # The menu opens where the pointer is.
  place "$win"; /usr/bin/xdotool mousemove $((X + 120)) $((Y + 40))
}
dated() { /usr/bin/xprop -id "$win" _NET_WM_NAME | grep -q '"  06\. Dezember 2026"'; }
place() { # window: sets X Y W H of its client area on the screen
  read -r X Y W H < <(/usr/bin/xwininfo -id "$1" | sed -n 's/.*Absolute upper-left [XY]: *//p; s/^ *Width: *//p; s/^ *Height: *//p' | paste -sd ' ')
}
# Part of the screen as it is now, written without time stamps (tIME,
# date:create), so the same picture gives the same bytes.
grab() { # file, width, height, x, y
  /usr/bin/import -window root "$work/root.png"
  /usr/bin/convert "$work/root.png" -crop "$2x$3+$4+$5" +repage -define png:exclude-chunks=date,time "$1"
}
pixel() { /usr/bin/convert "$work/root.png" -format "%[pixel:p{$1,$2}]" info:; }
# A window with its frame (or an area given from its client's corner), once
# two grabs in a row show the same; the clock with its colon shown (which
# blinks): its upper dot differs from the gap below it.
settled() { # window, [width height dx dy]
  local l r t b
  place "$1"; read -r l r t b <<<"$(/usr/bin/xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')"
  [ ! -f "$work/new.png" ] || mv "$work/new.png" "$work/old.png"
  if [ $# -gt 1 ]; then grab "$work/new.png" "$2" "$3" $((X + $4)) $((Y + $5))
  else grab "$work/new.png" $((W + l + r)) $((H + t + b)) $((X - l)) $((Y - t)); fi
  cmp -s "$work/new.png" "$work/old.png" && { [ "$1" != "$win" ] || [ "$(pixel $((X + 92)) $((Y + 24)))" != "$(pixel $((X + 92)) $((Y + 35)))" ]; }
}
shot() { # window, file, [width height dx dy]
  rm -f "$work/new.png" "$work/old.png"
  need 30 settled "$1" "${@:3}"
  mv "$work/new.png" "$2"
}
only_clock() { [ "$(/usr/bin/xdotool search --all --onlyvisible --pid "$clock" --name '.*' | wc -l)" -eq 1 ]; }
taller() { place "$win"; [ "$H" -gt "$1" ]; }
minutes() { place "$win"; grab "$1" $((W - 100)) 64 $((X + 100)) "$Y"; }
minute_turned() { minutes "$work/now.png"; ! cmp -s "$work/now.png" "$work/before.png"; }

start rot 14:05:10; shot "$win" "$out/uhr-rot.png"
start LCD 09:41:10; shot "$win" "$out/uhr-lcd.png"
# The stopwatch started at 07:29 shows a minute at 07:30.
start blau 07:29:00; height=$H
x_menu "$win" s; need 10 taller "$height"; minutes "$work/before.png"
at 07:30:05; need 10 minute_turned; shot "$win" "$out/uhr-stopuhr.png"
start braun 16:20:10; height=$H
x_menu "$win"; shot "$win" "$out/menue.png" 330 360 -1 -21
/usr/bin/xdotool key Escape; need 10 only_clock
x_menu "$win" T; dlg=$(x_window "$clock" --name '^ Termin eingeben$')
x_keys "$dlg" Tab Tab Tab Tab; /usr/bin/xdotool type --delay 80 "Zahnarzt"; shot "$dlg" "$out/termin-eingeben.png"
/usr/bin/xdotool key Return; need 10 only_clock; need 10 taller "$height"; shot "$win" "$out/uhr-termin.png"
# The appointment is entered in the minute before it, and rings as that minute ends.
start grün 10:14:00
x_menu "$win" T; dlg=$(x_window "$clock" --name '^ Termin eingeben$')
x_keys "$dlg" Tab ctrl+a 1 0 Tab ctrl+a 1 5 Tab Tab; /usr/bin/xdotool type --delay 80 "Besprechung"; /usr/bin/xdotool key Return
need 10 only_clock; at 10:14:59
dlg=$(x_window "$clock" --name 'Dezember 2026     '); shot "$dlg" "$out/termin-alarm.png"
x_keys "$dlg" Return; need 10 only_clock
x_menu "$win" E Return; dlg=$(x_window "$clock" --name '^ Termin signalisieren$'); shot "$dlg" "$out/termin-signal.png"
x_keys "$dlg" Escape; need 10 only_clock
x_menu "$win" E Up Return; dlg=$(x_window "$clock" --name '^ syncronisieren mit$')
x_activate "$dlg"; /usr/bin/xdotool type --delay 80 "zeit.example.org"; shot "$dlg" "$out/synchron.png"
x_keys "$dlg" Escape; need 10 only_clock
x_menu "$win" I; dlg=$(x_window "$clock" --name '^ Info$'); shot "$dlg" "$out/info.png"
echo "pictures written to $out"
