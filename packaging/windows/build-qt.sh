#!/usr/bin/env bash
# Builds a static Qt for 64-bit Windows from Debian's own qt6-base source,
# with Debian's MinGW-w64 compilers and Debian's Qt as the host tools, and
# installs it into a folder of the cache named by this recipe's checksum: a
# changed recipe builds anew, an unchanged one is used as it is.
#
#   packaging/windows/build-qt.sh        prints the Qt folder, built if need be
#
# Needs: dpkg-dev (apt-get source), g++-mingw-w64-x86-64-posix, ninja-build,
# cmake, qt6-base-dev (the host tools), deb-src lines for Debian's archive.
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
cache=${LUMITAKT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/lumitakt}
recipe=$(cat "$here/build-qt.sh" "$here/mingw-w64.cmake" | sha256sum | cut -c1-12)
prefix="$cache/qt6-win64-$recipe"
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

work="$cache/qt6-win64-build"
rm -rf "$work" "$prefix"
mkdir -p "$work"
cd "$work"
echo "Building Qt for Windows into $prefix (once; about 17 minutes on 2 cores) ..." >&2
apt-get source -qq qt6-base >&2
src=$(find . -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)
mkdir build
cd build
# Debian's source has no src/3rdparty/wintab, so no tablet events; without
# Direct2D the DirectWrite 3 font engine must go too, or the program does
# not link. Everything the clock does not use stays out.
"../$src/configure" -prefix "$prefix" -release -static -static-runtime \
  -xplatform win32-g++ -qt-host-path /usr \
  -nomake examples -nomake tests \
  -qt-zlib -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz -qt-pcre \
  -no-feature-sql -no-feature-network -no-feature-printsupport -no-feature-xml -no-feature-concurrent \
  -no-opengl -no-feature-vulkan -no-dbus -no-icu \
  -no-feature-tabletevent -no-feature-direct2d -no-feature-directwrite3 \
  -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64.cmake" \
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >&2
cmake --build . --parallel "$(nproc)" >&2
cmake --install . >&2
cd /
rm -rf "$work"
touch "$prefix/.complete"
echo "$prefix"
