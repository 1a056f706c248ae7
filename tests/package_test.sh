#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: made by CPack as ./dev package makes it, then checked
# by lintian (no error, no warning) and for the fields apt needs.
# Run by ctest: package_test.sh <build folder> <version>
set -uo pipefail
build=$1 version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

(cd "$build" && cpack -G DEB -B "$work" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
deb=$work/tenaxo_${version}_amd64.deb
[ -f "$deb" ] || { echo "FAIL: no $(basename "$deb"): $(ls "$work")" >&2; exit 1; }

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Section)" = education ] || fail "section $(field Section)"
for needed in fonts-wine espeak-ng-data libqt6widgets6 libespeak-ng1; do
  grep -q "\b$needed\b" <<<"$(field Depends)" || fail "Depends lacks $needed: $(field Depends)"
done
outside=$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '^\./usr/')
[ -z "$outside" ] || fail "files outside /usr: $outside"

lintian --fail-on error,warning "$deb" 2>"$work/lintian.err" >"$work/lintian.out" ||
  fail "lintian: $(cat "$work/lintian.out" "$work/lintian.err")"

if [ $failures -eq 0 ]; then
  echo "1 passed, 0 failed"
else
  echo "0 passed, 1 failed"
  exit 1
fi
