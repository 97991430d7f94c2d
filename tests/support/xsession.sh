# A private X display for the test scripts, sourced by them: Xvfb on a
# display number the server picks itself (so tests side by side never race
# for one), openbox managing it, and helpers that wait for what they need
# (the window manager ready, a window managed, a window active) with a
# deadline instead of sleeping. tests/e2e/xsession.cpp does the same for
# the C++ tests, tests/support/xsession.py for the Python one.
#
#   x_start WORK        Xvfb and openbox, their logs in WORK; exports DISPLAY
#   x_window PID ARG…   waits for the first visible window of PID that
#                       matches all of `xdotool search ARG…` and that openbox
#                       manages; prints it
#   x_activate WINDOW   activates it and waits until openbox says it is active
#   x_keys WINDOW KEY…  types the keys into WINDOW, once it is active
#   x_menu WINDOW ENTRY [KEY…]  chooses from WINDOW's menu, waiting for each
#                       menu and submenu to show before typing into it
#   x_stop              stops openbox and Xvfb
# A function that fails says why on stderr and returns non-zero.

X_XVFB="" X_WM="" X_WORK=""

# Runs COMMAND… every 0.2 s until it succeeds; fails once SECONDS have passed.
x_wait() {
  local end=$((SECONDS + $1)); shift
  until "$@"; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.2
  done
}

_x_display_known() { grep -qx '[0-9]\+' "$X_WORK/display" 2>/dev/null || ! kill -0 "$X_XVFB" 2>/dev/null; }
_x_wm_announced() {
  ! kill -0 "$X_WM" 2>/dev/null || xprop -root _NET_SUPPORTED 2>/dev/null | grep -q _NET_ACTIVE_WINDOW
}

# A window openbox manages has a frame, which it announces.
x_managed() { xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | grep -q ' = '; }

# openbox announces itself before it handles the windows mapped while it
# starts: such a window stays without a frame until some later event wakes
# openbox. A probe window shows when openbox frames new windows; while it
# does not, a new probe is that later event.
_x_wm_manages() {
  local probe window name="lumitaktprobe$$" end=$((SECONDS + 60))
  _x_probe_framed() {
    for window in $(xdotool search --classname "^$name\$" 2>/dev/null); do x_managed "$window" && return 0; done
    return 1
  }
  while [ "$SECONDS" -lt "$end" ] && kill -0 "$X_WM" 2>/dev/null; do
    xmessage -name "$name" probe >/dev/null 2>&1 & probe=$!
    local framed=no
    x_wait 3 _x_probe_framed && framed=yes
    kill "$probe" 2>/dev/null; wait "$probe" 2>/dev/null || true
    [ "$framed" = no ] || return 0
  done
  return 1
}

x_start() {
  X_WORK=$1
  mkdir -p "$X_WORK"
  : > "$X_WORK/display"
  # -displayfd: the server takes the first free display and writes its
  # number once it accepts connections.
  Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$X_WORK/display" >"$X_WORK/xvfb.log" 2>&1 &
  X_XVFB=$!
  x_wait 60 _x_display_known
  grep -qx '[0-9]\+' "$X_WORK/display" || { cat "$X_WORK/xvfb.log" >&2; echo "Xvfb did not come up" >&2; return 1; }
  export DISPLAY=":$(head -n 1 "$X_WORK/display")"
  # Under load openbox can be slow to come up, or end on its way: it gets
  # a generous wait and two more starts.
  local attempt
  for attempt in 1 2 3; do
    openbox --sm-disable >>"$X_WORK/openbox.log" 2>&1 &
    X_WM=$!
    if x_wait 60 _x_wm_announced && kill -0 "$X_WM" 2>/dev/null && _x_wm_manages; then
      return 0
    fi
    echo "openbox is not up on $DISPLAY (start $attempt)" >&2
    kill "$X_WM" 2>/dev/null; wait "$X_WM" 2>/dev/null || true
  done
  cat "$X_WORK/openbox.log" >&2
  echo "openbox does not manage the display $DISPLAY" >&2
  return 1
}

x_stop() {
  local pid
  for pid in "$X_WM" "$X_XVFB"; do
    [ -n "$pid" ] || continue
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  X_WM="" X_XVFB=""
}

x_window() { # pid, xdotool search conditions that must all hold
  local pid=$1 window end=$((SECONDS + 60)); shift
  while :; do
    for window in $(xdotool search --all --onlyvisible --pid "$pid" "$@" 2>/dev/null); do
      x_managed "$window" && { echo "$window"; return 0; }
    done
    kill -0 "$pid" 2>/dev/null && [ "$SECONDS" -lt "$end" ] || break
    sleep 0.2
  done
  echo "no managed window of process $pid for: $*" >&2
  return 1
}

_x_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }

x_activate() {
  local end=$((SECONDS + 30))
  until _x_active "$1"; do
    [ "$SECONDS" -lt "$end" ] || { echo "window $1 did not become active ($(xprop -root _NET_ACTIVE_WINDOW 2>&1))" >&2; return 1; }
    xdotool windowactivate "$1" 2>/dev/null || true
    x_wait 3 _x_active "$1" && break
  done
}

x_keys() {
  local window=$1; shift
  x_activate "$window" || return 1
  xdotool key --delay 100 "$@"
}

# The windows shown with a class: the window itself, its menus, its dialogs.
_x_shown() { xdotool search --onlyvisible --classname "^$1\$" 2>/dev/null | wc -l; }
_x_more_shown() { [ "$(_x_shown "$1")" -gt "$2" ]; }

# Opens the window's menu with M and chooses ENTRY by its key; with more
# keys, ENTRY opens a submenu, and they are typed into it once it shows
# (keys typed before would still reach the menu above).
x_menu() { # window, entry, keys in its submenu…
  local window=$1 entry=$2 class shown
  shift 2
  class=$(xprop -id "$window" WM_CLASS | sed -n 's/^[^"]*"\([^"]*\)".*/\1/p')
  x_activate "$window" || return 1
  shown=$(_x_shown "$class")
  xdotool key M
  x_wait 10 _x_more_shown "$class" "$shown" || { echo "the menu of window $window did not open" >&2; return 1; }
  xdotool key "$entry"
  [ $# -gt 0 ] || return 0
  x_wait 10 _x_more_shown "$class" $((shown + 1)) || { echo "the submenu $entry did not open" >&2; return 1; }
  xdotool key --delay 100 "$@"
}
