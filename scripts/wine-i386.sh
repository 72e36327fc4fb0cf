#!/usr/bin/env bash
# Makes sure 32-bit Linux programs (Wine's 32-bit loader and server) can run.
#
# Some kernels are booted without 32-bit emulation (ia32_emulation=off); the
# i386 Wine from Debian then fails with "Exec format error". On such a
# machine this script runs i386 programs under QEMU's user-mode emulator,
# registered with binfmt_misc. QEMU 7.2 of Debian 12 mishandles the address
# space reservations of Wine 8, so the emulator comes from Debian's
# backports (10.x); it is unpacked into build/tools, not installed.
# Needs root on such a machine. Usage: scripts/wine-i386.sh
set -euo pipefail
cd "$(dirname "$0")/.."

binfmt=/proc/sys/fs/binfmt_misc
runs_i386() { /lib/ld-linux.so.2 --version >/dev/null 2>&1; }
emulated() { [ -e "$binfmt/qemu-i386" ] && grep -qx enabled "$binfmt/qemu-i386"; }
say_emulated() { echo "32-bit programs: QEMU user-mode emulation (x87 faults do not trap under Wine)"; }

if runs_i386; then
  if emulated; then say_emulated; else echo "32-bit programs: run by the kernel (x87 faults trap under Wine)"; fi
  exit 0
fi
echo "wine-i386: this kernel does not run 32-bit programs; using QEMU user-mode emulation" >&2

tools=$PWD/build/tools
qemu=$tools/qemu-i386
if [ ! -x "$qemu" ]; then
  apt_dir=$PWD/build/tools/apt
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/deb"
  echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm-backports main" \
    > "$apt_dir/sources.list"
  apt_opts=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o Dir::Etc::SourceParts=/dev/null
            -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache" -o APT::Sandbox::User=root)
  apt-get "${apt_opts[@]}" update -qq
  version=$(apt-cache "${apt_opts[@]}" madison qemu-user | awk '/bookworm-backports/ {print $3; exit}')
  [ -n "$version" ] || { echo "wine-i386: no qemu-user in bookworm-backports" >&2; exit 1; }
  (cd "$apt_dir/deb" && apt-get "${apt_opts[@]}" download -qq "qemu-user=$version")
  rm -rf "$apt_dir/x"
  dpkg-deb -x "$apt_dir"/deb/qemu-user_*.deb "$apt_dir/x"
  install -m 755 "$apt_dir/x/usr/bin/qemu-i386" "$qemu"
  rm -rf "$apt_dir/x"
fi

[ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt"
[ -e "$binfmt/qemu-i386" ] && echo -1 > "$binfmt/qemu-i386"
# i386 ELF executables and shared objects; F: the emulator is opened now, so
# it serves every later start whatever the caller's root or namespace.
printf '%s' ':qemu-i386:M::\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$qemu"':F' \
  > "$binfmt/register"
runs_i386 || { echo "wine-i386: 32-bit programs still do not run" >&2; exit 1; }
say_emulated
