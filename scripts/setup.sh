#!/usr/bin/env bash
# Installs what building and testing need, on a Debian machine, as root.
# Quick when everything is there: it only asks dpkg.
set -euo pipefail

packages=(
  cmake make g++ ninja-build
  g++-mingw-w64-i686 wine wine32:i386 xvfb xauth x11-utils openbox
  googletest libbenchmark-dev libeigen3-dev libstb-dev
  clang locales
  zip unzip
  fonts-ipafont-gothic fonts-dejavu-core fonts-wine
)

# The tests run as a Japanese user (code page 932); the C library's locale
# of that name keeps the shells of a test run quiet about it.
make_japanese_locale() {
  if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
    if [ "$(id -u)" -eq 0 ]; then
      localedef -i ja_JP -f UTF-8 ja_JP.UTF-8 2>/dev/null || true
    fi
  fi
}

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  make_japanese_locale
  exit 0
fi

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
make_japanese_locale
