#!/usr/bin/env bash
# Installs everything the build and the tests need on Debian 12 and builds the
# third-party libraries for the target into third_party/ (git-ignored).
# Safe to run again: every step checks first and is skipped when done.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
tp="$top/third_party"
triple=i686-w64-mingw32

need_root() { [ "$(id -u)" = 0 ] || { echo "setup: run as root to install packages" >&2; exit 1; }; }

# --- packages -------------------------------------------------------------
# fonts-wine is only recommended by wine, but without its Marlett the system draws
# caption buttons' glyphs as letters.
packages=(wine wine32:i386 fonts-wine g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
          mingw-w64-i686-dev libz-mingw-w64-dev xvfb xauth googletest python3 tcl cmake make
          dpkg-dev locales imagemagick)
missing=()
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  need_root; dpkg --add-architecture i386; missing=(update)
fi
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ! grep -rqs '^Types: deb deb-src\|^Types: deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  need_root
  cat > /etc/apt/sources.list.d/tessary-src.sources <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  missing+=(update)
fi
if [ ${#missing[@]} -gt 0 ]; then
  need_root
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  pk=(); for p in "${missing[@]}"; do [ "$p" = update ] || pk+=("$p"); done
  [ ${#pk[@]} -eq 0 ] || apt-get install -y -qq --no-install-recommends "${pk[@]}" >/dev/null
fi

# Chinese locales for the translation tests (Wine takes its locale from LC_ALL).
if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
  need_root
  for l in zh_CN zh_TW; do localedef -i "$l" -f UTF-8 "$l.UTF-8" >/dev/null 2>&1 || true; done
fi

# --- third-party sources, built for the target ------------------------------
mkdir -p "$tp/src" "$tp/lib" "$tp/include"
# Several checkouts may share one third_party/: build it once at a time.
exec 9>"$tp/.lock"
flock 9
cd "$tp/src"
if [ ! -f "$tp/lib/libsqlite3.a" ]; then
  [ -d sqlite3-src ] || { apt-get source -qq sqlite3 >/dev/null 2>&1; mv "$(ls -d sqlite3-3* | head -1)" sqlite3-src; }
  if [ ! -f sqlite3-src/bld/sqlite3.c ]; then
    (cd sqlite3-src && mkdir -p bld && cd bld && ../configure -q >/dev/null && make -s sqlite3.c >/dev/null)
  fi
  cp sqlite3-src/bld/sqlite3.h "$tp/include/"
  "$triple-gcc-posix" -O2 -c sqlite3-src/bld/sqlite3.c -o sqlite3.o \
     -DSQLITE_THREADSAFE=1 -DSQLITE_OMIT_LOAD_EXTENSION -DSQLITE_DEFAULT_FOREIGN_KEYS=0
  "$triple-ar" rcs "$tp/lib/libsqlite3.a" sqlite3.o
fi
if [ ! -f "$tp/lib/libminizip.a" ]; then
  [ -d zlib-src ] || { apt-get source -qq zlib >/dev/null 2>&1; mv "$(ls -d zlib-1* | head -1)" zlib-src; }
  mz=zlib-src/contrib/minizip
  mkdir -p "$tp/include/minizip"
  cp $mz/unzip.h $mz/ioapi.h "$tp/include/minizip/"
  for f in unzip ioapi; do
    "$triple-gcc-posix" -O2 -c $mz/$f.c -o mz_$f.o -DNOUNCRYPT -DIOAPI_NO_64 -I/usr/$triple/include
  done
  "$triple-ar" rcs "$tp/lib/libminizip.a" mz_unzip.o mz_ioapi.o
fi
echo "setup: ready"
