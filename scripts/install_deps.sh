#!/usr/bin/env bash
# Installs what the builds and tests need on Debian 12, only what is missing:
# the native toolchain and GoogleTest, mingw-w64 for i686, 32-bit Wine, the
# tools of the Wine tests, and the Chinese locales they run under.
# Run as root. Usage: scripts/install_deps.sh
set -euo pipefail

packages=(
  cmake make g++ googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-i686 binutils-mingw-w64-i686
  wine wine32:i386
  xvfb xauth xdotool iproute2 util-linux file procps locales
  unzip
  clang libclang-rt-14-dev
  openssl xxd time
)

installed() {
  [[ $(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null) == installed ]]
}

missing=()
for package in "${packages[@]}"; do
  installed "$package" || missing+=("$package")
done

if ((${#missing[@]})); then
  echo "install_deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}" </dev/null
fi

# Wine takes the OEM code page from LANG only when the locale exists.
for locale in zh_CN.UTF-8 zh_TW.UTF-8; do
  if ! locale -a 2>/dev/null | grep -qix "${locale/UTF-8/utf8}"; then
    sed -i "s/^# *\(${locale} UTF-8\)/\1/" /etc/locale.gen
    grep -qx "${locale} UTF-8" /etc/locale.gen || echo "${locale} UTF-8" >>/etc/locale.gen
    need_locale_gen=1
  fi
done
if [[ ${need_locale_gen:-0} == 1 ]]; then
  locale-gen
fi
