#!/usr/bin/env bash
# Packs the initramfs of the guest that runs the real vellix-term: the program with the
# libraries it links and their loader, the xterm-256color terminal description, the C.UTF-8
# locale, the host kernel's parport, parport_pc, ppdev and lp modules, and our /init.
# Writes <out dir>/initramfs.gz and links <out dir>/vmlinuz to the kernel the modules are for.
# Usage: scripts/qemu-panel-image.sh <vellix-term> <static init> <out dir> [kernel release]
# Needs: scripts/qemu-install.sh
set -euo pipefail

program=${1:?usage: $0 <vellix-term> <static init> <out dir> [kernel release]}
init=${2:?usage: $0 <vellix-term> <static init> <out dir> [kernel release]}
out=${3:?usage: $0 <vellix-term> <static init> <out dir> [kernel release]}
release=${4:-}
if [[ -z $release ]]; then
  kernel=$(ls /boot/vmlinuz-* 2>/dev/null | sort -V | tail -n 1 || true)
  [[ -n $kernel ]] || { echo "qemu-panel-image: no kernel in /boot; run scripts/qemu-install.sh" >&2; exit 1; }
  release=${kernel#/boot/vmlinuz-}
fi
kernel=/boot/vmlinuz-$release
drivers=/lib/modules/$release/kernel/drivers
[[ -r $kernel ]] || { echo "qemu-panel-image: cannot read $kernel" >&2; exit 1; }

mkdir -p "$out"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
# mktemp makes the directory private; as the guest's / it must let every user through.
chmod 755 "$root"

# Copies a host file to the same path in the guest, following links.
put() {
  mkdir -p "$root$(dirname "$1")"
  cp -L "$1" "$root$1"
}

mkdir -p "$root/usr/bin" "$root/modules"
cp "$init" "$root/init"
chmod 755 "$root/init"
# Debug information would only make the image slower to pack and to boot.
strip --strip-debug -o "$root/usr/bin/vellix-term" "$program"
# ldd names every library with its path, and the loader by the path the program asks for.
libs=$(ldd "$program" | awk '{ for (i = 1; i <= NF; i++) if ($i ~ /^\//) print $i }')
[[ -n $libs ]] || { echo "qemu-panel-image: ldd found no libraries for $program" >&2; exit 1; }
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
[[ -n $found ]] || { echo "qemu-panel-image: no terminfo entry for xterm-256color" >&2; exit 1; }
locale=/usr/lib/locale/C.utf8
[[ -d $locale ]] || { echo "qemu-panel-image: $locale missing (package libc-bin)" >&2; exit 1; }
mkdir -p "$root$(dirname "$locale")"
cp -r "$locale" "$root$locale"

for module in parport/parport parport/parport_pc char/ppdev char/lp; do
  src=$(ls "$drivers/$module".ko* 2>/dev/null | head -n 1 || true)
  [[ -n $src ]] || { echo "qemu-panel-image: $module not found under $drivers" >&2; exit 1; }
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
