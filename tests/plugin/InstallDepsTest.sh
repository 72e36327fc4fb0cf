#!/usr/bin/env bash
# What scripts/install-deps.sh decides, with no network: apt-get, apt-cache,
# apt-mark, dpkg and dpkg-query are stubs on PATH that answer for a machine
# with the none build's packages and nothing of Windows, and that fail the
# way a mirror in the middle of a sync does. Each call is recorded.
# Usage: InstallDepsTest.sh SOURCE-FOLDER
set -euo pipefail
script=$1/scripts/install-deps.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
failures=0 passed=0

# The stub: one script under every name, its answers chosen by STUB_* below.
mkdir -p "$work/bin"
cat > "$work/bin/stub" <<'EOF'
#!/usr/bin/env bash
log() { echo "$(basename "$0") $*" >> "$STUB_LOG"; }
security=1:1.2.13.dfsg-1+deb12u1 release=1:1.2.13.dfsg-1 libc=2.36-9+deb12u10
case "$(basename "$0") $1" in
  "dpkg -s") [ "$STUB_HAVE" = all ] ;;
  "dpkg --print-architecture") echo amd64 ;;
  "dpkg --print-foreign-architectures") ;;
  "dpkg --compare-versions") exec /usr/bin/dpkg "$@" ;;
  "dpkg "*) log "$@" ;;
  "dpkg-query -W")
    if [ $# -eq 2 ]; then
      printf 'ii |zlib|%s|zlib1g|libc6 (>= 2.14)\n' "$security"
      printf 'ii |zlib|%s|zlib1g-dev|zlib1g (= %s), libc6-dev | libc-dev\n' "$security" "$security"
      printf 'ii |zlib|%s|minizip|zlib1g (>= 1:1.2.0)\nii |glibc|%s|libc6|libgcc-s1\n' "$security" "$libc"
    else case "$2|$3" in
      *Multi-Arch*zlib1g:amd64) printf 'ii |same|%s\n' "$security" ;;
      *Multi-Arch*libc6:amd64) printf 'ii |same|%s\n' "$libc" ;;
      *source:Package*zlib1g:amd64) printf zlib ;;
      *source:Package*libc6:amd64) printf glibc ;;
      *) exit 1 ;;
    esac fi ;;
  "apt-cache -t")
    case "$3 ${*: -1}" in
      "depends wine32:i386") printf 'wine32:i386\n  Depends: zlib1g:i386\n  Depends: <libfoo:i386>\nzlib1g:i386\nlibc6:i386\n<libfoo:i386>\n' ;;
      "policy zlib1g:i386") printf 'zlib1g:i386:\n  Installed: (none)\n  Candidate: %s\n' "$release" ;;
      "policy libc6:i386") printf 'libc6:i386:\n  Installed: (none)\n  Candidate: %s\n' "$libc" ;;
    esac ;;
  "apt-cache madison") printf '%s | %s | http://mirror/debian %s/main amd64 Packages\n' \
                          "$2" "$security" "$(. /etc/os-release && echo "$VERSION_CODENAME")-security" \
                          "$2" "$release" "$(. /etc/os-release && echo "$VERSION_CODENAME")" ;;
  "apt-mark showauto") echo zlib1g ;;
  "apt-mark "*) log "$@" ;;
  "apt-get "*)
    log "$@"
    case " $* " in
      *" update "*) [ "$STUB_UPDATE" = ok ] || { echo "E: Failed to fetch .../binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?" >&2; exit 100; } ;;
      *" -s "*) [[ " $* " != *" wine32:i386 "* ]] ;;
      *" -t "*) [ "$STUB_RELEASE" = ok ] ;;
      *) [ "$STUB_PLAIN" = ok ] || { echo "E: Unable to correct problems, you have held broken packages." >&2; exit 100; } ;;
    esac ;;
  *) echo "stub: unexpected call: $(basename "$0") $*" >&2; exit 99 ;;
