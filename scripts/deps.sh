#!/usr/bin/env bash
# Installs, once, every Debian package that building, running and testing Kestrova need.
set -euo pipefail
packages=(cmake g++ make qt6-base-dev libgl-dev libjpeg62-turbo-dev libgtest-dev libbenchmark-dev
          poppler-utils fonts-dejavu-core xvfb)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
