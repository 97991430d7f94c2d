#!/usr/bin/env bash
# Runs every benchmark and prints one table in Markdown.
#
#   bench/run-all.sh BUILD_FOLDER [SECONDS]
#
# BUILD_FOLDER holds an optimised build (./dev bench makes one). SECONDS is
# how long the clocks run side by side for the CPU figure (default 60).
# Needs: Xvfb, openbox, xclock (x11-apps), valgrind.
set -euo pipefail
build=$(readlink -f "$1")
seconds=${2:-60}
starts=${STARTS:-7}
work=$(mktemp -d)
cleanup() {
  declare -F x_stop >/dev/null && x_stop
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

echo "Measuring the tick offscreen ..." >&2
tick=$("$build/bench/bench_tick" 200000 2>/dev/null)
figure() { sed -n "s/^$1: \([-0-9.]*\).*/\1/p" <<<"$tick"; }

# Instructions per tick: the difference between two runs of different
# length, so that start-up and shut-down cancel out.
instructions() { # ticks, paint|alone
  valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.out" \
    "$build/bench/bench_tick" --only "$1" "$2" 2>&1 >/dev/null | sed -n 's/.*Collected : \([0-9]*\).*/\1/p'
}
echo "Counting instructions under callgrind ..." >&2
perTick() { # paint|alone
  local short long
  short=$(instructions 2000 "$1")
  long=$(instructions 12000 "$1")
  echo $(( (long - short) / 10000 ))
}
insnAlone=$(perTick alone)
insnPaint=$(perTick paint)

# A desktop of its own: the tests' X session, with a black root.
echo "Starting Xvfb and openbox ..." >&2
. "$(dirname "$0")/../tests/support/xsession.sh"
x_start "$work/x" -screen 0 1280x1024x24 -br || { echo "no X session" >&2; exit 1; }
export XDG_RUNTIME_DIR="$work/runtime" HOME="$work/home" QT_QPA_PLATFORM=xcb
mkdir -p -m 700 "$XDG_RUNTIME_DIR" "$HOME"

# Lumitakt runs from a program folder of its own, so that its settings file
# starts absent every time and the build folder stays untouched.
mkdir -p "$work/program"
cp "$build/src/lumitakt" "$work/program/"

echo "Running the clocks on the desktop ($starts starts each, then ${seconds} s side by side) ..." >&2
probe=$("$build/bench/bench_desktop_probe" "$seconds" "$starts" \
  lumitakt "$work/program/lumitakt" \
  bare "$build/bench/bench_bare_clock" \
  xclock "xclock -digital -update 1" \
  xclock2 "xclock -digital -update 0.5")
value() { # program, key
  sed -n "s/^$1 .*$2=\([-0-9.]*\).*/\1/p" <<<"$probe"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%+.0f %%", (a / b - 1) * 100; else print "n/a" }'; }
mib() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }

# What installing the package brings onto an empty system, against a bare
# Qt Widgets program: apt resolves from an empty package status.
echo "Resolving the package's dependencies from an empty system ..." >&2
deb=${LUMITAKT_DEB:-}
if [ -z "$deb" ]; then
  DEB_BUILD_OPTIONS=nocheck "$(dirname "$0")/../tools/build-package.sh" "$work/package" -us -uc -b >/dev/null 2>&1 || true
  deb=$(ls "$work"/package/lumitakt_*_*.deb 2>/dev/null | head -n 1)
fi
: >"$work/empty-status"
closure() { # packages or .deb files: "count size-MB"
  local names
  names=$(apt-get -s -qq -o Dir::State::status="$work/empty-status" -o APT::Install-Recommends=false install "$@" 2>/dev/null \
          | sed -n 's/^Inst \([^ ]*\) .*/\1/p')
  [ -n "$names" ] || { echo "n/a n/a"; return; }
  local kib
  kib=$(apt-cache show --no-all-versions $names 2>/dev/null | sed -n 's/^Installed-Size: //p' | awk '{ s += $1 } END { print s + 0 }')
  echo "$(wc -l <<<"$names") $(awk -v k="$kib" 'BEGIN { printf "%.0f", k / 1024 }')"
}
read -r pkgLumitakt mbLumitakt < <(if [ -n "$deb" ]; then closure "$deb"; else echo "n/a n/a"; fi)
read -r pkgBare mbBare < <(closure libqt6widgets6 fonts-liberation)
more=$(awk -v a="$pkgLumitakt" -v b="$pkgBare" 'BEGIN { if (a + 0 > 0 && b + 0 > 0) printf "%+d", a - b; else print "n/a" }')

# xclock is run twice: as asked for, redrawing once a second, and redrawing
# twice a second like Lumitakt, whose colon changes every half second.
cat <<EOF
| Measure | Lumitakt | bare Qt clock | xclock -digital -update 1 | xclock -digital -update 0.5 | Goal |
|---|---|---|---|---|---|
| CPU, ms per second running | $(value lumitakt cpu_ms_per_s) | $(value bare cpu_ms_per_s) | $(value xclock cpu_ms_per_s) | $(value xclock2 cpu_ms_per_s) | at or below xclock |
| Peak resident memory, MiB | $(mib "$(value lumitakt peak_rss_kib)") | $(mib "$(value bare peak_rss_kib)") ($(ratio "$(value lumitakt peak_rss_kib)" "$(value bare peak_rss_kib)")) | $(mib "$(value xclock peak_rss_kib)") | $(mib "$(value xclock2 peak_rss_kib)") | within 15 % of bare Qt |
| Start to first frame, ms, median of $starts | $(value lumitakt first_frame_ms) | $(value bare first_frame_ms) ($(ratio "$(value lumitakt first_frame_ms)" "$(value bare first_frame_ms)")) | $(value xclock first_frame_ms) | $(value xclock2 first_frame_ms) | within 20 % of bare Qt |
| One tick offscreen, µs: alone / with repaint | $(figure "tick alone") / $(figure "tick with its repaint") | | | | under 10 |
| Instructions per tick: alone / with repaint | $insnAlone / $insnPaint | | | | |
| Pixels repainted per tick, of $(sed -n 's/.* of \([0-9]*\) in the window/\1/p' <<<"$tick") | $(figure "pixels painted per tick") | | | | only what changed |
| Heap growth over 200,000 steady ticks, bytes | $(figure "heap growth over the ticks") | | | | none |
| Packages installed on an empty system (MB) | $pkgLumitakt ($mbLumitakt) | $pkgBare ($mbBare) ($more) | | | at most 20 more than bare Qt |

(In brackets: Lumitakt against the bare Qt clock.)
EOF
