#!/usr/bin/env bash
# Installs the build under /usr into a temporary DESTDIR and checks what a user gets: every file
# in its place, the desktop entries, metadata and manual pages valid, and the installed program,
# started from there against the simulated keyboard on an X server of its own, showing its window
# (so it found its skin, language files and device library beside it) until "/Kill" ends it.
#   check_install.sh <build dir> <source dir> <version>
set -euo pipefail

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The installed program under a name of its own (a hard link beside it, so it is the installed
# file in the installed folder): a user's running Tavrix and other tests never see it, and its
# "/Kill" ends only it.
run_installed() {
  local folder=$1 home=$2
  local name="tavrix-install-$$"
  ln "$folder/tavrix" "$folder/$name"
  mkdir -p "$home"
  mkdir -m 700 "$home/run" "$home/config" "$home/data"
  export HOME=$home XDG_RUNTIME_DIR=$home/run XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data
  export DEXLINK_BACKEND=sim DEXLINK_SIM_STATE=$home/sim-keyboard.bin LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb
  # The X connection's system libraries keep allocations until exit.
  export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0
  "$folder/$name" &
  pid=$!
  trap 'kill "$pid" 2> /dev/null || true' EXIT
  timeout 60 xdotool search --sync --all --onlyvisible --pid "$pid" --name '^PL3094V Keyboard$' > /dev/null ||
    fail "the installed program showed no window titled from its language file"
  "$folder/$name" /Kill || fail "/Kill ended with $?"
  local status=0
  timeout 30 tail --pid="$pid" -f /dev/null || fail "the installed program did not end on /Kill"
  wait "$pid" || status=$?
  [ "$status" -eq 0 ] || fail "the installed program ended with $status"
}

if [ "${1:-}" = --run-installed ]; then
  run_installed "$2" "$3"
  exit 0
fi

build=$1
source=$2
version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
DESTDIR=$root cmake --install "$build" --prefix /usr > /dev/null
program=$root/usr/lib/tavrix

expected=(
  usr/lib/tavrix/tavrix usr/lib/tavrix/sentrel usr/lib/tavrix/libdexlink.so
  usr/lib/tavrix/Lang0409.ini usr/lib/tavrix/Lang0804.ini usr/lib/tavrix/Lang0404.ini
  usr/lib/tavrix/Help/index.html
  usr/lib/tavrix/Icons/tavrix.png usr/lib/tavrix/Icons/128.png usr/lib/tavrix/Icons/141.png usr/lib/tavrix/Icons/142.png
  usr/lib/tavrix/Skins/Main.ini usr/lib/tavrix/Skins/Composite.ini usr/lib/tavrix/Skins/Profile.ini
  usr/lib/tavrix/Skins/UpdateDlg.ini
  usr/share/applications/org.tavrix.Tavrix.desktop
  usr/share/metainfo/org.tavrix.Tavrix.metainfo.xml
  usr/lib/udev/rules.d/70-pl3094v.rules
  etc/xdg/autostart/org.tavrix.Tavrix.desktop
)
for size in 16 22 24 32 48 64 128 256; do
  expected+=("usr/share/icons/hicolor/${size}x${size}/apps/tavrix.png")
done
commands=(tavrix)
[ -e "$build/bin/tavrix-ctl" ] && commands+=(tavrix-ctl)
for command in "${commands[@]}"; do
  expected+=("usr/lib/tavrix/$command" "usr/share/man/man1/$command.1.gz")
  [ "$(readlink "$root/usr/bin/$command")" = "../lib/tavrix/$command" ] ||
    fail "usr/bin/$command is no link to ../lib/tavrix/$command"
  [ -x "$root/usr/bin/$command" ] || fail "usr/bin/$command does not lead to a program"
done
for file in "${expected[@]}"; do
  [[ -f $root/$file && -s $root/$file ]] || fail "$file is missing or empty"
done
[ "$(ls "$root/usr/bin")" = "$(printf '%s\n' "${commands[@]}" | sort)" ] || fail "unexpected commands in usr/bin"
for file in usr/lib/tavrix/tavrix usr/lib/tavrix/sentrel; do
  [ -x "$root/$file" ] || fail "$file is not executable"
done

# Shipped as they stand in the build and the source.
diff -r "$build/bin/Skins" "$program/Skins" > /dev/null || fail "the installed skin differs from the built one"
for file in Lang0409.ini Lang0804.ini Lang0404.ini Help/index.html; do
  cmp -s "$source/data/$file" "$program/$file" || fail "$file differs from data/$file"
done
cmp -s "$source/data/udev/70-pl3094v.rules" "$root/usr/lib/udev/rules.d/70-pl3094v.rules" || fail "udev rule differs"

# What the desktop reads.
grep -qx 'Exec=tavrix /Start' "$root/etc/xdg/autostart/org.tavrix.Tavrix.desktop" ||
  fail "the autostart entry does not run tavrix /Start"
desktop-file-validate "$root/usr/share/applications/org.tavrix.Tavrix.desktop" \
  "$root/etc/xdg/autostart/org.tavrix.Tavrix.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net --no-color "$root/usr/share/metainfo/org.tavrix.Tavrix.metainfo.xml" > "$work/appstream.log" ||
  { cat "$work/appstream.log" >&2; fail "appstreamcli validate"; }
for command in "${commands[@]}"; do
  warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
    man --warnings -E UTF-8 -l -Tutf8 -Z "$root/usr/share/man/man1/$command.1.gz" 2>&1 > /dev/null)
  [ -z "$warnings" ] || fail "manual page of $command: $warnings"
done

# Help and version need no display.
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/tavrix" --version)" = "tavrix $version" ] ||
  fail "tavrix --version does not print tavrix $version"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/tavrix" --help | grep -q '^Usage: tavrix' ||
  fail "tavrix --help prints no usage"
if [[ " ${commands[*]} " == *" tavrix-ctl "* ]]; then
  [ "$("$root/usr/bin/tavrix-ctl" --version)" = "tavrix-ctl $version" ] ||
    fail "tavrix-ctl --version does not print tavrix-ctl $version"
  # Through the link in bin it finds the device library beside the program, with no Tavrix running.
  mkdir -m 700 "$work/ctl-run"
  XDG_RUNTIME_DIR=$work/ctl-run DEXLINK_BACKEND=sim DEXLINK_SIM_STATE=$work/ctl-sim.bin \
    "$root/usr/bin/tavrix-ctl" status | grep -qx 'keyboards: 1' || fail "the installed tavrix-ctl found no keyboard"
fi

xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --run-installed "$program" "$work/home"
echo "installed into $root: ${#expected[@]} files checked, the installed program ran"
