#!/usr/bin/env bash
# A column of the regions grid widened with the mouse, then "Файл → Выход": with autosave on,
# tvk.ini holds the new width when the program has ended.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_ini "[options]" "autosave=1" "[tables]" "wordwrap=0" \
    "[sg1]" "cw0=40" "cw1=150" "cw2=100" "cw3=70" "cw4=70" "cw5=70" "cw6=70" "cw7=70"
e2e_start

e2e_key alt+Cyrillic_es Return            # Справочники → Регионы
e2e_wait_window 'Регионы'
e2e_settle 0.5
e2e_grid_heading
top=$E2E_GRID_Y
y=$((top + 1))
# The column borders are the breaks in the heading colour along the row, above the captions.
mapfile -t borders < <(e2e_pixels 0 "$y" 900 1 | awk -v c="$E2E_HEADING" '
    $3 == c { if (gap && seen) print start; seen = 1; gap = 0; next }
    seen && !gap { gap = 1; start = $1 }')
[ "${#borders[@]}" -ge 2 ] || e2e_fail "fewer than two column borders found in the heading row at y $y"
border=${borders[1]}                      # between "Наименование" and "Столица"
e2e_drag "$border" $((top + 10)) $((border + 100)) $((top + 10))
e2e_shot widened >/dev/null

e2e_key alt+Cyrillic_ef                   # Файл
e2e_key Cyrillic_yeru                     # В&ыход
e2e_wait_exit
width=$(e2e_ini_value sg1 cw1)
e2e_check "cw1 of [sg1] is the widened width (about 250), found \"$width\"" \
    test -n "$width" -a "${width:-0}" -ge 245 -a "${width:-0}" -le 255
e2e_check "the column before it keeps its width" test "$(e2e_ini_value sg1 cw0)" = 40
e2e_check "the log has the exit line" e2e_log_has "Выход из программы"
e2e_say "passed: cw1 = $width after the exit"
