#!/usr/bin/env bash
# Installs what is missing, builds, and starts Kestrova; the first run points it at the user's own
# copy of the sample database (scripts/user-sample.sh), never at the tracked sample/ folder.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Kestrova needs a desktop: neither DISPLAY nor WAYLAND_DISPLAY is set." >&2
  exit 1
fi

scripts/deps.sh
scripts/build.sh

sample=$(scripts/user-sample.sh)

# tvk.ini is Windows-1251 with CR LF, next to the program.
ini=build/tvk.ini
if [ -f "$ini" ]; then
  # An earlier run pointed it at the tracked sample: the user's copy takes its place.
  if iconv -f CP1251 -t UTF-8 "$ini" | tr -d '\r' \
      | grep -qiE "^[[:space:]]*(adosource|mapfile)[[:space:]]*=[[:space:]]*$root/sample(/map\.bmp)?[[:space:]]*$"; then
    iconv -f CP1251 -t UTF-8 "$ini" \
      | sed -E "s#^([[:space:]]*(adosource|mapfile)[[:space:]]*=[[:space:]]*)$root/sample#\1$sample#I" \
      | iconv -f UTF-8 -t CP1251 > "$ini.tmp"
    mv "$ini.tmp" "$ini"
  fi
else
  # Column widths for the regions grid, so the sample's names show whole on the first run.
  printf '[server]\r\nadosource=%s\r\nmapfile=%s\r\n[sg1]\r\ncw0=30\r\ncw1=250\r\ncw2=150\r\ncw3=70\r\ncw4=70\r\ncw5=70\r\ncw6=80\r\ncw7=110\r\n' \
    "$sample" "$sample/map.bmp" \
    | iconv -f UTF-8 -t CP1251 > "$ini.tmp"
  mv "$ini.tmp" "$ini"
fi

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
