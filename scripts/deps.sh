#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and the tests need,
# when any is missing.
set -euo pipefail
packages=(cmake ninja-build g++ ccache pkg-config qt6-base-dev libgl-dev
          libgtest-dev libgmock-dev libbenchmark-dev
          clang clang-format libclang-rt-14-dev locales python3 python3-cryptography-vectors
          libgif-dev openssl libssl-dev coreutils fonts-liberation2
          xorriso genisoimage udftools iproute2 procps util-linux
          desktop-file-utils xdg-utils shared-mime-info)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
