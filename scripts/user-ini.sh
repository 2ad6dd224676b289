#!/usr/bin/env bash
# Writes or brings up to date the tvk.ini that scripts/run.sh starts the program with:
#   scripts/user-ini.sh INI SAMPLE
# A new file points at the user's copy of the sample database SAMPLE; a file that points at the
# tracked sample/ folder is pointed at SAMPLE instead; every other line is kept.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
ini=$1
sample=$2

# tvk.ini is Windows-1251 with CR LF, next to the program.
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

# Column widths for the regions (sg1), federal districts (sg2), research register (sg3) and measurements (sg4)
# grids, so the sample's names and dates show whole on the first run (the measurements window's own defaults
# leave its name column a few pixels wide); a grid whose widths the file already holds keeps them.
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
seed_widths sg3 30 350 120 100
seed_widths sg4 30 280 80 70 90
