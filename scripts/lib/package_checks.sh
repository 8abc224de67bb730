# shellcheck shell=bash disable=SC2154
# Sourced by scripts/package-check.sh: one function per check of one package. Each reads the
# package under test from `variant` (plain or setcap) and `deb`, works on the root that
# scripts/lib/package_root.sh made, and ends the whole check with `fail` at the first fault.

# lintian, Debian's package checker, on the .deb itself: no error and no warning. Overrides that
# the package carries (with their reasons) are honoured; informational tags are not faults.
check_lintian() {
  local log=$logs/$variant-lintian.log
  lintian --fail-on error,warning --tag-display-limit 0 "$deb" >"$log" 2>&1 \
    || fail "$variant: lintian reports errors or warnings (or did not run)" "$log"
  grep -E '^[EW]: ' "$log" >/dev/null && fail "$variant: lintian reports errors or warnings" "$log"
  return 0
}

# The plain package as the README says, with what its dependencies recommend; the other one
# with its Depends alone, which must be enough to run both programs.
check_install() {
  local how=()
  [[ $variant == setcap ]] && how=(--no-install-recommends)
  say "$variant: apt install ${how[*]} ./${deb##*/}" | tr -s ' '
  # apt (unlike apt-get) deletes what it downloaded; keep it for the next run.
  step apt-install as_root sh -c "cd /tmp && apt install -y -o APT::Keep-Downloaded-Packages=true ${how[*]} ./${deb##*/}"
  as_root dpkg-query -W -f='${db:Status-Abbrev}' vellix 2>/dev/null | grep -q '^ii' \
    || fail "$variant: vellix is not installed and configured after apt install" "$logs/$variant-apt-install.log"
  step dpkg-audit as_root sh -c 'out=$(dpkg --audit) && [ -z "$out" ] || { echo "$out"; exit 1; }'
  step apt-check as_root apt-get check
}

check_shipped_files() {
  as_root dpkg -L vellix >"$logs/$variant-dpkg-L"
  local want=(/usr/bin/vellix /usr/bin/vellix-term /usr/share/applications/vellix.desktop
              /usr/share/metainfo/io.github.vellix.Vellix.metainfo.xml
              /usr/share/man/man1/vellix.1.gz /usr/share/man/man1/vellix-term.1.gz
              /usr/share/doc/vellix/copyright /usr/share/doc/vellix/changelog.gz)
  local size f
  for size in 16 32 48; do want+=("/usr/share/icons/hicolor/${size}x${size}/apps/vellix.png"); done
  for f in "${want[@]}"; do
    grep -qxF "$f" "$logs/$variant-dpkg-L" || fail "$variant: the package does not ship $f" "$logs/$variant-dpkg-L"
    [[ -e $root$f ]] || fail "$variant: $f is listed by dpkg -L but not on disk"
  done
  for f in /usr/bin/vellix /usr/bin/vellix-term; do
    [[ -f $root$f && -x $root$f ]] || fail "$variant: $f is not an executable file"
  done
}

# Every library of both programs and of Qt's display plugins (xcb for X11/XWayland, offscreen).
check_libraries() {
  local plugdir f
  plugdir=$(as_root sh -c 'ls -d /usr/lib/*/qt6/plugins/platforms 2>/dev/null | head -n 1')
  [[ -n $plugdir ]] || fail "$variant: no Qt 6 platform plugins installed (libqt6gui6 brings xcb and offscreen)"
  for f in /usr/bin/vellix /usr/bin/vellix-term "$plugdir/libqxcb.so" "$plugdir/libqoffscreen.so"; do
    [[ -e $root$f ]] || fail "$variant: $f is missing"
    as_root ldd "$f" >"$logs/$variant-ldd.log" 2>&1 || fail "$variant: ldd $f failed" "$logs/$variant-ldd.log"
    grep -q 'not found' "$logs/$variant-ldd.log" \
      && fail "$variant: $f lacks libraries:$(grep 'not found' "$logs/$variant-ldd.log" | tr -s ' \t\n' ' ')"
  done
  return 0
}

