#!/usr/bin/env bash
# Makes the user's own copy of the sample database, from sample/, the first time, and prints its
# folder: $XDG_DATA_HOME/Kestrova/sample (by default ~/.local/share/Kestrova/sample). A copy that
# exists is the user's and is never overwritten, so edits never reach the tracked files.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
data=${XDG_DATA_HOME:-}
# A relative XDG_DATA_HOME counts as unset on the desktop.
case "$data" in
  /*) ;;
  *) data="$HOME/.local/share" ;;
esac
dest="$data/Kestrova/sample"
if [ ! -e "$dest" ]; then
  mkdir -p "$data/Kestrova"
  # Copied aside, then renamed into place: a copy cut short is never taken for the user's.
  tmp=$(mktemp -d "$data/Kestrova/.sample.XXXXXX")
  cp -p "$root"/sample/* "$tmp"/
  chmod u+w "$tmp"/*
  mv -T "$tmp" "$dest" 2>/dev/null || rm -rf "$tmp"
fi
printf '%s\n' "$dest"
