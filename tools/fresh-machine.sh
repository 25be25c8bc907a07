#!/usr/bin/env bash
# Runs the README's two commands, exactly as written, on a fresh Debian 12: a minimal
# root made with debootstrap (cached, untouched, in $TESSARY_FRESH_CACHE, default
# /var/cache/tessary), copied anew for every run, given this machine's CA certificates
# and name server (so the package registries are reachable) and the mounts Wine and Xvfb
# need. The checkout's committed HEAD is cloned into it; there ./run-keyboard.sh must show
# the keyboard (its screenshot is copied to build/fresh-machine/keyboard.png), and then
# ./run-tests.sh runs; its closing line is this script's, and so is its exit status.
# Everything the project needs is installed inside the root by its own set-up, every
# time; only the downloaded package files are kept between runs (in the cache's debs/),
# to spare the archive. Nothing is left behind: no mount, no process, no display, no
# root, also when interrupted. Needs root.
#
#   tools/fresh-machine.sh [--simulate-index-failure] [--simulate-no-wine32] [--without STEP]
#     --simulate-index-failure  one package list of the root cannot be downloaded
#     --simulate-no-wine32      the root's archive cannot install wine32:i386
#     --without PACKAGE         (to prove the check) the set-up is made to skip installing
#                               PACKAGE, as if that install step were missing
#   TESSARY_* variables (TESSARY_FUZZ_SECONDS, TESSARY_NO_32BIT, ...) are passed on.
set -uo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cache=${TESSARY_FRESH_CACHE:-/var/cache/tessary}
base=$cache/bookworm-minbase
mirror=http://deb.debian.org/debian
usage="usage: $0 [--simulate-index-failure] [--simulate-no-wine32] [--without PACKAGE]"
index_failure= no_wine32= without=
while [ $# -gt 0 ]; do
  case $1 in
    --simulate-index-failure) index_failure=1; shift ;;
    --simulate-no-wine32) no_wine32=1; shift ;;
    --without) without=${2:?$usage}; shift 2 ;;
    *) echo "$usage" >&2; exit 2 ;;
  esac
done
say() { echo "fresh-machine: $*"; }
die() { echo "fresh-machine: $*" >&2; exit 1; }
[ "$(id -u)" -eq 0 ] || die "needs root (debootstrap, chroot and mounts)"

if ! command -v debootstrap >/dev/null 2>&1; then
  say "installing debootstrap"
  apt-get update -qq >/dev/null 2>&1
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap >/dev/null ||
    die "debootstrap could not be installed"
fi

# The base root, made once: debootstrap's minimal Debian 12 with the archive's three
# suites, as a new installation has them.
if [ ! -f "$base/.tessary-base" ]; then
  say "making a minimal Debian 12 root with debootstrap (once; about 3 minutes)"
  rm -rf "$base.new"
  mkdir -p "$cache"
  debootstrap --variant=minbase bookworm "$base.new" "$mirror" >"$cache/debootstrap.log" 2>&1 ||
    { tail -n 20 "$cache/debootstrap.log" >&2; rm -rf "$base.new"; die "debootstrap failed"; }
  cat >"$base.new/etc/apt/sources.list" <<EOF
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb http://deb.debian.org/debian-security bookworm-security main
EOF
  rm -rf "$base.new/var/cache/apt/archives/"*.deb
  touch "$base.new/.tessary-base"
  rm -rf "$base" && mv "$base.new" "$base"
fi

