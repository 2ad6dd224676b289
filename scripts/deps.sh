#!/usr/bin/env bash
# Installs, once, every Debian package that building, running and testing Kestrova need.
set -euo pipefail
packages=(cmake g++ make qt6-base-dev qt6-translations-l10n libgl-dev libjpeg62-turbo-dev libgtest-dev
          libbenchmark-dev poppler-utils fonts-dejavu-core xvfb locales
          openbox xdotool imagemagick x11-utils
          clang libclang-rt-dev)  # libFuzzer and the sanitizers (scripts/fuzz.sh)
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
# The sample database is read under ru_RU.UTF-8 (scripts/run.sh); generate it once.
if ! locale -a 2>/dev/null | grep -qiE '^ru_RU\.utf-?8$'; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo sed -i 's/^#[[:space:]]*\(ru_RU\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ru_RU\.UTF-8 UTF-8' /etc/locale.gen || echo 'ru_RU.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null
fi