check_desktop_entry() {
  local desktop=$root/usr/share/applications/vellix.desktop exec_cmd icon
  cmp -s packaging/vellix.desktop "$desktop" || fail "$variant: the installed desktop entry differs from packaging/vellix.desktop"
  exec_cmd=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
  [[ -n $exec_cmd ]] && as_root sh -c "command -v '$exec_cmd' >/dev/null" \
    || fail "$variant: the desktop entry's Exec=$exec_cmd is not a command on PATH"
  icon=$(sed -n 's/^Icon=//p' "$desktop")
  [[ -n $icon ]] && ls "$root"/usr/share/icons/hicolor/*/apps/"$icon".png >/dev/null 2>&1 \
    || fail "$variant: the desktop entry's Icon=$icon has no icon in the hicolor theme"
}

check_appstream_data() {
  local meta=$root/usr/share/metainfo/io.github.vellix.Vellix.metainfo.xml b
  grep -q '<launchable type="desktop-id">vellix.desktop</launchable>' "$meta" \
    || fail "$variant: the AppStream data does not launch vellix.desktop"
  for b in $(sed -n 's:.*<binary>\(.*\)</binary>.*:\1:p' "$meta"); do
    [[ -x $root/usr/bin/$b ]] || fail "$variant: the AppStream data provides /usr/bin/$b, which is not installed"
  done
}

# Each hicolor icon is a PNG of the size its directory names, as ImageMagick reads it.
check_icons() {
  local size f got
  for size in 16 32 48; do
    f=$root/usr/share/icons/hicolor/${size}x${size}/apps/vellix.png
    got=$(identify -format '%m %w %h' "$f" 2>"$logs/$variant-identify.log") \
      || fail "$variant: ImageMagick cannot read $f" "$logs/$variant-identify.log"
    [[ $got == "PNG $size $size" ]] || fail "$variant: $f is '$got' (format, width, height), not 'PNG $size $size'"
  done
}

check_manual_pages() {
  local page
  for page in vellix vellix-term; do
    as_root env MANWIDTH=80 man --warnings -P cat "$page" >"$logs/$variant-man-$page.txt" 2>"$logs/$variant-man-$page.stderr" \
      || fail "$variant: man $page failed" "$logs/$variant-man-$page.stderr"
    [[ -s $logs/$variant-man-$page.stderr ]] && fail "$variant: man $page printed diagnostics" "$logs/$variant-man-$page.stderr"
    grep -q 'parallel port register panel' "$logs/$variant-man-$page.txt" \
      || fail "$variant: man $page does not show the manual page" "$logs/$variant-man-$page.txt"
  done
}

# File capabilities, read with this machine's getcap, which needs nothing inside the root.
check_capabilities() {
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
}

# vellix-term as the user in a pseudo-terminal for 3 s, then SIGTERM: it draws the panel, and
# leaves the full-screen mode and the terminal's modes as it found them.
check_terminal_start() {
  say "$variant: vellix-term in a pseudo-terminal (3 s, then SIGTERM)"
  cat >"$root/tmp/term-check.sh" <<EOF
stty rows 40 cols 120
stty -g >/tmp/stty-before
cd /home/$user
timeout --foreground -k 3 -s TERM 3 $(user_env TERM=xterm) setpriv --reuid=$uid --regid=$gid --init-groups vellix-term
echo \$? >/tmp/term-status
stty -g >/tmp/stty-after
EOF
  local tlog=$root/tmp/term.log status label
  as_root script -qec "sh /tmp/term-check.sh" /tmp/term.log </dev/null >"$logs/$variant-term.out" 2>&1 \
    || fail "$variant: running vellix-term under script failed" "$logs/$variant-term.out"
  cp "$tlog" "$logs/$variant-term.typescript"
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
}

# Starts vellix as the user with the given extra environment, checks after a few seconds that it
# is still up and has the Qt platform plugin $1 loaded, then ends it with SIGTERM. With
# `window_probe` set, that command must also find its window.
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

# vellix on Qt's offscreen platform, then on the X server when there is one.
check_desktop_starts() {
  say "$variant: vellix on Qt's offscreen platform (3 s, then SIGTERM)"
  window_probe="" check_desktop_start libqoffscreen offscreen QT_QPA_PLATFORM=offscreen
  if [[ -n $xdisplay ]]; then
    say "$variant: vellix on the X server $xdisplay (3 s, then SIGTERM)"
    window_probe=$x_window_probe check_desktop_start libqxcb x11 DISPLAY="$xdisplay"
  fi
}

# After the purge neither dpkg nor the file system knows the package.
check_purge() {
  say "$variant: apt remove --purge vellix"
  step apt-purge as_root apt remove --purge -y vellix
  as_root dpkg-query -W -f='${db:Status-Abbrev}\n' vellix >"$logs/$variant-status-after" 2>&1 || true
  grep -q '^[iurhp][^n]' "$logs/$variant-status-after" \
    && fail "$variant: dpkg still knows vellix after the purge" "$logs/$variant-status-after"
  local left=() f
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
  return 0
}

# `apt autoremove` takes what the package pulled in: packages and files as in the fresh root.
check_autoremove() {
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
}
