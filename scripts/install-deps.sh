#!/usr/bin/env bash
# Installs, from Debian's packages, everything the build and the tests need and this machine lacks.
# Quiet and quick when all is present, so `make run` and `make test` can call it every time.
set -euo pipefail

packages=(
  cmake make g++ googletest python3 python3-pytest
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  # wine32 installs even where the kernel cannot run 32-bit programs; wine64 runs the
  # 64-bit twin of the Windows programs there (scripts/wine-arches.sh tells which runs).
  wine wine32:i386 wine64
  xvfb xauth x11-utils imagemagick iproute2 util-linux
  locales
  python3-pefile
  libmspack-dev mscompress liblnk-utils
  osslsigncode openssl
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing missing packages: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
