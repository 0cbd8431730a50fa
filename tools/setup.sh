#!/usr/bin/env bash
# Installs what Corvane's build and tests need on a Debian machine.
# Idempotent: prints nothing and changes nothing when everything is present.
set -euo pipefail

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

for p in cmake g++ make googletest libgtest-dev libgmock-dev \
         mingw-w64 g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix \
         wine wine32:i386 xvfb xauth imagemagick fonts-wqy-microhei locales clang-format \
         clang libclang-rt-14-dev nlohmann-json3-dev zip unzip; do
  have_pkg "$p" || need+=("$p")
done

if [ ${#need[@]} -gt 0 ]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

# Code page 936 under Wine comes from a zh_CN locale.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
