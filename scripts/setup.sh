#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, as root. Safe to run
# again: it installs only what is missing.
set -euo pipefail

need_pkgs=(
  cmake ninja-build g++ pkg-config git
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-tools
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  libgtest-dev libgmock-dev googletest libcurl4-openssl-dev libssl-dev openssl
  libgnutls30:i386
  wine wine32:i386 wine64 fonts-wine fonts-liberation
  xvfb x11-utils imagemagick
  iproute2 util-linux python3 python3-fusepy dpkg-dev locales curl
  autoconf automake libtool
  clang-format clang-tidy
)

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  apt_stale=1
fi

# curl is cross-built from Debian's own source package, so the source lists
# of the suites already in use are needed.
src_list=/etc/apt/sources.list.d/makependrive-src.sources
if [ ! -f "$src_list" ]; then
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    [ "$f" = "$src_list" ] && continue
    grep -q '^URIs: .*debian' "$f" || continue
    sed -e 's/^Types: .*/Types: deb-src/' "$f"
    echo
  done > "$src_list"
  if [ -f /etc/apt/sources.list ]; then
    grep -E '^deb .*debian' /etc/apt/sources.list | sed 's/^deb /deb-src /' >> "$src_list.tmp" || true
    if [ -s "$src_list.tmp" ]; then mv "$src_list.tmp" /etc/apt/sources.list.d/makependrive-src.list; else rm -f "$src_list.tmp"; fi
  fi
  apt_stale=1
fi

missing=()
for p in "${need_pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ "${apt_stale:-0}" = 1 ] || [ ${#missing[@]} -gt 0 ]; then
  apt-get update -qq
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# MinGW's posix-threads variant is the one that supports std::thread-free but
# exception-safe static C++ runtimes we link; make sure it is the default.
for tool in {i686,x86_64}-w64-mingw32-{gcc,g++}; do
  if update-alternatives --list "$tool" >/dev/null 2>&1; then
    update-alternatives --set "$tool" "/usr/bin/$tool-posix" >/dev/null
  fi
done
# The tool's users run a Polish Windows; Wine takes its code page (and with
# it the Central European MS Sans Serif) from the Unix locale.
if ! locale -a 2>/dev/null | grep -qx 'pl_PL.utf8'; then
  localedef -i pl_PL -f UTF-8 pl_PL.UTF-8
fi
# An English locale too: the window must show Polish letters on an English
# Windows as well.
if ! locale -a 2>/dev/null | grep -qx 'en_US.utf8'; then
  localedef -i en_US -f UTF-8 en_US.UTF-8
fi
echo "setup: packages ready"
