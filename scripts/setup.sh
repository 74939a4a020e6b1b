#!/usr/bin/env bash
# Installs what building and testing need, on a Debian machine, as root.
# Quick when everything is there: it only asks dpkg.
set -euo pipefail

packages=(
  cmake make g++ ninja-build
  g++-mingw-w64-i686 wine wine32:i386 xvfb xauth
  googletest libbenchmark-dev libeigen3-dev
  clang
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "setup: missing packages and not root; install them: ${missing[*]}" >&2
  exit 1
fi
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
