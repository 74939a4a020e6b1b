#!/usr/bin/env bash
# check_package.sh WIN_BUILD_DIR VERSION_RECORD_EXE
# Makes the release package into a folder of its own, unpacks it and checks
# what a person gets: the four files; the module as built, stripped, importing
# Windows system DLLs only; its version record as Windows reads it (under Wine)
# agreeing with VERSION.txt and the package's name; the checksum; and a
# README.txt that Notepad shows in both languages. Runs inside wine-session.
set -euo pipefail
export LC_ALL=C  # the tools' messages as this script reads them
root=$(cd "$(dirname "$0")/../.." && pwd)
win=$(cd "$1" && pwd) probe=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

zip_file=$("$root/scripts/package.sh" "$win" "$work/dist")
mkdir "$work/unpacked" && cd "$work/unpacked"
unzip -q "$zip_file" || fail "$zip_file does not unpack"
held=$(ls | tr '\n' ' ')
[ "$held" = "Kelvaro.dll Kelvaro.dll.sha256 README.txt VERSION.txt " ] || fail "the package holds $held"

sha256sum --quiet --strict -c Kelvaro.dll.sha256 || fail "the checksum does not match"
cmp -s Kelvaro.dll "$win/module/Kelvaro.dll" || fail "Kelvaro.dll is not the module as built"
[[ $(i686-w64-mingw32-objdump -t Kelvaro.dll) == *"no symbols"* ]] || fail "Kelvaro.dll is not stripped"
imports=$(i686-w64-mingw32-objdump -p Kelvaro.dll | sed -n 's/^\s*DLL Name: //p' | tr '[:upper:]' '[:lower:]')
[ -n "$imports" ] || fail "no imports read"
for import in $imports; do
  case $import in
    kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | comdlg32.dll | advapi32.dll | shell32.dll | \
      ole32.dll | oleaut32.dll | version.dll | msvcrt.dll) ;;
    *) fail "Kelvaro.dll needs $import, which Windows does not bring" ;;
  esac
done

version=$(tr -d '\r\n' < VERSION.txt)
[ "$version" = 1.3.0.0 ] || fail "VERSION.txt says $version"
[ "$(basename "$zip_file")" = "Kelvaro-$version.zip" ] || fail "the package is named $(basename "$zip_file")"
record=$("$root/scripts/wine-exec" "$probe" "Z:$(pwd | tr / '\\')\\Kelvaro.dll" | tr -d '\r' | tr '\n' ' ')
[ "$record" = "$version $version $version " ] || fail "the version record reads: $record"

[ "$(head -c 3 README.txt | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "README.txt has no UTF-8 byte-order mark"
iconv -f UTF-8 -t UTF-8 README.txt > /dev/null || fail "README.txt is not UTF-8"
[ "$(grep -c $'\r$' README.txt)" = "$(wc -l < README.txt)" ] || fail "README.txt has lines without CRLF"
grep -q 'インストール' README.txt && grep -q 'Installing' README.txt || fail "README.txt lacks a language"
if grep -q '@VERSION@' README.txt; then fail "README.txt still holds the placeholder"; fi
echo "$(basename "$zip_file"): $imports, record $record, checksum and README.txt fine" | tr '\n' ' '
echo
