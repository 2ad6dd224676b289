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
  printf '[server]\r\nadosource=%s\r\nmapfile=%s\r\n' "$sample" "$sample/map.bmp" \
    | iconv -f UTF-8 -t CP1251 > "$ini.tmp"
  mv "$ini.tmp" "$ini"
fi

# Column widths for the regions (sg1) and federal districts (sg2) grids, so the sample's names
# show whole on the first run; a grid whose widths the file already holds keeps them.
seed_widths() {
  local section=$1; shift
  if ! tr -d '\r' < "$ini" | grep -qiE "^[[:space:]]*\[$section\]"; then
    {
      cat "$ini"
      if [ -s "$ini" ] && [ "$(tail -c 1 "$ini" | od -An -c | tr -d ' ')" != '\n' ]; then printf '\r\n'; fi
      printf '[%s]\r\n' "$section"
      local c=0
      for w in "$@"; do printf 'cw%d=%d\r\n' "$c" "$w"; c=$((c + 1)); done
    } > "$ini.tmp"
    mv "$ini.tmp" "$ini"
  fi
}
seed_widths sg1 30 250 150 70 70 70 80 110
seed_widths sg2 30 250 150 80

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
