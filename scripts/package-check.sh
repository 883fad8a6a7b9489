#!/bin/sh
# The Debian package as Debian judges it and as a user removes it: lintian
# reports no error or warning, and (as root, where a mount namespace can be
# made) apt-get install, remove and purge inside a throw-away overlay of this
# system leave nothing of the package behind. The system itself is never
# changed.
#   scripts/package-check.sh [DEB]      (default: build/default/quoril2_*.deb)
set -e
cd "$(dirname "$0")/.."
deb=${1:-$(ls build/default/quoril2_*.deb 2>/dev/null | head -1)}
[ -f "$deb" ] || { echo "package-check: no package; run cpack -G DEB in build/default" >&2; exit 1; }
deb=$(realpath "$deb")

if ! command -v lintian >/dev/null; then
  echo "package-check: SKIPPED lintian: not installed (scripts/install-deps.sh installs it)" >&2
else
  report=$(lintian --allow-root "$deb" 2>&1 | grep -v '^running with root' || true)
  if echo "$report" | grep -q '^[EW]:'; then
    echo "$report" >&2
    echo "package-check: lintian reports errors or warnings" >&2
    exit 1
  fi
fi

[ "$(id -u)" -eq 0 ] || { echo "package-check passed (lintian only: not root)"; exit 0; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Everything the package puts on the system, and the names of its file types.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print substr($6, 2)}' > "$work/files"
status=0
unshare -m sh -s "$deb" "$work" <<'INNER' || status=$?
set -e
deb=$1 work=$2
mkdir -p "$work/upper" "$work/work" "$work/root"
mount -t overlay overlay -o "lowerdir=/,upperdir=$work/upper,workdir=$work/work" "$work/root" 2>/dev/null || exit 3
# The system's own proc, sys and dev, read-only: nothing run inside reaches
# the system through them (writing to a device such as /dev/null still works).
mount -t proc -o ro proc "$work/root/proc"
mount -t sysfs -o ro sysfs "$work/root/sys"
mount --bind /dev "$work/root/dev" && mount -o remount,bind,ro "$work/root/dev"
cp "$deb" "$work/root/tmp/quoril2.deb"
chroot "$work/root" sh -c '
  export DEBIAN_FRONTEND=noninteractive
  apt-get install -y --no-install-recommends /tmp/quoril2.deb >/tmp/install.log 2>&1 || { cat /tmp/install.log; exit 1; }
  command -v quoril2 >/dev/null
  apt-get remove -y quoril2 >/tmp/remove.log 2>&1 || { cat /tmp/remove.log; exit 1; }
  if dpkg-query -W quoril2 >/dev/null 2>&1; then apt-get purge -y quoril2 >/dev/null 2>&1; fi
  ! dpkg-query -W quoril2 >/dev/null 2>&1'
left=0
while read -r f; do
  if [ -e "$work/root$f" ]; then echo "package-check: left behind: $f" >&2; left=1; fi
done < "$work/files"
# Caches the triggers rebuilt must not name the package or its file types.
for f in $(cd "$work/upper" && find usr etc var/lib -type f 2>/dev/null | grep -v -e '^var/lib/dpkg' -e '^var/lib/apt' -e '^var/cache'); do
  if grep -q -i -e quoril2 -e x-aoc-recorded-game -e x-aok-recorded-game "$work/upper/$f"; then
    echo "package-check: /$f still names the package" >&2
    left=1
  fi
done
exit $left
INNER
case $status in
  0) echo "package-check passed" ;;
  3) echo "package-check passed (lintian only: no overlay of the system could be made here)" ;;
  *) exit 1 ;;
esac
