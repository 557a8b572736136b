#!/usr/bin/env bash
# Installs what building and testing Quandrel needs on Debian 12, and does
# nothing when everything is already there. Needs root only when it installs.
set -euo pipefail

need_pkgs=()
have() { command -v "$1" >/dev/null 2>&1; }
pkg_installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

want() { # want PACKAGE [TEST-COMMAND]
  local pkg=$1
  if ! pkg_installed "$pkg"; then need_pkgs+=("$pkg"); fi
}

# clang and its runtime libraries (libFuzzer, the sanitizers) for the fuzz target.
for p in cmake g++ make googletest libgtest-dev locales clang libclang-rt-14-dev \
         wine wine64 wine32:i386 fonts-wine \
         g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools \
         xvfb xauth fonts-ipafont-gothic fonts-ipafont-mincho imagemagick x11-utils \
         zip unzip mdbtools; do
  want "$p"
done

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

if [ ${#need_pkgs[@]} -gt 0 ]; then
  echo "bootstrap: installing ${need_pkgs[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
  fi
  as_root apt-get update -qq
  DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends "${need_pkgs[@]}" >/dev/null
fi

# Wine converts arguments and file names through the glibc locale: without
# ja_JP.UTF-8 every Japanese path arrives as garbage.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  echo "bootstrap: generating the ja_JP.UTF-8 locale"
  if ! grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'ja_JP.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  fi
  as_root locale-gen >/dev/null
fi

# A real Access database for the tests: the npm package mdb 0.1.0 ships one
# (test/fruit.mdb, Jet 4, 606,208 bytes). Its licence is not stated, so it is
# fetched here into the build folder and never committed; the tests that
# need it say so and skip when it is missing.
test_data=$(cd "$(dirname "$0")/.." && pwd)/build/test-data
fruit=$test_data/fruit.mdb
fruit_sha256=e62eac8a7d29062328484aa0477ab897f3e9fb3abbd4de26d2e7748a8e0bce79
if [ ! -f "$fruit" ]; then
  if ! have npm; then
    echo "bootstrap: installing npm"
    as_root apt-get update -qq
    DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends npm >/dev/null
  fi
  mkdir -p "$test_data"
  echo "bootstrap: fetching the sample database (npm package mdb 0.1.0)"
  if [ ! -f "$test_data/mdb-0.1.0.tgz" ]; then
    (cd "$test_data" && npm pack mdb@0.1.0 --silent >/dev/null 2>&1) || true
  fi
  if [ -f "$test_data/mdb-0.1.0.tgz" ] &&
     tar --no-same-owner -xzf "$test_data/mdb-0.1.0.tgz" -C "$test_data" package/test/fruit.mdb 2>/dev/null &&
     echo "$fruit_sha256  $test_data/package/test/fruit.mdb" | sha256sum -c --status; then
    mv "$test_data/package/test/fruit.mdb" "$fruit"
  else
    echo "bootstrap: the sample database could not be had; the tests that use it will skip" >&2
  fi
  rm -rf "$test_data/package"
fi
