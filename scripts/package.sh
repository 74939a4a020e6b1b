#!/usr/bin/env bash
# package.sh [WIN_BUILD_DIR [OUT_DIR]]
# Makes the release package OUT_DIR/Kelvaro-<version>.zip (default dist/) from
# the Release build in WIN_BUILD_DIR (default build/win), with Debian's zip,
# and prints its path. The package holds:
#   Kelvaro.dll         the module as built: Release, linked stripped
#   Kelvaro.dll.sha256  its SHA-256, in sha256sum's format
#   VERSION.txt         the version
#   README.txt          release/README.txt, for the person who installs it
# The version is read back from the version record inside the built module,
# so it is written in one place only, the module's resource script.
#
# README.txt is written as UTF-8 with a byte-order mark and CRLF line ends.
# Notepad has recognised the mark since Windows XP and then shows both the
# Japanese and the English half whatever the system's code page; Shift-JIS
# would show the Japanese half only on a Japanese system, and a UTF-8 text
# without the mark is taken for the ANSI code page by Notepad before
# Windows 10. Notepad before Windows 10 shows LF-only text as one line.
set -euo pipefail
export LC_ALL=C  # the tools' messages as this script reads them
cd "$(dirname "$0")/.."
win=${1:-${KELVARO_BUILD:-build}/win}
out=${2:-dist}
dll=$win/module/Kelvaro.dll

fail() { echo "package: $*" >&2; exit 1; }
[ -f "$dll" ] || fail "no $dll: build first (scripts/build.sh)"
grep -qx 'CMAKE_BUILD_TYPE:STRING=Release' "$win/CMakeCache.txt" || fail "$win is not a Release build"
[[ $(i686-w64-mingw32-objdump -t "$dll") == *"no symbols"* ]] || fail "$dll is not stripped"

version=$(i686-w64-mingw32-windres -i "$dll" -O rc | sed -n 's/^ *FILEVERSION *//p' | tr -d ' \r' | tr , .)
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "no version record in $dll"

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$dll" "$stage/Kelvaro.dll"
(cd "$stage" && sha256sum Kelvaro.dll > Kelvaro.dll.sha256)
printf '%s\r\n' "$version" > "$stage/VERSION.txt"
{
  printf '\xEF\xBB\xBF'
  sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' release/README.txt
} > "$stage/README.txt"

mkdir -p "$out"
zip_file=$(realpath "$out")/Kelvaro-$version.zip
rm -f "$zip_file"
(cd "$stage" && zip -q -X "$zip_file" Kelvaro.dll Kelvaro.dll.sha256 README.txt VERSION.txt)
echo "$zip_file"
