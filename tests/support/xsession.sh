# The one X session of Lumitakt's tests and tools: Xvfb on a display number
# the server picks itself (so sessions side by side never race for one),
# openbox managing it, and waits with a deadline, never a guessed sleep, for
# what a test needs. Shell scripts source it; the C++ and Python tests run it.
#
#   x_start WORK [XVFB OPTION…]  Xvfb (-screen 0 1024x768x24 unless options are
#                       given) and openbox, their logs in WORK, both ending with
#                       the shell that started them; exports DISPLAY
#   x_stop              stops openbox and Xvfb
#   x_wait SECONDS COMMAND…  runs COMMAND until it succeeds, at most SECONDS
#   x_managed WINDOW    whether openbox manages WINDOW
#   x_window PID ARG…   waits for the first visible window of PID that matches
#                       all of `xdotool search ARG…` and that openbox manages
#   x_activate WINDOW   activates it and waits until openbox says it is active
#   x_keys WINDOW KEY…  types the keys into WINDOW, once it is active
#   x_menu WINDOW [ENTRY [KEY…]]  opens WINDOW's menu with M and chooses ENTRY
#                       by its key; with more keys, ENTRY opens a submenu and
#                       they are typed into it once it shows (keys typed before
#                       would still reach the menu above)
#   xsession.sh serve [XVFB OPTION…]  a session in a folder of its own: prints
#                       DISPLAY=:N once it is ready and lasts as long as its
#                       input, which ends however its starter ends; the line
#                       stop-server stops the X server alone ("stopped")
#   xsession.sh window|activate|keys|menu ARG…  x_window… on $DISPLAY
# A function that fails says why on stderr and returns non-zero.

X_XVFB="" X_WM="" X_WORK=""

x_wait() {
  local end=$((SECONDS + $1)); shift
  until "$@"; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.2
  done
}

_x_gone() { ! kill -0 "$1" 2>/dev/null; }
_x_end() { # pid: asked to end, then made to
  [ -z "$1" ] || { kill "$1"; x_wait 5 _x_gone "$1" || kill -KILL "$1"; wait "$1"; } 2>/dev/null || true
}

# The server is up once it has written its number and answers a query.
_x_server_up() {
  grep -qx '[0-9]\+' "$X_WORK/display" && DISPLAY=":$(head -n 1 "$X_WORK/display")" /usr/bin/xdpyinfo >/dev/null 2>&1
}
# openbox names its check window on the root window, and the window names itself.
_x_wm_up() {
  local check
  check=$(/usr/bin/xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | sed -n 's/.*window id # \(0x[0-9a-f]*\)$/\1/p')
  [ -n "$check" ] && /usr/bin/xprop -id "$check" _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "# $check\$"
}
_x_server_up_or_gone() { _x_server_up || _x_gone "$X_XVFB"; }
_x_wm_up_or_gone() { _x_wm_up || _x_gone "$X_WM"; }

# A window openbox manages has a frame, which it announces.
x_managed() { /usr/bin/xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | grep -q ' = '; }

# openbox announces itself before it handles the windows mapped while it
# starts: such a window stays without a frame until some later event wakes
# openbox. A probe window shows when openbox frames new windows; while it
# does not, a new probe is that later event.
_x_probe_framed() {
  local window
  for window in $(/usr/bin/xdotool search --classname "^$1\$" 2>/dev/null); do x_managed "$window" && return 0; done
  return 1
}
_x_wm_manages() {
  local probe framed=1 name="lumitaktprobe$$" end=$((SECONDS + 60))
  while [ "$framed" -ne 0 ] && [ "$SECONDS" -lt "$end" ] && kill -0 "$X_WM" 2>/dev/null; do
    /usr/bin/xmessage -name "$name" probe </dev/null >/dev/null 2>&1 & probe=$!
    x_wait 3 _x_probe_framed "$name"; framed=$?
    _x_end "$probe"
  done
  return "$framed"
}

