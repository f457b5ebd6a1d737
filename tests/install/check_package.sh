#!/usr/bin/env bash
# Builds the Debian package from the build and checks it against an installation of the same
# build: the same paths and links, dependencies from the linked libraries, maintainer scripts that
# reload udev and keep quiet where there is none.
#   check_package.sh <build dir> <version>
set -euo pipefail

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

build=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack --config "$build/CPackConfig.cmake" -B "$work/package" > "$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack"; }
deb=$work/package/tavrix_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $(basename "$deb"); cpack made: $(ls "$work/package")"

# Paths as "path" or "path -> target", without the leading ./ and the trailing / of folders.
dpkg-deb --contents "$deb" | sed -E 's/^([^ ]+ +){5}//; s|^\./||; s|/$||' | grep -v '^$' | sort > "$work/package.list"
DESTDIR=$work/root cmake --install "$build" --prefix /usr > /dev/null
(cd "$work/root" && find . -mindepth 1 \( -type l -printf '%P -> %l\n' -o -printf '%P\n' \)) | sort > "$work/install.list"
diff -u "$work/install.list" "$work/package.list" || fail "the package's files differ from the installation's"

depends=$(dpkg-deb --field "$deb" Depends)
for library in libqt6widgets6 libqt6network6 libhidapi-hidraw0 libudev1; do
  [[ $depends == *"$library"* ]] || fail "Depends lacks $library: $depends"
done

dpkg-deb --control "$deb" "$work/control"
for file in postinst postrm conffiles; do
  [ -f "$work/control/$file" ] || fail "the package has no $file"
done
grep -qx /etc/xdg/autostart/org.tavrix.Tavrix.desktop "$work/control/conffiles" ||
  fail "the autostart entry is no conffile"
for script in postinst postrm; do
  grep -q 'udevadm control --reload-rules' "$work/control/$script" || fail "$script does not reload the udev rules"
done
# Where no udev runs (a chroot, a container), the scripts still succeed.
if [ ! -S /run/udev/control ]; then
  sh "$work/control/postinst" configure || fail "postinst fails without udev"
  sh "$work/control/postrm" remove || fail "postrm fails without udev"
fi
echo "$(basename "$deb"): $(wc -l < "$work/package.list") paths, as installed"
