#!/usr/bin/env bash
# Proves the Debian package on a fresh Debian 12 (bookworm) system. Builds it with scripts/package.sh,
# once plain and once with -DVELLIX_SETCAP_ON_INSTALL=ON; for each one unpacks a new bookworm root
# (debootstrap's default set of packages and what they recommend, man-db, a user), installs the
# package there with apt (the plain one as the README says, the setcap one without recommended
# packages, so its Depends alone must do), checks the installed files, starts vellix-term in a
# pseudo-terminal and vellix on Qt's offscreen platform and on an X server (Xvfb, when installed
# here), as the user; then purges the package, lets `apt autoremove` take what it pulled in, and
# checks that the packages and files of the root are as before.
#
# The bare root is made once with debootstrap and kept as build/package-check/bookworm-base.tar.zst,
# so later runs only unpack it; downloaded packages are kept in build/package-check/apt-archives.
# What each step printed is in build/package-check/logs/.
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

# --- clean-up: processes we started, then every mount under $work, deepest first --------------
pids=()
forget_pid() {
  local p kept=()
  for p in "${pids[@]}"; do [[ $p == "$1" ]] || kept+=("$p"); done
  pids=("${kept[@]}")
}
unmount_under() {
  local m
  while read -r m; do
    [[ -n $m ]] && { umount "$m" 2>/dev/null || umount -l "$m" || true; }
  done < <(mounts_under "$1")
}
cleanup() {
  local p
  for p in "${pids[@]}"; do
    kill -TERM "$p" 2>/dev/null || true
  done
  for p in "${pids[@]}"; do
    kill -0 "$p" 2>/dev/null && { sleep 1; kill -KILL "$p" 2>/dev/null || true; }
  done
  pids=()
  unmount_under "$work"
}
mounts_under() {
  # Mount points at or below $1, deepest first (findmnt escapes blanks; $work has none).
  findmnt -rn -o TARGET | awk -v p="$1/" 'index($0 "/", p) == 1' | sort -r
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

remove_tree() {
  unmount_under "$1"
  if [[ -n $(mounts_under "$1") ]]; then
    echo "package-check: still mounted under $1, not removing it:" >&2
    mounts_under "$1" >&2
    exit 1
  fi
  rm -rf --one-file-system "$1"
}

# --- what the check needs on this machine ------------------------------------------------------
need=(debootstrap zstd)
missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

mkdir -p "$work" "$archives/partial"
rm -rf "$logs" "$work/debs"
mkdir -p "$logs" "$work/debs/plain" "$work/debs/setcap"

# --- the packages --------------------------------------------------------------------------------
if [[ -n $given_deb ]]; then
  # The package says itself whether it grants the capability.
  v=plain
  dpkg-deb --ctrl-tarfile "$given_deb" | tar -xOf - ./postinst 2>/dev/null | grep -q setcap && v=setcap
  cp "$given_deb" "$work/debs/$v/"
else
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
fi

# --- the bare root, made once -------------------------------------------------------------------
if [[ $new_root -eq 1 || ! -s $base_tar || $(cat "$base_tar.recipe" 2>/dev/null) != "$base_recipe" ]]; then
  say "making a bare $suite root with debootstrap (once; kept as ${base_tar#$PWD/})"
  rm -f "$base_tar"
  base=$work/base
  [[ -e $base ]] && remove_tree "$base"
  t0=$SECONDS
  debootstrap --include="$base_include" --cache-dir="$archives" \
      "$suite" "$base" "$mirror" >"$logs/debootstrap.log" 2>&1 \
    || { unmount_under "$base"; fail "debootstrap failed" "$logs/debootstrap.log" "$base/debootstrap/debootstrap.log"; }
  cat >"$base/etc/apt/sources.list" <<EOF
deb $mirror $suite main
deb $mirror $suite-updates main
deb $security_mirror $suite-security main
EOF
  # No service of the chroot may start on the build machine.
  printf '#!/bin/sh\nexit 101\n' >"$base/usr/sbin/policy-rc.d"
  chmod 755 "$base/usr/sbin/policy-rc.d"
  # debootstrap leaves out what its packages recommend, which apt (and so Debian's installer)
  # brings in by default; without those, apt would keep whatever a package under test pulls in
  # as a recommendation of the base system, and autoremove would look broken.
  cp /etc/resolv.conf "$base/etc/resolv.conf"
  mount -t proc proc "$base/proc"
  chroot "$base" apt-get update >>"$logs/debootstrap.log" 2>&1 \
    || { unmount_under "$base"; fail "apt-get update in the bare root failed" "$logs/debootstrap.log"; }
  for _ in 1 2 3; do
    recommended=$(chroot "$base" sh -c "dpkg-query -W -f='\${Recommends}\n' | tr ',' '\n' \
        | sed -e 's/|.*//' -e 's/(.*)//' -e 's/:any//' -e 's/ //g' | sort -u \
        | while read -r p; do [ -n \"\$p\" ] || continue
            dpkg-query -W -f='\${db:Status-Abbrev}' \"\$p\" 2>/dev/null | grep -q '^ii' && continue
            apt-cache show \"\$p\" >/dev/null 2>&1 && echo \"\$p\"; done")
    [[ -n $recommended ]] || break
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive chroot "$base" apt-get install -y $recommended >>"$logs/debootstrap.log" 2>&1 \
      || { unmount_under "$base"; fail "installing the recommended packages in the bare root failed" "$logs/debootstrap.log"; }
  done
  unmount_under "$base"
  chroot "$base" useradd --create-home --shell /bin/sh "$user"
  chroot "$base" apt-get clean
  rm -rf "$base"/var/lib/apt/lists/*
  tar --numeric-owner --xattrs --xattrs-include='*' -C "$base" -cf - . | zstd -q -T0 -3 -o "$base_tar.tmp"
  mv "$base_tar.tmp" "$base_tar"
  echo "$base_recipe" >"$base_tar.recipe"
  remove_tree "$base"
  say "bare root made in $((SECONDS - t0)) s"
fi

# --- helpers inside the root --------------------------------------------------------------------
clean_env=(PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8)
# A command run by root in the root, as on a console: `as_root CMD...`
as_root() {
  chroot "$root" /usr/bin/env -i "${clean_env[@]}" HOME=/root TERM=xterm DEBIAN_FRONTEND=noninteractive "$@"
}
# The user's clean environment as a command line, for scripts that run inside the root.
user_env() {
  echo /usr/bin/env -i "${clean_env[@]}" HOME=/home/$user USER=$user LOGNAME=$user "$@"
}
# The command line that runs a program as the user in the root, one word a line: chroot, setpriv
# and env each exec the next, so the pid of a started program is the one `$!` gives.
as_user_argv() {
  printf '%s\n' chroot "$root" /usr/bin/setpriv --reuid="$uid" --regid="$gid" --init-groups \
    /usr/bin/env -i "${clean_env[@]}" HOME=/home/$user USER=$user LOGNAME=$user
}
# `step NAME CMD...`: runs CMD with its output in a log named after NAME, failing loudly.
step() {
  local name=$1; shift
  local log=$logs/$variant-$name.log
  "$@" >"$log" 2>&1 || fail "$variant: $name failed (exit $?): $*" "$log"
}

fresh_root() {
  [[ -e $root ]] && remove_tree "$root"
  mkdir -p "$root"
  zstd -dc -q "$base_tar" | tar --numeric-owner --xattrs --xattrs-include='*' -C "$root" -xpf -
  cp /etc/resolv.conf "$root/etc/resolv.conf"
  mount -t proc proc "$root/proc"
  mount -t sysfs sysfs "$root/sys"
  mkdir -p "$root/dev/pts"
  mount -t devpts devpts "$root/dev/pts" -o newinstance,ptmxmode=0666,mode=0620,gid=5
  if [[ ! -c $root/dev/ptmx ]]; then
    rm -f "$root/dev/ptmx"
    ln -s pts/ptmx "$root/dev/ptmx"
  fi
  mount --bind "$archives" "$root/var/cache/apt/archives"
  uid=$(chroot "$root" id -u "$user")
  gid=$(chroot "$root" id -g "$user")
}

# Every path of the root but those that change by themselves (logs, caches, apt's lists, the
# user's files, scratch space) and dpkg's own -old backups.
snapshot() {
  as_root find / -xdev \( -path /proc -o -path /sys -o -path /dev -o -path /run -o -path /tmp \
      -o -path /var/tmp -o -path /var/log -o -path /var/cache -o -path /var/lib/apt \
      -o -path /home -o -path /root -o -path '/var/lib/dpkg/*-old' -o -path /var/lib/dpkg/statoverride \) \
      -prune -o -print | sort
  # dpkg leaves its (then empty) list of overrides once a package has used it: compare the list.
  as_root dpkg-statoverride --list | sed 's/^/statoverride: /'
}
installed_set() { as_root dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' | awk '$1 == "ii" {print $2}' | sort; }

# Waits up to $2 seconds for process $1 to end; 0 if it did.
wait_gone() {
  local i
  for ((i = 0; i < $2 * 10; i++)); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
}

# Starts vellix as the user with the given extra environment, checks after a few seconds that it
# is still up and has the Qt platform plugin $1 loaded, then ends it with SIGTERM.
check_desktop_start() {
  local plugin=$1 label=$2; shift 2
  local err=$logs/$variant-vellix-$label.stderr pid rc
  local -a argv
  mapfile -t argv < <(as_user_argv)
  (cd / && exec "${argv[@]}" "$@" /usr/bin/vellix </dev/null >"$logs/$variant-vellix-$label.stdout" 2>"$err") &
  pid=$!
  pids+=("$pid")
  sleep 3
  if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid" && rc=0 || rc=$?
    fail "$variant: vellix ($label) did not stay up: it ended with status $rc within 3 s" "$err"
  fi
  [[ $(readlink "/proc/$pid/exe") == "$root/usr/bin/vellix" ]] \
    || fail "$variant: process $pid is not the installed vellix ($(readlink "/proc/$pid/exe"))"
  grep -q "/platforms/$plugin\.so" "/proc/$pid/maps" \
    || fail "$variant: vellix ($label) runs but has not loaded the Qt platform plugin $plugin" "$err"
  grep -q 'libQt6Widgets\.so' "/proc/$pid/maps" || fail "$variant: vellix ($label) has not loaded Qt Widgets"
  # It runs as the user, and holds no capability once up, also where the package granted one.
  [[ $(awk '/^Uid:/ {print $2 $3 $4 $5}' "/proc/$pid/status") == "$uid$uid$uid$uid" ]] \
    || fail "$variant: vellix ($label) does not run as the user"
  [[ $(awk '/^Cap(Prm|Eff):/ {print $2}' "/proc/$pid/status" | sort -u) == 0000000000000000 ]] \
    || fail "$variant: vellix ($label) still holds capabilities: $(grep -E '^Cap(Prm|Eff)' "/proc/$pid/status" | tr '\n\t' '  ')"
  if [[ -n ${window_probe:-} ]]; then
    "$window_probe" "$pid" || fail "$variant: vellix ($label) is up but shows no window named Vellix" "$err"
  fi
  kill -TERM "$pid"
  wait_gone "$pid" 5 || fail "$variant: vellix ($label) did not end within 5 s of SIGTERM"
  wait "$pid" && rc=0 || rc=$?
  forget_pid "$pid"
  # 143: ended by the signal; 0: it caught the signal and quit.
  [[ $rc -eq 0 || $rc -eq 143 ]] || fail "$variant: vellix ($label) ended with status $rc after SIGTERM" "$err"
  if grep -Eiq 'error while loading shared libraries|platform plugin|symbol lookup error|not found|Aborted' "$err"; then
    fail "$variant: vellix ($label) reported a missing library or plugin" "$err"
  fi
}

# --- one check of one package ---------------------------------------------------------------------
check_package() {
  variant=$1
  local deb=$2 t0=$SECONDS
  local name=${deb##*/}
  say "$variant: fresh $suite root"
  fresh_root
  cp "$deb" "$root/tmp/$name"

  step apt-update as_root apt-get update
  installed_set >"$logs/$variant-packages-before"
  snapshot >"$logs/$variant-files-before"

  # The plain package as the README says, with what its dependencies recommend; the other one
  # with its Depends alone, which must be enough to run both programs.
  local how=()
  [[ $variant == setcap ]] && how=(--no-install-recommends)
  say "$variant: apt install ${how[*]} ./$name" | tr -s ' '
  # apt (unlike apt-get) deletes what it downloaded; keep it for the next run.
  step apt-install as_root sh -c "cd /tmp && apt install -y -o APT::Keep-Downloaded-Packages=true ${how[*]} ./$name"
  as_root dpkg-query -W -f='${db:Status-Abbrev}' vellix 2>/dev/null | grep -q '^ii' \
    || fail "$variant: vellix is not installed and configured after apt install" "$logs/$variant-apt-install.log"
  step dpkg-audit as_root sh -c 'out=$(dpkg --audit) && [ -z "$out" ] || { echo "$out"; exit 1; }'
  step apt-check as_root apt-get check

  as_root dpkg -L vellix >"$logs/$variant-dpkg-L"
  local want=(/usr/bin/vellix /usr/bin/vellix-term /usr/share/applications/vellix.desktop
              /usr/share/metainfo/io.github.vellix.Vellix.metainfo.xml
              /usr/share/man/man1/vellix.1.gz /usr/share/man/man1/vellix-term.1.gz)
  local size
  for size in 16 32 48; do want+=("/usr/share/icons/hicolor/${size}x${size}/apps/vellix.png"); done
  local f
  for f in "${want[@]}"; do
    grep -qxF "$f" "$logs/$variant-dpkg-L" || fail "$variant: the package does not ship $f" "$logs/$variant-dpkg-L"
    [[ -e $root$f ]] || fail "$variant: $f is listed by dpkg -L but not on disk"
  done
  for f in /usr/bin/vellix /usr/bin/vellix-term; do
    [[ -f $root$f && -x $root$f ]] || fail "$variant: $f is not an executable file"
  done

  say "$variant: libraries, desktop entry, AppStream data, icons, manual page"
  # Every library of both programs and of Qt's display plugins (xcb for X11/XWayland, offscreen).
  local plugdir
  plugdir=$(as_root sh -c 'ls -d /usr/lib/*/qt6/plugins/platforms 2>/dev/null | head -n 1')
  [[ -n $plugdir ]] || fail "$variant: no Qt 6 platform plugins installed (libqt6gui6 brings xcb and offscreen)"
  for f in /usr/bin/vellix /usr/bin/vellix-term "$plugdir/libqxcb.so" "$plugdir/libqoffscreen.so"; do
    [[ -e $root$f ]] || fail "$variant: $f is missing"
    as_root ldd "$f" >"$logs/$variant-ldd.log" 2>&1 || fail "$variant: ldd $f failed" "$logs/$variant-ldd.log"
    grep -q 'not found' "$logs/$variant-ldd.log" \
      && fail "$variant: $f lacks libraries:$(grep 'not found' "$logs/$variant-ldd.log" | tr -s ' \t\n' ' ')"
  done

  local desktop=$root/usr/share/applications/vellix.desktop exec_cmd icon
  cmp -s packaging/vellix.desktop "$desktop" || fail "$variant: the installed desktop entry differs from packaging/vellix.desktop"
  exec_cmd=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
  [[ -n $exec_cmd ]] && as_root sh -c "command -v '$exec_cmd' >/dev/null" \
    || fail "$variant: the desktop entry's Exec=$exec_cmd is not a command on PATH"
  icon=$(sed -n 's/^Icon=//p' "$desktop")
  [[ -n $icon ]] && ls "$root"/usr/share/icons/hicolor/*/apps/"$icon".png >/dev/null 2>&1 \
    || fail "$variant: the desktop entry's Icon=$icon has no icon in the hicolor theme"
  local meta=$root/usr/share/metainfo/io.github.vellix.Vellix.metainfo.xml b
  grep -q '<launchable type="desktop-id">vellix.desktop</launchable>' "$meta" \
    || fail "$variant: the AppStream data does not launch vellix.desktop"
  for b in $(sed -n 's:.*<binary>\(.*\)</binary>.*:\1:p' "$meta"); do
    [[ -x $root/usr/bin/$b ]] || fail "$variant: the AppStream data provides /usr/bin/$b, which is not installed"
  done
  for size in 16 32 48; do
    f=$root/usr/share/icons/hicolor/${size}x${size}/apps/vellix.png
    # The PNG signature, then the IHDR chunk's width and height.
    [[ $(od -An -tx1 -N8 "$f" | tr -d ' \n') == 89504e470d0a1a0a ]] || fail "$variant: $f is no PNG"
    local w h
    w=$((16#$(od -An -tx1 -j16 -N4 "$f" | tr -d ' \n')))
    h=$((16#$(od -An -tx1 -j20 -N4 "$f" | tr -d ' \n')))
    [[ $w -eq $size && $h -eq $size ]] || fail "$variant: $f is ${w}x$h, not ${size}x$size"
  done
  local page
  for page in vellix vellix-term; do
    as_root env MANWIDTH=80 man --warnings -P cat "$page" >"$logs/$variant-man-$page.txt" 2>"$logs/$variant-man-$page.stderr" \
      || fail "$variant: man $page failed" "$logs/$variant-man-$page.stderr"
    [[ -s $logs/$variant-man-$page.stderr ]] && fail "$variant: man $page printed diagnostics" "$logs/$variant-man-$page.stderr"
    grep -q 'parallel port register panel' "$logs/$variant-man-$page.txt" \
      || fail "$variant: man $page does not show the manual page" "$logs/$variant-man-$page.txt"
  done

  # File capabilities, read with this machine's getcap, which needs nothing inside the root.
  local caps
  caps=$(getcap "$root/usr/bin/vellix" "$root/usr/bin/vellix-term" | sed "s:^$root::")
  if [[ $variant == setcap ]]; then
    # libcap2-bin is part of a standard system (so of this root), which would hide its absence
    # from Depends here: check the field itself.
    dpkg-deb -f "$deb" Depends | tr ',' '\n' | grep -qE '^ *libcap2-bin( |$)' \
      || fail "$variant: the package runs setcap but does not depend on libcap2-bin: $(dpkg-deb -f "$deb" Depends)"
    [[ $caps == "/usr/bin/vellix cap_sys_rawio=ep" ]] \
      || fail "$variant: after installing, getcap shows '${caps:-no capability}', not '/usr/bin/vellix cap_sys_rawio=ep'" \
              "$logs/$variant-apt-install.log"
    as_root getcap /usr/bin/vellix | grep -q 'cap_sys_rawio=ep' \
      || fail "$variant: getcap inside the root does not show cap_sys_rawio=ep on /usr/bin/vellix"
  else
    [[ -z $caps ]] || fail "$variant: the plain package grants capabilities: $caps"
  fi

  say "$variant: vellix-term in a pseudo-terminal (3 s, then SIGTERM)"
  cat >"$root/tmp/term-check.sh" <<EOF
stty rows 40 cols 120
stty -g >/tmp/stty-before
cd /home/$user
timeout --foreground -k 3 -s TERM 3 $(user_env TERM=xterm) setpriv --reuid=$uid --regid=$gid --init-groups vellix-term
echo \$? >/tmp/term-status
stty -g >/tmp/stty-after
EOF
  local tlog=$root/tmp/term.log
  as_root script -qec "sh /tmp/term-check.sh" /tmp/term.log </dev/null >"$logs/$variant-term.out" 2>&1 \
    || fail "$variant: running vellix-term under script failed" "$logs/$variant-term.out"
  cp "$tlog" "$logs/$variant-term.typescript"
  local status
  status=$(cat "$root/tmp/term-status" 2>/dev/null || echo none)
  case $status in
    124) ;;
    137) fail "$variant: vellix-term ignored SIGTERM and had to be killed" "$logs/$variant-term.typescript" ;;
    *) fail "$variant: vellix-term did not stay up for 3 s (status $status)" "$logs/$variant-term.typescript" ;;
  esac
  for label in "Data Value" "Base Addr" "Set Data" "Continous" "Inputs" "Output" "Cancel"; do
    grep -aqF "$label" "$tlog" || fail "$variant: vellix-term did not draw \"$label\"" "$logs/$variant-term.typescript"
  done
  # Alternate screen entered and left again, last thing, and the tty modes as they were.
  [[ $(grep -aoE $'\e\\[\\?1049[hl]' "$tlog" | head -n 1) == $'\e[?1049h' ]] \
    || fail "$variant: vellix-term did not switch to the full-screen mode" "$logs/$variant-term.typescript"
  [[ $(grep -aoE $'\e\\[\\?1049[hl]' "$tlog" | tail -n 1) == $'\e[?1049l' ]] \
    || fail "$variant: vellix-term did not leave the full-screen mode on SIGTERM" "$logs/$variant-term.typescript"
  cmp -s "$root/tmp/stty-before" "$root/tmp/stty-after" \
    || fail "$variant: vellix-term left the terminal modes changed ($(cat "$root/tmp/stty-before") -> $(cat "$root/tmp/stty-after"))"

  say "$variant: vellix on Qt's offscreen platform (3 s, then SIGTERM)"
  window_probe="" check_desktop_start libqoffscreen offscreen QT_QPA_PLATFORM=offscreen
  if [[ -n $xdisplay ]]; then
    say "$variant: vellix on the X server $xdisplay (3 s, then SIGTERM)"
    window_probe=$x_window_probe check_desktop_start libqxcb x11 DISPLAY="$xdisplay"
  fi

  say "$variant: apt remove --purge vellix"
  step apt-purge as_root apt remove --purge -y vellix
  as_root dpkg-query -W -f='${db:Status-Abbrev}\n' vellix >"$logs/$variant-status-after" 2>&1 || true
  grep -q '^[iurhp][^n]' "$logs/$variant-status-after" \
    && fail "$variant: dpkg still knows vellix after the purge" "$logs/$variant-status-after"
  local left=()
  while read -r f; do
    [[ -n $f && $f != /. ]] || continue
    if [[ -L $root$f || -f $root$f ]]; then
      left+=("$f")
    elif [[ -d $root$f ]] && ! as_root dpkg-query -S "$f" >/dev/null 2>&1; then
      left+=("$f/ (owned by no package: $(ls -A "$root$f" | head -n 3 | tr '\n' ' '))")
    fi
  done <"$logs/$variant-dpkg-L"
  ((${#left[@]} == 0)) || fail "$variant: left behind after the purge: ${left[*]}"
  ls "$root"/var/lib/dpkg/info/vellix.* >/dev/null 2>&1 && fail "$variant: dpkg's vellix.* control files are left"

  say "$variant: apt autoremove --purge"
  step apt-autoremove as_root apt autoremove --purge -y
  installed_set >"$logs/$variant-packages-after"
  diff "$logs/$variant-packages-before" "$logs/$variant-packages-after" >"$logs/$variant-packages.diff" \
    || fail "$variant: after autoremove the installed packages differ from the fresh root (< before, > after)" \
            "$logs/$variant-packages.diff"
  snapshot >"$logs/$variant-files-after"
  diff "$logs/$variant-files-before" "$logs/$variant-files-after" >"$logs/$variant-files.diff" \
    || fail "$variant: after purge and autoremove the file system differs from the fresh root (< gone, > new)" \
            "$logs/$variant-files.diff"
  step dpkg-audit-after as_root sh -c 'out=$(dpkg --audit) && [ -z "$out" ] || { echo "$out"; exit 1; }'

  rm -f "$archives"/vellix_*.deb
  remove_tree "$root"
  say "$variant: passed in $((SECONDS - t0)) s"
}

# --- an X server for the desktop start, when Xvfb is installed -----------------------------------
xdisplay=""
x_window_probe=""
if command -v Xvfb >/dev/null; then
  # The chroot has its own /tmp, so it reaches the server on its abstract socket. -noreset: a
  # server without clients starts over when a connection closes, and vellix's look for a display
  # (connect, close) would then race with Qt's own connection. The server picks a free display
  # number and writes it to the pipe once it accepts clients.
  exec {xfd}<> <(:)
  Xvfb -displayfd "$xfd" -nolisten tcp -noreset -screen 0 1024x768x24 >"$logs/xvfb.log" 2>&1 &
  pids+=("$!")
  if read -r -t 15 -u "$xfd" n; then
    xdisplay=:$n
  else
    fail "Xvfb did not start" "$logs/xvfb.log"
  fi
  exec {xfd}>&-
  if command -v xdotool >/dev/null && [[ -n $xdisplay ]]; then
    # A visible window of process $1 whose title has "Vellix", within 5 s.
    probe_window() {
      local p
      DISPLAY=$xdisplay xdotool search --sync --onlyvisible --pid "$1" --name Vellix >"$logs/xdotool.log" 2>&1 &
      p=$!
      wait_gone "$p" 5 || { kill "$p" 2>/dev/null; wait "$p" 2>/dev/null; return 1; }
      wait "$p"
    }
    x_window_probe=probe_window
  fi
fi
[[ -n $xdisplay ]] || say "no Xvfb here: vellix is started on the offscreen platform only"

for v in plain setcap; do
  for deb in "$work/debs/$v"/*.deb; do
    [[ -e $deb ]] && check_package "$v" "$deb"
  done
done
say "package check passed in $((SECONDS - started)) s"
