#!/usr/bin/env bash
# The road of one request: a new numeric research in the register, its dialog, "Измерения",
# one measurement for a region, OK; then the map window, the research chosen, and the region's
# area on the screen in the colour of the interval that holds its value.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
[ "$E2E_LOCALE" = ru_RU.UTF-8 ] || e2e_skip "the locale ru_RU.UTF-8 is missing (the sample database is written in it)"
e2e_ini "[tables]" "wordwrap=0"
e2e_start

# The register, a new research: numeric, regional.
e2e_key alt+Cyrillic_i Return             # Исследования → Журнал исследований
e2e_wait_window 'Исследования'
e2e_grid_heading
e2e_click $((E2E_GRID_X + 10)) $((E2E_GRID_Y + 30))   # the grid's first row takes the focus
e2e_key Insert
e2e_wait_window '^Исследование \(добавление\)'
e2e_key ctrl+a
e2e_type 'Road probe'                   # Latin letters: typed without remapping the keyboard
e2e_key Tab Tab Down                      # level stays "Региональный"; kind "Числовой"
e2e_key ctrl+End
e2e_wait_gone '^Исследование \(добавление\)'
register=$(iconv -f CP1251 -t UTF-8 "$E2E_DIR/db/ksResearchRegister.txt" | tr -d '\r' | tail -n 1)
e2e_check "the register's new line, found \"$register\"" test "$register" = "4;Road probe;0;1"

# Its dialog, from the last row of the grid, and its measurements.
e2e_key Down Down Down Return
e2e_wait_window '^Исследование'
e2e_window_origin "$E2E_WINDOW"
# "Измерения" takes no focus: its right end stands 24 pixels in from the dialog's right edge,
# its top 111 pixels below the dialog's.
e2e_click $((E2E_WIN_X + E2E_WIN_W - 40)) $((E2E_WIN_Y + 121))
e2e_wait_window '^Измерения: Road probe'
e2e_window_origin "$E2E_WINDOW"
e2e_click $((E2E_WIN_X + E2E_WIN_W / 2)) $((E2E_WIN_Y + E2E_WIN_H / 2))   # the grid takes the focus
e2e_key Insert
e2e_wait_window '^Регион \(добавление\)'
e2e_key Down                              # the first place of the list
e2e_key Return Return Return              # Enter goes on to the next field: date, time, value
e2e_type '5'
e2e_shot measurement >/dev/null
e2e_key ctrl+End                          # the measurement dialog's OK
e2e_wait_gone '^Регион \(добавление\)'
# The measurements window's OK (its bottom strip's first button) saves them.
e2e_click $((E2E_WIN_X + 40)) $((E2E_WIN_Y + E2E_WIN_H - 20))
e2e_wait_gone '^Измерения: '
line=$(iconv -f CP1251 -t UTF-8 "$E2E_DIR/db/ksMesurements.txt" | tr -d '\r' | awk -F';' '$2 == 4' | tail -n 1)
e2e_check "one measurement line of research 4 with value 5, found \"$line\"" \
    bash -c '[[ "$1" =~ ^1\;4\;[0-9]+\;.*\;5$ ]]' _ "$line"
place=$(cut -d';' -f3 <<<"$line")
e2e_key Escape                            # the research dialog: nothing else to store
e2e_wait_gone '^Исследование'

# The map window, the new research (the last in its list), the region's area.
e2e_key alt+Cyrillic_i Down Return        # Исследования → Графика
e2e_wait_window 'Графика'
e2e_settle 0.5
e2e_map_origin "$E2E_DIR/db/map.bmp"
read -r bx by < <(e2e_link_point 0 "$place")
read -r ox oy < <(e2e_link_point 0 $((place == 1 ? 2 : 1)))
e2e_check "the region is white before a research is chosen" test "$(e2e_pixel $((E2E_MAP_X + bx)) $((E2E_MAP_Y + by)))" = '#FFFFFF'
# The research list stands at the left of the window's bottom strip, after its label.
e2e_window_origin "$E2E_MAIN"
e2e_click 250 $((E2E_WIN_Y + E2E_WIN_H - 14))
e2e_key End Return
e2e_settle 0.5
e2e_shot map >/dev/null
# One value: the largest, so the last of the four intervals, the legend's full colour (clGreen).
seen=$(e2e_pixel $((E2E_MAP_X + bx)) $((E2E_MAP_Y + by)))
e2e_check "the region's area is in the last interval's colour #008000, found $seen" test "$seen" = '#008000'
other=$(e2e_pixel $((E2E_MAP_X + ox)) $((E2E_MAP_Y + oy)))
e2e_check "a region without a measurement stays white, found $other" test "$other" = '#FFFFFF'
e2e_say "passed: register, dialog, measurements, map"
