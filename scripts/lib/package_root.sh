# shellcheck shell=bash disable=SC2154
# Sourced by scripts/package-check.sh: the fresh Debian root the package is checked in, the
# processes and mounts the check leaves behind, and how commands run inside the root.
# Expects from the caller: work, logs, root, user, suite, mirror, security_mirror, base_include,
# base_tar, base_recipe, archives, variant (for step logs), say and fail.

# --- clean-up: processes we started, then every mount under $work, deepest first --------------
pids=()
forget_pid() {
  local p kept=()
  for p in "${pids[@]}"; do [[ $p == "$1" ]] || kept+=("$p"); done
  pids=("${kept[@]}")
}
mounts_under() {
  # Mount points at or below $1, deepest first (findmnt escapes blanks; $work has none).
  findmnt -rn -o TARGET | awk -v p="$1/" 'index($0 "/", p) == 1' | sort -r
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
remove_tree() {
  unmount_under "$1"
  if [[ -n $(mounts_under "$1") ]]; then
    echo "package-check: still mounted under $1, not removing it:" >&2
    mounts_under "$1" >&2
    exit 1
  fi
  rm -rf --one-file-system "$1"
}

# Waits up to $2 seconds for process $1 to end; 0 if it did.
wait_gone() {
  local i
  for ((i = 0; i < $2 * 10; i++)); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
}

# --- the bare root, made once --------------------------------------------------------------------
# debootstrap's default set, what those packages recommend (as apt and so Debian's installer
# would bring in), the user; packed as $base_tar so that later runs only unpack it.
make_base_root() {
  say "making a bare $suite root with debootstrap (once; kept as ${base_tar#$PWD/})"
  rm -f "$base_tar"
  local base=$work/base t0=$SECONDS recommended
  [[ -e $base ]] && remove_tree "$base"
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
}

# A new root from the bare one, with /proc, /sys, its own pseudo-terminals and the shared apt
# download cache mounted; sets uid and gid of the user.
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

# --- running commands inside the root ------------------------------------------------------------
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