x_start() {
  X_WORK=$1; shift
  [ $# -gt 0 ] || set -- -screen 0 1024x768x24
  mkdir -p "$X_WORK" && : > "$X_WORK/display" || return 1
  # The display's socket goes into /tmp/.X11-unix only while that folder is
  # root's, as the X server wants it (root makes it where it is missing);
  # otherwise the server listens on its abstract socket alone, which every
  # client on this machine reaches as well.
  local sockets=(-nolisten unix) attempt
  [ "$(id -u)" -ne 0 ] || [ -e /tmp/.X11-unix ] || [ -L /tmp/.X11-unix ] || mkdir -m 1777 /tmp/.X11-unix 2>/dev/null || true
  [ -d /tmp/.X11-unix ] && [ ! -L /tmp/.X11-unix ] && [ -k /tmp/.X11-unix ] && [ "$(stat -c %u /tmp/.X11-unix)" = 0 ] && sockets=()
  # -displayfd: the server takes the first free display and writes its
  # number once it accepts connections.
  /usr/bin/setpriv --pdeathsig TERM /usr/bin/Xvfb -displayfd 3 -nolisten tcp "${sockets[@]}" "$@" \
    3>"$X_WORK/display" </dev/null >"$X_WORK/xvfb.log" 2>&1 &
  X_XVFB=$!
  x_wait 60 _x_server_up_or_gone || true
  _x_server_up || { cat "$X_WORK/xvfb.log" >&2; echo "Xvfb did not come up" >&2; return 1; }
  export DISPLAY=":$(head -n 1 "$X_WORK/display")"
  # Under load openbox can be slow to come up, or end on its way: it gets a
  # generous wait and two more starts. It reads the system's configuration,
  # never the user's, and writes into WORK alone.
  for attempt in 1 2 3; do
    XDG_CONFIG_HOME="$X_WORK" XDG_CACHE_HOME="$X_WORK" XDG_DATA_HOME="$X_WORK" \
      /usr/bin/setpriv --pdeathsig TERM /usr/bin/openbox --sm-disable </dev/null >>"$X_WORK/openbox.log" 2>&1 &
    X_WM=$!
    x_wait 60 _x_wm_up_or_gone && ! _x_gone "$X_WM" && _x_wm_manages && return 0
    echo "openbox is not up on $DISPLAY (start $attempt)" >&2
    _x_end "$X_WM"
  done
  cat "$X_WORK/openbox.log" >&2
  echo "openbox does not manage the display $DISPLAY" >&2
  return 1
}

x_stop() {
  _x_end "$X_WM"
  _x_end "$X_XVFB"
  X_WM="" X_XVFB=""
}

x_window() { # pid, xdotool search conditions that must all hold
  local pid=$1 window end=$((SECONDS + 60)); shift
  while :; do
    for window in $(/usr/bin/xdotool search --all --onlyvisible --pid "$pid" "$@" 2>/dev/null); do
      x_managed "$window" && { echo "$window"; return 0; }
    done
    kill -0 "$pid" 2>/dev/null && [ "$SECONDS" -lt "$end" ] || break
    sleep 0.2
  done
  echo "no managed window of process $pid for: $*" >&2
  return 1
}

_x_active() { [ "$(/usr/bin/xdotool getactivewindow 2>/dev/null)" = "$1" ]; }

x_activate() {
  local end=$((SECONDS + 30))
  until _x_active "$1"; do
    [ "$SECONDS" -lt "$end" ] || { echo "window $1 did not become active ($(/usr/bin/xprop -root _NET_ACTIVE_WINDOW 2>&1))" >&2; return 1; }
    /usr/bin/xdotool windowactivate "$1" 2>/dev/null || true
    x_wait 3 _x_active "$1" && break
  done
}

x_keys() {
  x_activate "$1" || return 1
  /usr/bin/xdotool key --delay 100 "${@:2}"
}

# The windows shown with a class: the window itself, its menus, its dialogs.
_x_shown() { /usr/bin/xdotool search --onlyvisible --classname "^$1\$" 2>/dev/null | wc -l; }
_x_more_shown() { [ "$(_x_shown "$1")" -gt "$2" ]; }

x_menu() { # window, entry, keys in its submenu…
  local window=$1 class shown
  class=$(/usr/bin/xprop -id "$window" WM_CLASS | sed -n 's/^[^"]*"\([^"]*\)".*/\1/p')
  x_activate "$window" || return 1
  shown=$(_x_shown "$class")
  /usr/bin/xdotool key M
  x_wait 10 _x_more_shown "$class" "$shown" || { echo "the menu of window $window did not open" >&2; return 1; }
  [ $# -gt 1 ] || return 0
  /usr/bin/xdotool key "$2"
  [ $# -gt 2 ] || return 0
  x_wait 10 _x_more_shown "$class" $((shown + 1)) || { echo "the submenu $2 did not open" >&2; return 1; }
  /usr/bin/xdotool key --delay 100 "${@:3}"
}

# Run, not sourced.
if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  case ${1:-} in
    serve)
      work=$(mktemp -d "${TMPDIR:-/tmp}/lumitakt-x.XXXXXX") || exit 1
      trap 'x_stop; rm -rf "$work"' EXIT
      trap 'exit 1' TERM INT HUP
      x_start "$work" "${@:2}" || exit 1
      echo "DISPLAY=$DISPLAY"
      while IFS= read -r line; do
        # openbox ends with its server: it is reaped here, so that no later
        # stop sends a signal to a number another process may have by then.
        [ "$line" != stop-server ] || { _x_end "$X_XVFB"; _x_end "$X_WM"; X_XVFB="" X_WM=""; echo stopped; }
      done ;;
    window | activate | keys | menu) "x_$1" "${@:2}" ;;
    *) echo "usage: $0 serve [XVFB OPTION…] | window PID ARG… | activate WINDOW | keys WINDOW KEY… | menu WINDOW [ENTRY [KEY…]]" >&2; exit 2 ;;
  esac
fi
