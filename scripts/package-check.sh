#!/usr/bin/env bash
# Proves the Debian package on a fresh Debian 12 (bookworm) system. Builds it with scripts/package.sh,
# once plain and once with -DVELLIX_SETCAP_ON_INSTALL=ON; runs lintian on each; for each one unpacks
# a new bookworm root (debootstrap's default set of packages and what they recommend, man-db, a
# user), installs the package there with apt (the plain one as the README says, the setcap one
# without recommended packages, so its Depends alone must do), checks the installed files, starts
# vellix-term in a pseudo-terminal and vellix on Qt's offscreen platform and on an X server (Xvfb,
# when installed here), as the user; then purges the package, lets `apt autoremove` take what it
# pulled in, and checks that the packages and files of the root are as before.
#
# The bare root is made once with debootstrap and kept as build/package-check/bookworm-base.tar.zst,
# so later runs only unpack it; downloaded packages are kept in build/package-check/apt-archives.
# What each step printed is in build/package-check/logs/. The root's making and handling is in
# scripts/lib/package_root.sh, the checks themselves in scripts/lib/package_checks.sh.
# Usage: scripts/package-check.sh [--new-root] [--deb FILE]
#   --new-root  make the bare root again (after a point release, say)
#   --deb FILE  check FILE alone instead of building; it must grant cap_sys_rawio if and only if
#               its postinst runs setcap
# Needs root (debootstrap, chroot, mount). VELLIX_DEBIAN_MIRROR and VELLIX_DEBIAN_SECURITY_MIRROR
# override the Debian mirrors.
set -euo pipefail
if [[ $(id -u) -ne 0 ]]; then
  # debootstrap, chroot and mount need root.
  exec sudo bash "$(realpath "$0")" "$@"
fi

new_root=0
given_deb=""
while (($#)); do
  case $1 in
    --new-root) new_root=1; shift ;;
    --deb) given_deb=$(realpath "${2:?--deb needs a file}"); shift 2 ;;
    *) echo "usage: $0 [--new-root] [--deb FILE]" >&2; exit 2 ;;
  esac
done
[[ -z $given_deb || -f $given_deb ]] || { echo "package-check: no file $given_deb" >&2; exit 2; }
cd "$(dirname "$0")/.."

suite=bookworm
mirror=${VELLIX_DEBIAN_MIRROR:-http://deb.debian.org/debian}
security_mirror=${VELLIX_DEBIAN_SECURITY_MIRROR:-http://deb.debian.org/debian-security}
# debootstrap's default set (the required and important packages: systemd as init, apt ...), as a
# new server install has, plus man-db to read the manual page with.
base_include=man-db
base_recipe="$suite default +$base_include $mirror"
work=$PWD/build/package-check
base_tar=$work/$suite-base.tar.zst
archives=$work/apt-archives
root=$work/root
logs=$work/logs
user=vellixuser        # the unprivileged user the programs run as in the root
variant=""             # the package under test: plain or setcap
started=$SECONDS

say() { printf '== [%3d s] %s\n' "$((SECONDS - started))" "$*"; }
fail() {
  printf 'package-check: FAIL: %s\n' "$1" >&2
  shift
  for f in "$@"; do
    [[ -s $f ]] && { printf -- '--- %s (last lines)\n' "$f" >&2; tail -n 40 "$f" >&2; }
  done
  exit 1
}

source scripts/lib/package_root.sh
source scripts/lib/package_checks.sh
source scripts/lib/xvfb.sh
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# What the check needs on this machine.
install_host_tools() {
  local need=(debootstrap zstd lintian imagemagick) missing=() p
  for p in "${need[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

# The packages to check, in $work/debs/plain and $work/debs/setcap.
build_packages() {
  local v n
  if [[ -n $given_deb ]]; then
    # The package says itself whether it grants the capability.
    v=plain
    dpkg-deb --ctrl-tarfile "$given_deb" | tar -xOf - ./postinst 2>/dev/null | grep -q setcap && v=setcap
    cp "$given_deb" "$work/debs/$v/"
    return
  fi
  # The setcap one first, so that build/package/ ends up holding the plain package.
  say "building the package with -DVELLIX_SETCAP_ON_INSTALL=ON"
  bash scripts/package.sh -DVELLIX_SETCAP_ON_INSTALL=ON >"$logs/package-setcap.log" 2>&1 \
    || fail "scripts/package.sh -DVELLIX_SETCAP_ON_INSTALL=ON failed" "$logs/package-setcap.log"
  cp build/package/vellix_*.deb "$work/debs/setcap/"
  say "building the package"
  bash scripts/package.sh >"$logs/package.log" 2>&1 || fail "scripts/package.sh failed" "$logs/package.log"
  cp build/package/vellix_*.deb "$work/debs/plain/"
  for v in plain setcap; do
    n=$(ls "$work/debs/$v"/vellix_*.deb | wc -l)
    [[ $n -eq 1 ]] || fail "expected one vellix_*.deb from the $v build, found $n"
  done
}

# An X server for the desktop start, when Xvfb is installed: sets xdisplay, and x_window_probe
# when xdotool can look for the window. The chroot has its own /tmp, so vellix reaches the
# server on its abstract socket.
xdisplay=""
x_window_probe=""
start_x_server() {
  command -v Xvfb >/dev/null || { say "no Xvfb here: vellix is started on the offscreen platform only"; return; }
  if ! start_xvfb "$logs" 1024x768x24; then
    pids+=("$xvfb_pid")
    fail "Xvfb did not start" "$logs/xvfb.log"
  fi
  pids+=("$xvfb_pid")
  xdisplay=$DISPLAY
  command -v xdotool >/dev/null && x_window_probe=probe_window
  return 0
}
# A visible window of process $1 whose title has "Vellix", within 5 s.
probe_window() {
  local p
  DISPLAY=$xdisplay xdotool search --sync --onlyvisible --pid "$1" --name Vellix >"$logs/xdotool.log" 2>&1 &
  p=$!
  wait_gone "$p" 5 || { kill "$p" 2>/dev/null; wait "$p" 2>/dev/null; return 1; }
  wait "$p"
}

# Every check of one package, in a root of its own.
check_package() {
  variant=$1 deb=$2
  local t0=$SECONDS
  say "$variant: lintian"
  check_lintian
  say "$variant: fresh $suite root"
  fresh_root
  cp "$deb" "$root/tmp/${deb##*/}"
  step apt-update as_root apt-get update
  installed_set >"$logs/$variant-packages-before"
  snapshot >"$logs/$variant-files-before"

  check_install
  check_shipped_files
  say "$variant: libraries, desktop entry, AppStream data, icons, manual page"
  check_libraries
  check_desktop_entry
  check_appstream_data
  check_icons
  check_manual_pages
  check_capabilities
  check_terminal_start
  check_desktop_starts
  check_purge
  check_autoremove

  rm -f "$archives"/vellix_*.deb
  remove_tree "$root"
  say "$variant: passed in $((SECONDS - t0)) s"
}

install_host_tools
mkdir -p "$work" "$archives/partial"
rm -rf "$logs" "$work/debs"
mkdir -p "$logs" "$work/debs/plain" "$work/debs/setcap"
build_packages
if [[ $new_root -eq 1 || ! -s $base_tar || $(cat "$base_tar.recipe" 2>/dev/null) != "$base_recipe" ]]; then
  make_base_root
fi
start_x_server

for v in plain setcap; do
  for deb in "$work/debs/$v"/*.deb; do
    [[ -e $deb ]] && check_package "$v" "$deb"
  done
done
say "package check passed in $((SECONDS - started)) s"
