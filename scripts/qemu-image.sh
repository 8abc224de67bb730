#!/usr/bin/env bash
# Packs the initramfs of an emulated PC: our static /init, the host kernel's parport,
# parport_pc, ppdev and lp modules and, when a program is given, that program in /usr/bin with
# the libraries it links and their loader, the xterm-256color terminal description and the
# C.UTF-8 locale. Writes <out dir>/initramfs.gz and links <out dir>/vmlinuz to the kernel the
# modules are for; scripts/qemu-boot.sh boots the pair.
# Usage: scripts/qemu-image.sh <static init> <out dir> [program] [kernel release]
# Needs: scripts/qemu-install.sh
set -euo pipefail

usage="usage: $0 <static init> <out dir> [program] [kernel release]"
init=${1:?$usage}
out=${2:?$usage}
program=${3:-}
release=${4:-}
if [[ -z $release ]]; then
  kernel=$(ls /boot/vmlinuz-* 2>/dev/null | sort -V | tail -n 1 || true)
  [[ -n $kernel ]] || { echo "qemu-image: no kernel in /boot; run scripts/qemu-install.sh" >&2; exit 1; }
  release=${kernel#/boot/vmlinuz-}
fi
kernel=/boot/vmlinuz-$release
drivers=/lib/modules/$release/kernel/drivers
[[ -r $kernel ]] || { echo "qemu-image: cannot read $kernel" >&2; exit 1; }

mkdir -p "$out"
source "$(dirname "$0")/lib/workdir.sh"
make_workdir
root=$work/root
# As the guest's / it must let every user through.
mkdir -m 755 "$root"

# Copies a host file to the same path in the guest, following links.
put() {
  mkdir -p "$root$(dirname "$1")"
  cp -L "$1" "$root$1"
}

mkdir -p "$root/usr/bin" "$root/modules"
cp "$init" "$root/init"
chmod 755 "$root/init"

if [[ -n $program ]]; then
  # Debug information would only make the image slower to pack and to boot.
  strip --strip-debug -o "$root/usr/bin/$(basename "$program")" "$program"
  # ldd names every library with its path, and the loader by the path the program asks for.
  libs=$(ldd "$program" | awk '{ for (i = 1; i <= NF; i++) if ($i ~ /^\//) print $i }')
  [[ -n $libs ]] || { echo "qemu-image: ldd found no libraries for $program" >&2; exit 1; }
  for lib in $libs; do
    put "$lib"
  done

  found=""
  for dir in /etc/terminfo /lib/terminfo /usr/share/terminfo; do
    if [[ -r $dir/x/xterm-256color ]]; then
      put "$dir/x/xterm-256color"
      found=yes
      break
    fi
  done
  [[ -n $found ]] || { echo "qemu-image: no terminfo entry for xterm-256color" >&2; exit 1; }
  locale=/usr/lib/locale/C.utf8
  [[ -d $locale ]] || { echo "qemu-image: $locale missing (package libc-bin)" >&2; exit 1; }
  mkdir -p "$root$(dirname "$locale")"
  cp -r "$locale" "$root$locale"
fi

for module in parport/parport parport/parport_pc char/ppdev char/lp; do
  src=$(ls "$drivers/$module".ko* 2>/dev/null | head -n 1 || true)
  [[ -n $src ]] || { echo "qemu-image: $module not found under $drivers" >&2; exit 1; }
  dst=$root/modules/$(basename "$module").ko
  # The guest's init loads modules itself and cannot unpack them.
  case $src in
    *.xz) xz -dc "$src" >"$dst" ;;
    *.zst) zstd -dcq "$src" >"$dst" ;;
    *.gz) gzip -dc "$src" >"$dst" ;;
    *) cp "$src" "$dst" ;;
  esac
done

(cd "$root" && find . | cpio -o -H newc --quiet -R 0:0) | gzip -1 >"$out/initramfs.gz"
ln -sf "$kernel" "$out/vmlinuz"
