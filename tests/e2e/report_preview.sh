#!/usr/bin/env bash
# The map report's preview under a window manager: the report library's window belongs to the
# program's main window (WM_TRANSIENT_FOR names it), so it stays over it.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start

e2e_key alt+Cyrillic_i Down Return        # Исследования → Графика
e2e_wait_window 'Графика'
e2e_key alt+Cyrillic_ef Down Down Return  # Файл → Предварительный просмотр
e2e_wait_window '^Предварительный просмотр$'
preview=$E2E_WINDOW
e2e_settle 0.5
e2e_shot preview >/dev/null
owner=$(xprop -id "$preview" WM_TRANSIENT_FOR 2>/dev/null | sed -n 's/.*window id # \(0x[0-9a-fA-F]*\).*/\1/p')
e2e_check "the preview is transient for the main window $E2E_MAIN, found \"${owner:-none}\"" \
    test -n "$owner" -a "$((owner))" = "$E2E_MAIN"
e2e_key Escape
e2e_wait_gone '^Предварительный просмотр$'
e2e_check "the report is logged once the preview is closed" e2e_log_has 'Сформирован внешний отчет № 0. Графика'
e2e_say "passed: the library's preview belongs to the main window"
