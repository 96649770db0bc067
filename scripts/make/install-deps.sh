#!/usr/bin/env bash
# Installs, from Debian's packages, everything the build and the tests need and this machine lacks,
# and makes the project's Wine root (scripts/world/wine-root.sh), where every Windows world runs.
# Quiet and quick when all is present, so `make run` and `make test` can call it every time.
#
# The registry may be half-synced for days (an index that cannot be read, i386 packages one
# security update behind the amd64 base): what every machine needs is installed in one step
# that must succeed. The machine's own 32-bit Wine serves only the world of 32-bit Windows, on
# machines that run 32-bit code; it is installed on its own afterwards and may be missing
# (the tests then say so). The machine's package sources and pins are never changed; only
# i386 is added, and only where 32-bit code runs.
set -euo pipefail

# Everything but 32-bit Wine. Each tool the build, the tests and `make run` call comes from
# here: a minimal Debian root has no `mount`, no X tools and no locales.
packages=(
  cmake make g++ googletest python3 python3-pytest
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  mmdebstrap
  xvfb xauth x11-utils imagemagick iproute2 util-linux mount procps
  locales
  python3-pefile
  libmspack-dev mscompress liblnk-utils
  osslsigncode openssl
  clang libclang-rt-14-dev
)
wine32=wine32:i386

# apt's first error (or else warning) line, without its "E: " or "W: ".
first_error() { { sed -n 's/^E: //p' <<<"$1"; sed -n 's/^W: //p' <<<"$1"; } | head -n 1 | grep . || head -n 1 <<<"$1"; }

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "ok installed"; }

missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive

# A list that cannot be read now may be readable a moment later (a mirror mid-sync); after a
# second try, apt goes on with the lists it has. apt reports some such failures as warnings
# and exits 0, so its words are read, not only its status.
update_lists() {
  local out status=0
  out=$($sudo apt-get update -qq 2>&1 >/dev/null) || status=$?
  problems=$(grep -E '^E: |^W: (Failed to fetch|Some index files)' <<<"$out" || true)
  [ $status -eq 0 ] && [ -z "$problems" ]
}
updated=0
update_once() {
  [ $updated -eq 0 ] || return 0
  updated=1
  if ! update_lists; then
    sleep 3
    update_lists || echo "Some package lists could not be read; going on with those apt has: $(first_error "$problems")"
  fi
}

# Installs the packages given, if any. Its failure ends the command, with apt's own message
# on stderr.
install_packages() {
  [ $# -gt 0 ] || return 0
  update_once
  echo "Installing missing packages: $*"
  $sudo apt-get install -y -qq --no-install-recommends "$@" >/dev/null \
    2> >(grep -v '^debconf: delaying package configuration' >&2)
}

# mmdebstrap first: the Wine root is then made while the rest installs (each has its own
# packages and its own apt).
others=()
for p in "${missing[@]}"; do
  if [ "$p" = mmdebstrap ]; then install_packages mmdebstrap; else others+=("$p"); fi
done
world=$(cd "$(dirname "$0")/../world" && pwd)
root_log=$(mktemp)
$sudo "$world/wine-root.sh" ensure >"$root_log" 2>&1 &
root_maker=$!
install_packages "${others[@]}"
root_status=0
wait $root_maker || root_status=$?
cat "$root_log"
rm -f "$root_log"
[ $root_status -eq 0 ] || exit $root_status

# 32-bit Wine of the machine's own, where 32-bit code runs.
installed "$wine32" || ! "$world/wine-root.sh" probe32 >/dev/null || {
  dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
  updated=0
  update_once
  if out=$($sudo apt-get install -y -qq --no-install-recommends "$wine32" 2>&1 >/dev/null); then
    echo "Installed $wine32"
  else
    echo "32-bit Wine could not be installed from the package registry: $(first_error "$out")"
  fi
}
