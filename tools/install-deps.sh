#!/usr/bin/env bash
# Installs the Debian packages the build, the program and its tests need,
# skipping the ones already there. Safe to run again and again.
set -euo pipefail

packages=(g++ cmake ninja-build qt6-base-dev qt6-svg-dev qt6-translations-l10n
          pkg-config libwmf-dev libemf2svg-dev
          fonts-dejavu-core fonts-liberation fonts-urw-base35 fonts-stix
          fonts-droid-fallback hunspell-fr libhunspell-dev
          clang libclang-rt-14-dev clang-format-14 poppler-utils
          qt6-qpa-plugins xvfb xclip
          libxml2-utils desktop-file-utils dpkg-dev)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" ||
        missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
