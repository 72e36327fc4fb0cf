#!/usr/bin/env bash
# Installs what building and testing need, from Debian's packages, with the
# ordinary apt client and its signature and hash checks as they are.
# Usage: scripts/install-deps.sh [native|windows|all]   (default: all)
#
# It says in one line "install-deps: path: ..." which way it went:
#   present   everything is installed already;
#   plain     one apt-get install from the indexes apt has;
#   release   the plain install could not be resolved, most often because
#             an index of i386 is missing (a mirror in the middle of a sync
#             serves one that does not match its signed Release file, or
#             the source is not offered for i386): then the packages of a
#             "Multi-Arch: same" pair exist in one version for amd64 and an
#             older one for i386, and apt must hold both at one version. So
#             every package comes from the release's own suite (-t CODENAME),
#             and an installed amd64 library that is newer than anything
#             i386 can have is brought down to the version i386 has, with
#             the packages that depend on exactly its version, each change
#             said in a line;
#   failed    nothing worked: the packages that could not be had are named
#             and the exit status is 1.
# VKT_APT_TRIES and VKT_APT_PAUSE set how often apt-get update is tried and
# how many seconds lie between tries (3 and 20).
set -euo pipefail

what=${1:-all}
native_pkgs=(cmake ninja-build g++ libgtest-dev libbenchmark-dev clang libclang-rt-dev
             libmuparser-dev libginac-dev pkg-config locales librsvg2-bin libpng-dev libedit-dev python3)
# fonts-wine: Wine's own fonts (Marlett draws the caption buttons); a
# --no-install-recommends install of wine leaves it out.
windows_pkgs=(g++-mingw-w64-i686 binutils-mingw-w64-i686 wine wine32:i386 fonts-wine
              xvfb xauth fonts-liberation)
tries=${VKT_APT_TRIES:-3}
pause=${VKT_APT_PAUSE:-20}

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
apt_get() { "${sudo_cmd[@]}" apt-get -y -qq -o Dpkg::Use-Pty=0 "$@"; }
say() { echo "install-deps: $*"; }

missing=()
want() { for p in "$@"; do dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p"); done; }
case "$what" in
  native)  want "${native_pkgs[@]}" ;;
  windows) want "${windows_pkgs[@]}" ;;
  all)     want "${native_pkgs[@]}" "${windows_pkgs[@]}" ;;
  *) echo "usage: $0 [native|windows|all]" >&2; exit 2 ;;
