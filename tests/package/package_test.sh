#!/usr/bin/env bash
# Builds the Debian package from this build, checks it with lintian when it is installed,
# unpacks it into a temporary root and uses the program from there as an installed copy
# is used: from a folder the user cannot write, as an ordinary user.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"

cpack -G DEB -B "$work/out" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; exit 1; }
deb=$(echo "$work"/out/tallyframe_*_amd64.deb)
[[ -f $deb ]] || { echo "no package: $deb"; exit 1; }
echo "package: ${deb##*/}, $(stat -c %s "$deb") bytes"

if command -v lintian >/dev/null; then
  lintian --fail-on error "$deb" >"$work/lintian.txt" 2>&1 ||
    { cat "$work/lintian.txt"; echo "lintian found errors"; exit 1; }
  grep -v 'root privileges' "$work/lintian.txt" || true
fi

# What the package must hold.
root=$work/root
dpkg-deb -x "$deb" "$root"
program=$root/usr/lib/tallyframe
for f in tallyframe tallyframe-cli tallyframe-cli-print Uplift Up.exe Up.dll ZUdavu.dat Brix.ico \
         data/sample.gdb help/index.html; do
  [[ -e $program/$f ]] || { echo "missing /usr/lib/tallyframe/$f"; exit 1; }
done
for f in usr/share/applications/tallyframe.desktop usr/share/mime/packages/tallyframe.xml \
         usr/share/icons/hicolor/48x48/apps/tallyframe.png \
         usr/share/icons/hicolor/256x256/apps/tallyframe.png \
         usr/share/man/man1/tallyframe-cli.1.gz usr/share/doc/tallyframe/copyright; do
  [[ -e $root/$f ]] || { echo "missing /$f"; exit 1; }
done
"$root/usr/bin/tallyframe-cli" >"$work/usage.txt" 2>&1 || true
grep -q '^usage: tallyframe-cli' "$work/usage.txt" ||
  { cat "$work/usage.txt"; echo "the launcher does not start the installed tallyframe-cli"; exit 1; }
grep -qx 'Exec=tallyframe %f' "$root/usr/share/applications/tallyframe.desktop"
grep -q '<glob pattern="\*.gdb"/>' "$root/usr/share/mime/packages/tallyframe.xml"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' ||
  { echo "dependencies not computed"; exit 1; }

# Used as an ordinary user: the program folder is the system's, the home is the user's.
home=$work/home
mkdir -p "$home"
chown nobody "$home"
as_user() {
  setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$home" \
    XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache" QT_QPA_PLATFORM=offscreen \
    ASAN_OPTIONS=detect_leaks=0 "$@"
}
as_user "$program/tallyframe-cli" info "$program/data/sample.gdb" >"$work/info.txt"
grep -qx 'integrity: whole' "$work/info.txt" || { cat "$work/info.txt"; exit 1; }
as_user "$program/tallyframe-cli" sample "$home/mine.gdb"
as_user "$program/tallyframe-cli" stats "$home/mine.gdb" >"$work/mine.txt"
"$build/bin/tallyframe-cli" stats "$program/data/sample.gdb" >"$work/sample.txt"
cmp "$work/mine.txt" "$work/sample.txt" || { echo "the installed sample differs"; exit 1; }
# Printing, handed by the companion to the printing program beside it, through the launcher.
as_user "$root/usr/bin/tallyframe-cli" print "$home/mine.gdb" --table 材料表 "$home/mine.pdf"
[[ -s $home/mine.pdf ]] || { echo "the installed companion does not print"; exit 1; }
# Settings go to the user's folder; the program folder stays as installed.
as_user "$program/tallyframe-cli" settings set Update Unattended 1
[[ -f $home/.config/Tallyframe/Brix.ini ]] || { echo "settings not in the user's folder"; exit 1; }
# The updater's silent check of an installed program ends by itself and writes nothing.
before=$(find "$root" -newer "$deb" | wc -l)
as_user timeout 120 "$program/Uplift" 0/1/1
after=$(find "$root" -newer "$deb" | wc -l)
[[ $before == "$after" ]] || { echo "the updater wrote into the program folder"; exit 1; }
echo "package test passed"
