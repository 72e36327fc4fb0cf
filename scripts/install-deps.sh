#!/usr/bin/env bash
# Installs what building and testing need, from Debian's packages.
# Usage: scripts/install-deps.sh [native|windows|all]   (default: all)
set -euo pipefail

what=${1:-all}
sudo_cmd=""
if [ "$(id -u)" -ne 0 ]; then sudo_cmd="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

native_pkgs=(cmake ninja-build g++ libgtest-dev libbenchmark-dev clang libclang-rt-dev
             libmuparser-dev libginac-dev pkg-config locales librsvg2-bin libpng-dev libedit-dev python3)
windows_pkgs=(g++-mingw-w64-i686 binutils-mingw-w64-i686 wine wine32:i386 xvfb xauth fonts-liberation)

missing=()
want() { for p in "$@"; do dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p"); done; }
case "$what" in
  native)  want "${native_pkgs[@]}" ;;
  windows) want "${windows_pkgs[@]}" ;;
  all)     want "${native_pkgs[@]}" "${windows_pkgs[@]}" ;;
  *) echo "usage: $0 [native|windows|all]" >&2; exit 2 ;;
esac
[ ${#missing[@]} -eq 0 ] && exit 0

if printf '%s\n' "${missing[@]}" | grep -q ':i386$' \
   && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo_cmd dpkg --add-architecture i386
fi
# A mirror in the middle of a sync fails an index or two; what is already
# known may still do, and the install below says so if it does not.
$sudo_cmd apt-get update -qq || echo "install-deps: apt-get update failed; installing from the indexes at hand" >&2
$sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