esac
EOF
chmod +x "$work/bin/stub"
for name in apt-get apt-cache apt-mark dpkg dpkg-query; do ln -s stub "$work/bin/$name"; done
# sudo runs its command: the script uses it only when not run as root.
printf '#!/bin/sh\nexec "$@"\n' > "$work/bin/sudo"

# One row a case: name, what is installed, how update, the plain install and
# the install from the release answer, the exit status, then the lines that
# must stand in the output (#) and in the record of calls (@), and those that
# must not (!#, !@).
cases() {
  row "all installed" all ok ok ok 0 \
      "# path: present" "!@ apt-get"
  row "a healthy mirror" none ok ok ok 0 \
      "# path: plain (every index fetched)" "@ dpkg --add-architecture i386" "!@ apt-get -y -qq -o Dpkg::Use-Pty=0 install -t"
  row "an i386 index that does not match its Release file" none fail fail ok 0 \
      "# path: release (every package from $codename, the plain install could not be resolved)" \
      "# apt-get update failed (try 2 of 3), again in 0 s" \
      "# downgrade zlib1g (amd64) from 1:1.2.13.dfsg-1+deb12u1 to 1:1.2.13.dfsg-1, to match zlib1g:i386" \
      "# downgrade zlib1g-dev (amd64) from 1:1.2.13.dfsg-1+deb12u1 to 1:1.2.13.dfsg-1, to match zlib1g:i386" \
      "!# downgrade libc6" "!# downgrade minizip" \
      "@ apt-get -y -qq -o Dpkg::Use-Pty=0 install -t $codename --no-install-recommends --no-remove --allow-downgrades g++-mingw-w64-i686 binutils-mingw-w64-i686 wine wine32:i386 fonts-wine xvfb xauth fonts-liberation zlib1g:i386=1:1.2.13.dfsg-1 zlib1g=1:1.2.13.dfsg-1 zlib1g-dev=1:1.2.13.dfsg-1" \
      "@ apt-mark auto zlib1g" "!@ apt-mark auto zlib1g-dev"
  row "no i386 index at all: update succeeds" none ok fail ok 0 \
      "# path: release (every package from $codename" "# downgrade zlib1g (amd64)"
  row "an update that fails but indexes at hand that do" none fail ok ok 0 \
      "# path: plain (from the indexes at hand; apt-get update failed 3 times)"
  row "nothing works" none fail fail fail 1 \
      "# path: failed" "# could not get: wine32:i386"
}

row() {
  local name=$1 status=0 line want
  STUB_HAVE=$2 STUB_UPDATE=$3 STUB_PLAIN=$4 STUB_RELEASE=$5 STUB_LOG=$work/calls
  want=$6; shift 6
  : > "$STUB_LOG"
  PATH=$work/bin:$PATH STUB_HAVE=$STUB_HAVE STUB_UPDATE=$STUB_UPDATE STUB_PLAIN=$STUB_PLAIN \
    STUB_RELEASE=$STUB_RELEASE STUB_LOG=$STUB_LOG VKT_APT_PAUSE=0 \
    bash "$script" windows > "$work/out" 2>&1 || status=$?
  local ok=1
  [ "$status" = "$want" ] || { echo "  exit status $status, not $want"; ok=0; }
  for line in "$@"; do
    local file=$work/out negate=
    [[ "$line" == !* ]] && { negate=1; line=${line#!}; }
    [[ "$line" == @* ]] && file=$work/calls
    line=${line#? }
    if grep -qF -- "$line" "$file"; then found=1; else found=; fi
    if [ "$found" = "$negate" ]; then echo "  ${negate:+un}wanted: $line"; ok=0; fi
  done
  if [ "$ok" = 1 ]; then
    echo "ok     $name"; passed=$((passed + 1))
  else
    echo "FAIL   $name"; sed 's/^/  | /' "$work/out" "$work/calls"; failures=$((failures + 1))
  fi
}

cases
echo "$passed passed, $failures failed"
[ "$failures" -eq 0 ]