esac
if [ ${#missing[@]} -eq 0 ]; then say "path: present (nothing to install)"; exit 0; fi

native_arch=$(dpkg --print-architecture)
foreign_archs=$(printf '%s\n' "${missing[@]}" | sed -n 's/^.*:\([a-z0-9]*\)$/\1/p' | sort -u)
for arch in $foreign_archs; do
  dpkg --print-foreign-architectures | grep -qx "$arch" || "${sudo_cmd[@]}" dpkg --add-architecture "$arch"
done

update_indexes() {
  local try
  for ((try = 1; try <= tries; try++)); do
    # apt-get update exits 0 when an index fails to download; its "E:"
    # lines on standard error tell.
    if apt_get update 2>"$tmp/update.err" && ! grep -q '^E:' "$tmp/update.err"; then return 0; fi
    sed 's/^/  /' "$tmp/update.err" | head -n 8 >&2
    if [ "$try" -lt "$tries" ]; then
      say "apt-get update failed (try $try of $tries), again in ${pause} s" >&2
      sleep "$pause"
    fi
  done
  return 1
}

# What apt could install with -t CODENAME: the version of PACKAGE there.
release_version() { apt-cache -t "$codename" policy "$1" 2>/dev/null | awk '/^ *Candidate:/ {print $2; exit}'; }
# Installed version of an amd64 package that is "Multi-Arch: same", or nothing.
installed_same() {
  dpkg-query -W -f='${db:Status-Abbrev}|${Multi-Arch}|${Version}\n' "$1:$native_arch" 2>/dev/null |
    awk -F'|' '$1 ~ /^ii/ && $2 == "same" {print $3}'
}

# The packages of the foreign architectures that the missing ones pull in.
foreign_closure() {
  printf '%s\n' "${missing[@]}" | grep ':' | xargs -r apt-cache -t "$codename" depends --recurse \
    --no-recommends --no-suggests --no-conflicts --no-breaks --no-replaces --no-enhances 2>/dev/null |
    grep -v '^ ' | grep ':' | grep -v '^<' | sort -u
}

# The version of an installed PACKAGE in the release itself, where the
# installed one came from another suite (apt-cache policy's candidate stays
# the installed version then).
release_version_installed() {
  apt-cache madison "$1" 2>/dev/null |
    awk -F' [|] ' -v c="$codename" -v a="$native_arch" '$3 ~ " "c"/[^ ]+ "a" Packages" {print $2; exit}'
}
# Installed packages built from SOURCE at VERSION that depend on exactly
# that version of a sibling: they must follow the library down.
exact_dependants() {
  dpkg-query -W -f='${db:Status-Abbrev}|${source:Package}|${Version}|${Package}|${Depends}\n' |
    awk -F'|' -v s="$1" -v v="$2" '$1 ~ /^ii/ && $2 == s && $3 == v && index($0, "(= " v ")") {print $4}' |
    sort -u
}

# Fills realign with PACKAGE=VERSION words: each amd64 library whose foreign
# twin is needed and can only be had older goes down to the twin's version,
# and so does each installed package that depends on exactly its version.
plan_realignment() {
  realign=()
  local -A planned=()
  local twin name have version source package target
  for twin in $(foreign_closure); do
    name=${twin%:*}
    have=$(installed_same "$name") || true
    [ -n "$have" ] || continue
    version=$(release_version "$twin")
    [ -n "$version" ] && dpkg --compare-versions "$have" gt "$version" || continue
    realign+=("$twin=$version")
    source=$(dpkg-query -W -f='${source:Package}' "$name:$native_arch")
    for package in "$name" $(exact_dependants "$source" "$have"); do
      [ -z "${planned[$package]:-}" ] || continue
      planned[$package]=1
      target=$version
      [ "$package" = "$name" ] || target=$(release_version_installed "$package")
      [ -n "$target" ] || continue
      say "downgrade $package ($native_arch) from $have to $target, to match ${twin}"
      realign+=("$package=$target")
    done
  done
}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
updated=yes
update_indexes || updated=no

if apt_get install --no-install-recommends "${missing[@]}" 2>"$tmp/install.err"; then
  if [ "$updated" = yes ]; then say "path: plain (every index fetched)"
  else say "path: plain (from the indexes at hand; apt-get update failed $tries times)"; fi
  exit 0
fi
sed 's/^/  /' "$tmp/install.err" | grep -v '^  *$' | tail -n 12 >&2

codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
if [ -n "$codename" ]; then
  say "path: release (every package from $codename, the plain install could not be resolved)"
  plan_realignment
  # Installing a downgraded library by name would mark it as installed by
  # hand; it keeps the mark it had.
  auto=$(apt-mark showauto 2>/dev/null | sort -u)
  if apt_get install -t "$codename" --no-install-recommends --no-remove --allow-downgrades \
       "${missing[@]}" "${realign[@]}"; then
    for word in "${realign[@]}"; do
      grep -qx "${word%=*}" <<<"$auto" && "${sudo_cmd[@]}" apt-mark auto "${word%=*}" >/dev/null
    done
    exit 0
  fi
fi

say "path: failed"
unavailable=()
for p in "${missing[@]}"; do
  apt-get install -s -qq --no-install-recommends ${codename:+-t "$codename"} "$p" >/dev/null 2>&1 ||
    unavailable+=("$p")
done
say "could not get: ${unavailable[*]:-${missing[*]}}" >&2
exit 1
