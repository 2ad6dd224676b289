#!/usr/bin/env bash
# Installs what is missing, builds, and starts Kestrova; the first run points it at the user's own
# copy of the sample database (scripts/user-sample.sh), never at the tracked sample/ folder.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Kestrova needs a desktop: neither DISPLAY nor WAYLAND_DISPLAY is set." >&2
  exit 1
fi

scripts/deps.sh
scripts/build.sh

sample=$(scripts/user-sample.sh)

ini=build/tvk.ini
scripts/user-ini.sh "$ini" "$sample"

# The sample database is written in Russian regional formats (decimal comma, dd.MM.yyyy).
dbpath=$(iconv -f CP1251 -t UTF-8 "$ini" | tr -d '\r' \
  | sed -n 's/^[[:space:]]*adosource[[:space:]]*=[[:space:]]*//Ip' | head -n 1 | sed 's/[[:space:]]*$//; s:/*$::')
if [ "$dbpath" = "$sample" ]; then
  if locale -a 2>/dev/null | grep -qiE '^ru_RU\.utf-?8$'; then
    export LC_ALL=ru_RU.UTF-8
  else
    echo "The locale ru_RU.UTF-8 is missing: numbers and dates of the sample database may not read back." >&2
  fi
fi

cd build
exec ./Kestrova
