#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program installed as a package installs it: into a prefix of its own,
# then made read-only, and started by a new user whose home and XDG folders
# are temporary. Run by ctest: install_test.sh <build folder> <version> <application id>
set -uo pipefail
build=$1 version=$2 id=$3
work=$(mktemp -d)
pid=
cleanup() {
  [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
  chmod -R u+w "$work" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
chmod 755 "$work"

prefix=$work/usr
cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install" >&2; exit 1; }
tenaxo=$prefix/bin/tenaxo
chmod -R a-w "$prefix"
# The administrator writes anywhere: compare the whole tree instead.
snapshot() { find "$prefix" -printf '%p %s %m %T@\n' | sort; }
before=$(snapshot)

# Runs, in place of the calling (background) shell, as a user the permission
# bits hold back: nobody when we are root.
as_user() {
  if [ "$(id -u)" -eq 0 ]; then
    exec setpriv --reuid=nobody --regid=nogroup --clear-groups -- "$@"
  else
    exec "$@"
  fi
}
new_home() {
  mkdir -p "$1"
  [ "$(id -u)" -eq 0 ] && chown nobody:nogroup "$1"
}

# ---- the command line, with no display at all
no_display=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
out=$("${no_display[@]}" "$tenaxo" --version) || fail "--version ended with an error"
[ "$out" = "tenaxo $version" ] || fail "--version printed '$out'"
out=$("${no_display[@]}" "$tenaxo" --help) || fail "--help ended with an error"
grep -q -- "--version" <<<"$out" || fail "--help printed '$out'"
out=$("${no_display[@]}" "$tenaxo" --bogus 2>&1 >/dev/null)
status=$?
[ $status -eq 2 ] || fail "--bogus ended with status $status"
grep -qF "option inconnue « --bogus »" <<<"$out" || fail "--bogus told '$out'"

# ---- the desktop files
for file in "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" "share/tenaxo/Anglais.tnx" \
            "share/icons/hicolor/scalable/apps/$id.svg" "share/man/man1/tenaxo.1.gz"; do
  [ -f "$prefix/$file" ] || fail "$file is not installed"
done
for size in 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
  # The PNG header holds the width and the height, four bytes each.
  [ "$(od -An -tx1 -j16 -N8 "$png" 2>/dev/null | tr -d ' \n')" = "$(printf '%08x%08x' "$size" "$size")" ] ||
    fail "$png is not a $size px icon"
done
desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null ||
  fail "appstreamcli validate: $(appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml")"
grep -q "<release version=\"$version\"" "$prefix/share/metainfo/$id.metainfo.xml" ||
  fail "the metainfo has no release $version"
# The KVTML type, as the desktop's file type database takes it in.
mkdir -p "$work/mime/packages"
cp "$prefix/share/mime/packages/$id.xml" "$work/mime/packages/" || fail "no file type for KVTML"
update-mime-database "$work/mime" >/dev/null 2>&1 || fail "update-mime-database"
grep -qx "50:application/x-kvtml:\*.kvtml" "$work/mime/globs2" || fail "no *.kvtml in the file types"
grep -qx " kvtml application/x-kvtml" "$work/mime/XMLnamespaces" || fail "no <kvtml> in the file types"

# ---- a new user starts it, then it is told to end with a signal
# start <home> <signal> [environment...]: runs the program offscreen until the
# user's list folder holds Anglais.tnx, then sends the signal; the status is
# the program's.
start() {
  local home=$1 signal=$2 lists=$3
  shift 3
  new_home "$home"
  as_user env -i PATH="$PATH" HOME="$home" QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 "$@" "$tenaxo" \
    >"$home.log" 2>&1 &
  pid=$!
  for _ in $(seq 200); do
    [ -f "$lists/Anglais.tnx" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  [ -f "$lists/Anglais.tnx" ] || fail "no $lists/Anglais.tnx: $(cat "$home.log")"
  kill "-$signal" "$pid" 2>/dev/null
  for _ in $(seq 200); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  kill -0 "$pid" 2>/dev/null && { fail "still running after SIG$signal"; kill -9 "$pid"; }
  wait "$pid"
  local status=$?
  pid=
  [ $status -eq 0 ] || fail "ended with status $status after SIG$signal: $(cat "$home.log")"
}

# XDG folders of its own.
one=$work/one
start "$one" TERM "$one/data/Tenaxo" XDG_DATA_HOME="$one/data" XDG_CONFIG_HOME="$one/config"
cmp -s "$one/data/Tenaxo/Anglais.tnx" "$prefix/share/tenaxo/Anglais.tnx" || fail "Anglais.tnx was not copied whole"
grep -q "^Gauche=0" "$one/config/Tenaxo.ini" 2>/dev/null || fail "the settings were not written when SIGTERM closed it"
[ "$(stat -c %a "$one/data/Tenaxo")" = 700 ] || fail "the list folder is open to others"

# The default folders below the home folder.
start "$work/two" HUP "$work/two/.local/share/Tenaxo"
grep -q "^Gauche=0" "$work/two/.config/Tenaxo.ini" 2>/dev/null || fail "the settings were not written when SIGHUP closed it"

[ "$(snapshot)" = "$before" ] || fail "something changed under the prefix: $(diff <(echo "$before") <(snapshot))"

if [ $failures -eq 0 ]; then
  echo "1 passed, 0 failed"
else
  echo "0 passed, 1 failed"
  exit 1
fi