run=$(mktemp -d /var/tmp/tessary-fresh.XXXXXX)
root=$run/root
runner_pid=
cleanup() {
  trap - EXIT INT TERM
  [ -n "$runner_pid" ] && kill "$runner_pid" 2>/dev/null
  # Every process whose root is the fresh one (Wine, Xvfb, builds), then the mounts.
  local p tries
  for tries in 1 2 3 4 5; do
    local left=
    for p in /proc/[0-9]*; do
      [ "$(readlink "$p/root" 2>/dev/null)" = "$root" ] || continue
      kill -9 "${p#/proc/}" 2>/dev/null && left=1
    done
    [ -z "$left" ] && break
    sleep 1
  done
  for p in $(grep -o " $root[^ ]*" /proc/mounts | sort -r); do
    umount -l "$p" 2>/dev/null
  done
  if grep -q " $root" /proc/mounts; then
    echo "fresh-machine: mounts under $root are still there; not removing it" >&2
  else
    rm -rf "$run"
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

say "a fresh root in $root"
cp -a "$base" "$root" || die "copying the base root failed"
# The machine's CA certificates (the registries may be reached through a proxy that
# signs with its own), taken in when the set-up installs ca-certificates.
mkdir -p "$root/usr/local/share/ca-certificates"
cp /usr/local/share/ca-certificates/*.crt "$root/usr/local/share/ca-certificates/" 2>/dev/null
mkdir -p "$root/etc/ssl/certs"
cp /etc/ssl/certs/ca-certificates.crt "$root/etc/ssl/certs/" 2>/dev/null
cp /etc/resolv.conf "$root/etc/resolv.conf"
mount -t proc proc "$root/proc" && mount -t sysfs sys "$root/sys" &&
  mount --rbind /dev "$root/dev" && mount --make-rslave "$root/dev" &&
  mount -t tmpfs -o mode=1777 tmpfs "$root/tmp" || die "mounting /proc, /sys, /dev or /tmp in the root failed"
mkdir -p "$cache/debs/partial"
mount --bind "$cache/debs" "$root/var/cache/apt/archives" || die "mounting the package cache failed"

if [ -n "$index_failure" ]; then
  say "simulating a package list that cannot be downloaded"
  echo "deb $mirror bookworm-tessary-missing main" >>"$root/etc/apt/sources.list"
fi
if [ -n "$no_wine32" ]; then
  say "simulating an archive that cannot install wine32:i386"
  # As when the i386 and amd64 versions are out of step: a dependency that cannot be had.
  printf 'Package: libwine:i386\nPin: version *\nPin-Priority: -1\n' >"$root/etc/apt/preferences.d/no-wine32"
fi

git clone -q "$repo" "$root/root/tessary" || die "cloning $repo failed"
if [ -n "$without" ]; then
  say "simulating a set-up that does not install $without"
  sed -i -E "s/(^|[ (])$without([ )]|$)/\1\2/" "$root/root/tessary/tools/setup.sh"
fi

env_args=(HOME=/root TERM=dumb LANG=C.UTF-8 PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin)
while IFS='=' read -r name value; do
  [[ $name == TESSARY_* ]] && [ "$name" != TESSARY_FRESH_CACHE ] && env_args+=("$name=$value")
done < <(env)
inside() { chroot "$root" /usr/bin/env -i "${env_args[@]}" bash -c "cd /root/tessary && $1"; }

say "./run-keyboard.sh (at ${SECONDS} s)"
inside 'echo $$ >/root/run-keyboard.pid; exec ./run-keyboard.sh --screenshot /root/keyboard.png' >"$run/keyboard.log" 2>&1 &
runner_pid=$!
shot="$root/root/keyboard.png"
while kill -0 "$runner_pid" 2>/dev/null && ! grep -q '^Screenshot: ' "$run/keyboard.log"; do
  [ "$SECONDS" -lt 3600 ] || break
  sleep 2
done
sed 's/^/  | /' "$run/keyboard.log" | tail -n 25
if ! grep -q '^Screenshot: ' "$run/keyboard.log" || [ ! -s "$shot" ]; then
  die "./run-keyboard.sh did not show the keyboard (its output is above)"
fi
# Ends the keyboard as Ctrl+C would (a background job ignores SIGINT: its TERM trap is the same).
kill -TERM "$(cat "$root/root/run-keyboard.pid")" 2>/dev/null
wait "$runner_pid" 2>/dev/null
grep -q '^The keyboard ended\|^run-keyboard: ' "$run/keyboard.log" && tail -n 2 "$run/keyboard.log" | sed 's/^/  | /'
runner_pid=
mkdir -p "$repo/build/fresh-machine"
cp "$shot" "$repo/build/fresh-machine/keyboard.png"
colours=$(chroot "$root" convert /root/keyboard.png -format %k info: 2>/dev/null)
[ "${colours:-0}" -gt 16 ] || die "the keyboard's screenshot is nearly blank ($colours colours)"
say "the keyboard was shown: build/fresh-machine/keyboard.png ($colours colours)"

say "./run-tests.sh (at ${SECONDS} s)"
inside './run-tests.sh' 2>&1 | tee "$run/tests.log"
status=${PIPESTATUS[0]}
say "took ${SECONDS} s"
closing=$(grep -E '^all: [0-9]+ passed' "$run/tests.log" | tail -n 1)
[ -n "$closing" ] || { say "./run-tests.sh printed no closing line"; exit 1; }
grep -E '^(ALL TESTS PASSED|FAILED)' "$run/tests.log" | tail -n 1 | sed 's/^/fresh-machine: /'
echo "$closing"
exit "$status"
