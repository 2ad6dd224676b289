# The end-to-end harness: a private X server with a small window manager, the built program on
# a copy of the sample database in a temporary directory, and the means to drive it from
# outside (keys, clicks, drags) and to read what it did (files, the log, the PDF, screenshots).
#
# A test script sources this file, calls e2e_init "$@" (the build directory is its argument),
# then e2e_start, drives the program, and checks with e2e_check. Exit codes: 0 passed,
# 1 failed (the temporary directory is kept and named), 77 skipped (no X server could start).

set -uo pipefail

E2E_SOURCE=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
E2E_NAME=$(basename "$0" .sh)
E2E_PIDS=()
E2E_FAILED=0
E2E_DISPLAY_LOCK=

e2e_say() { printf '%s: %s\n' "$E2E_NAME" "$*" >&2; }

e2e_skip()
{
    e2e_say "SKIPPED: $*"
    exit 77
}

# Keeps a screenshot and the program's output, names the directory that holds them, and stops.
e2e_fail()
{
    E2E_FAILED=1
    e2e_say "FAILED: $*"
    [ -n "${DISPLAY:-}" ] && e2e_shot failure >/dev/null 2>&1
    if [ -f "$E2E_DIR/app/tvk.log" ]; then
        e2e_say "last lines of tvk.log:"
        iconv -f CP1251 -t UTF-8 "$E2E_DIR/app/tvk.log" | tail -n 5 >&2
    fi
    [ -s "$E2E_DIR/program.out" ] && { e2e_say "program output:"; tail -n 10 "$E2E_DIR/program.out" >&2; }
    e2e_say "screenshots and files kept in $E2E_DIR"
    exit 1
}

# e2e_check DESCRIPTION COMMAND...: fails the test unless the command succeeds.
e2e_check()
{
    local what=$1
    shift
    "$@" || e2e_fail "$what"
}

e2e_cleanup()
{
    local i
    for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
        kill "${E2E_PIDS[i]}" 2>/dev/null && wait "${E2E_PIDS[i]}" 2>/dev/null
    done
    [ -n "${E2E_DISPLAY_LOCK:-}" ] && rmdir "$E2E_DISPLAY_LOCK" 2>/dev/null
    if [ "$E2E_FAILED" = 0 ] && [ -n "${E2E_DIR:-}" ] && [ -z "${E2E_KEEP:-}" ]; then
        rm -rf "$E2E_DIR"
    fi
}

# e2e_init BUILD_DIR: the program's copy, the database's copy and its tvk.ini in a temporary directory.
e2e_init()
{
    local build=${1:-$E2E_SOURCE/build}
    local tool
    for tool in Xvfb openbox xdotool import convert xdpyinfo xprop xwininfo iconv pdftotext pdfinfo; do
        command -v "$tool" >/dev/null || e2e_skip "$tool is not installed (scripts/deps.sh installs it)"
    done
    [ -x "$build/Kestrova" ] || { e2e_say "no program at $build/Kestrova"; exit 1; }
    E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/kestrova-e2e.XXXXXX")
    trap e2e_cleanup EXIT
    mkdir -p "$E2E_DIR/app" "$E2E_DIR/shots" "$E2E_DIR/run"
    chmod 700 "$E2E_DIR/run"
    # The program keeps tvk.ini and tvk.log next to itself, so it runs from a copy.
    cp "$build/Kestrova" "$build/libRalvik.so" "$E2E_DIR/app/"
    cp -r "$E2E_SOURCE/sample" "$E2E_DIR/db"
    E2E_LOCALE=C.UTF-8
    if locale -a 2>/dev/null | grep -qiE '^ru_RU\.utf-?8$'; then E2E_LOCALE=ru_RU.UTF-8; fi
    e2e_ini
}

# e2e_ini [LINE...]: tvk.ini with the database and the map, then the given lines (Windows-1251, CR LF).
e2e_ini()
{
    {
        printf '[server]\r\nadosource=%s\r\nmapfile=%s\r\n' "$E2E_DIR/db" "$E2E_DIR/db/map.bmp"
        local line
        for line in "$@"; do printf '%s\r\n' "$line"; done
    } | iconv -f UTF-8 -t CP1251 >"$E2E_DIR/app/tvk.ini"
}

# The value of KEY in SECTION of tvk.ini (empty when missing).
e2e_ini_value()
{
    iconv -f CP1251 -t UTF-8 "$E2E_DIR/app/tvk.ini" | tr -d '\r' | awk -v s="[$1]" -v k="$2" '
        tolower($0) == tolower(s) { inside = 1; next }
        /^\[/ { inside = 0 }
        inside { i = index($0, "="); if (i && tolower(substr($0, 1, i - 1)) == tolower(k)) { print substr($0, i + 1); exit } }'
}

# True when tvk.log holds a line containing TEXT.
e2e_log_has() { iconv -f CP1251 -t UTF-8 "$E2E_DIR/app/tvk.log" 2>/dev/null | grep -qF -- "$1"; }

# A free display above those the developers' sessions use, and an X server with openbox on it.
e2e_start_x()
{
    local n start=$((30 + RANDOM % 60)) tries
    # Claims left by a run that was killed are old: no run lasts minutes.
    find /tmp -maxdepth 1 -name 'kestrova-e2e-display-*' -type d -mmin +10 -exec rmdir {} + 2>/dev/null
    for ((tries = 0; tries < 40; tries++)); do
        n=$((30 + (start - 30 + tries) % 70))
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        # Tests that run side by side take a display each: the directory is made atomically.
        mkdir "/tmp/kestrova-e2e-display-$n" 2>/dev/null || continue
        E2E_DISPLAY_LOCK="/tmp/kestrova-e2e-display-$n"
        # -noreset: the server would otherwise reset when the probe below disconnects, and refuse
        # the window manager that connects at that moment.
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$E2E_DIR/xvfb.out" 2>&1 &
        local pid=$!
        local i
        for ((i = 0; i < 50; i++)); do
            kill -0 "$pid" 2>/dev/null || break
            if xdpyinfo -display ":$n" >/dev/null 2>&1; then
                E2E_PIDS+=("$pid")
                export DISPLAY=":$n"
                local attempt wm
                for attempt in 1 2 3; do
                    openbox >>"$E2E_DIR/openbox.out" 2>&1 &
                    wm=$!
                    # Ready once it has marked the root window as managed, and still running.
                    for ((i = 0; i < 100; i++)); do
                        kill -0 "$wm" 2>/dev/null || break
                        if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
                            E2E_PIDS+=("$wm")
                            return 0
                        fi
                        sleep 0.1
                    done
                    kill "$wm" 2>/dev/null
                    wait "$wm" 2>/dev/null
                done
                e2e_fail "openbox did not start on $DISPLAY"
            fi
            sleep 0.1
        done
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
        rmdir "$E2E_DISPLAY_LOCK"
        E2E_DISPLAY_LOCK=
    done
    e2e_skip "no X server could be started (Xvfb on :30 to :99)"
}

# e2e_start [VAR=VALUE...]: the X server, then the program with the given environment; waits
# for its main window. KESTROVA_PDF points at $E2E_DIR/out.pdf.
e2e_start()
{
    e2e_start_x
    (
        cd "$E2E_DIR/app" &&
            exec env QT_QPA_PLATFORM=xcb LC_ALL="$E2E_LOCALE" XDG_RUNTIME_DIR="$E2E_DIR/run" \
                KESTROVA_PDF="$E2E_DIR/out.pdf" "$@" ./Kestrova
    ) >"$E2E_DIR/program.out" 2>&1 &
    E2E_APP=$!
    E2E_PIDS+=("$E2E_APP")
    e2e_wait_window '^Кестрова'
    E2E_MAIN=$E2E_WINDOW
    xdotool windowactivate --sync "$E2E_MAIN" >/dev/null 2>&1
    e2e_settle
}

# Lets the program take in what it was sent and paint.
e2e_settle() { sleep "${1:-0.4}"; }

# e2e_wait_window PATTERN [SECONDS]: E2E_WINDOW := the id of a visible window whose title matches.
e2e_wait_window()
{
    local pattern=$1 limit=${2:-10} i
    for ((i = 0; i < limit * 10; i++)); do
        E2E_WINDOW=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | tail -n 1)
        [ -n "$E2E_WINDOW" ] && return 0
        kill -0 "$E2E_APP" 2>/dev/null || e2e_fail "the program ended while waiting for a window \"$pattern\""
        sleep 0.1
    done
    e2e_fail "no window \"$pattern\" within $limit s"
}

# e2e_wait_file PATH [SECONDS]: waits until the file exists and has stopped growing.
e2e_wait_file()
{
    local path=$1 limit=${2:-10} i size=-1
    for ((i = 0; i < limit * 10; i++)); do
        if [ -s "$path" ]; then
            local now
            now=$(stat -c %s "$path")
            [ "$now" = "$size" ] && return 0
            size=$now
        fi
        sleep 0.1
    done
    e2e_fail "no file $path within $limit s"
}

# e2e_wait_exit [SECONDS]: waits for the program to end.
e2e_wait_exit()
{
    local limit=${1:-10} i
    for ((i = 0; i < limit * 10; i++)); do
        kill -0 "$E2E_APP" 2>/dev/null || return 0
        sleep 0.1
    done
    e2e_fail "the program did not end within $limit s"
}

# Keys to the focused window (xdotool key names: ctrl+p, Return, Cyrillic_es ...).
e2e_key()
{
    xdotool key --delay 60 "$@"
    e2e_settle
}

# Text typed into the focused control.
e2e_type()
{
    xdotool type --delay 30 -- "$1"
    e2e_settle 0.2
}

e2e_click()
{
    xdotool mousemove --sync "$1" "$2" click 1
    e2e_settle
}

e2e_double_click()
{
    xdotool mousemove --sync "$1" "$2" click --repeat 2 --delay 80 1
    e2e_settle
}

# e2e_drag X1 Y1 X2 Y2: the left button held from one point to the other, in steps.
e2e_drag()
{
    local x1=$1 y1=$2 x2=$3 y2=$4 k
    xdotool mousemove --sync "$x1" "$y1" mousedown 1
    for k in 1 2 3 4 5 6 7 8; do
        xdotool mousemove --sync $((x1 + (x2 - x1) * k / 8)) $((y1 + (y2 - y1) * k / 8))
        sleep 0.03
    done
    xdotool mouseup 1
    e2e_settle
}

# e2e_shot NAME: a screenshot of the whole screen, kept as $E2E_DIR/shots/NAME.png; prints its path.
e2e_shot()
{
    local file="$E2E_DIR/shots/$1.png"
    import -window root "$file" && echo "$file"
}

# e2e_pixels X Y W H: the colours of a screen rectangle, one line "x y #RRGGBB" per pixel, row by row.
e2e_pixels()
{
    import -window root -depth 8 -crop "$3x$4+$1+$2" +repage txt:- 2>/dev/null |
        awk -v ox="$1" -v oy="$2" -F'[ ,:]+' 'NR > 1 { for (i = 3; i <= NF; i++) if ($i ~ /^#/) { print ox + $1, oy + $2, toupper($i); break } }'
}

# e2e_pixel X Y: the colour of one screen pixel as #RRGGBB.
e2e_pixel() { e2e_pixels "$1" "$2" 1 1 | awk '{ print $3 }'; }

# e2e_find_colour COLOUR X Y W H: the first pixel of the colour in the rectangle ("x y"), row by row.
e2e_find_colour()
{
    local colour=${1^^}
    shift
    e2e_pixels "$@" | awk -v c="$colour" '$3 == c { print $1, $2; found = 1; exit } END { exit !found }'
}

# The text of a PDF, and its page count.
e2e_pdf_text() { pdftotext -layout "$1" - 2>/dev/null; }
e2e_pdf_pages() { pdfinfo "$1" 2>/dev/null | awk '/^Pages:/ { print $2 }'; }

# e2e_map_origin BMP: E2E_MAP_X, E2E_MAP_Y := the screen point of the map picture's top-left
# pixel in the open map window (scrolled to its start). The picture stands at the top-left of
# its white scroll area; the first non-white pixel of the file must be found there again.
e2e_map_origin()
{
    local bmp=$1 x y colour
    read -r _ E2E_MAP_Y < <(e2e_find_colour '#FFFFFF' 640 60 1 400) || e2e_fail "no white picture area on the screen"
    read -r E2E_MAP_X _ < <(e2e_find_colour '#FFFFFF' 0 $((E2E_MAP_Y + 2)) 200 1) || e2e_fail "no left edge of the picture area"
    read -r x y colour < <(convert "$bmp" -depth 8 -crop 2000x100+0+0 +repage txt:- |
        awk -F'[ ,:]+' 'NR > 1 { for (i = 3; i <= NF; i++) if ($i ~ /^#/) { if (toupper($i) != "#FFFFFF") { print $1, $2, toupper($i); exit } break } }')
    [ -n "${colour:-}" ] || e2e_fail "no non-white pixel at the top of $bmp"
    local seen
    seen=$(e2e_pixel $((E2E_MAP_X + x)) $((E2E_MAP_Y + y)))
    [ "$seen" = "$colour" ] ||
        e2e_fail "the map picture is not at ($E2E_MAP_X, $E2E_MAP_Y): its pixel ($x, $y) is $colour in the file, $seen on the screen"
}

# The link point (X Y) of a place of a level in ksLinksToMap.txt (the first one).
e2e_link_point()
{
    awk -F';' -v l="$1" -v p="$2" '$1 == l && $2 == p { sub(/\r$/, "", $4); print $3, $4; exit }' "$E2E_DIR/db/ksLinksToMap.txt"
}

# e2e_grid_heading: E2E_GRID_X, E2E_GRID_Y := the top-left pixel of the open table window's
# heading row, found by its colour (tvk.ini's default heading background).
E2E_HEADING='#A6CAF0'
e2e_grid_heading()
{
    read -r _ E2E_GRID_Y < <(e2e_find_colour "$E2E_HEADING" 20 60 1 500) || e2e_fail "no grid heading row on the screen"
    read -r E2E_GRID_X _ < <(e2e_find_colour "$E2E_HEADING" 0 $((E2E_GRID_Y + 1)) 200 1) || e2e_fail "no left end of the heading row"
}

# e2e_window_origin ID: E2E_WIN_X, E2E_WIN_Y, E2E_WIN_W, E2E_WIN_H := the window's client area on the screen.
e2e_window_origin()
{
    local info
    info=$(xwininfo -id "$1" 2>/dev/null) || e2e_fail "no window $1"
    E2E_WIN_X=$(awk '/Absolute upper-left X/ { print $NF }' <<<"$info")
    E2E_WIN_Y=$(awk '/Absolute upper-left Y/ { print $NF }' <<<"$info")
    E2E_WIN_W=$(awk '/^ *Width:/ { print $NF }' <<<"$info")
    E2E_WIN_H=$(awk '/^ *Height:/ { print $NF }' <<<"$info")
}

# e2e_wait_gone PATTERN [SECONDS]: waits until no visible window's title matches, then lets
# the window below take the focus back.
e2e_wait_gone()
{
    local pattern=$1 limit=${2:-10} i
    for ((i = 0; i < limit * 10; i++)); do
        if [ -z "$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null)" ]; then
            e2e_settle
            return 0
        fi
        sleep 0.1
    done
    e2e_fail "the window \"$pattern\" is still open after $limit s"
}
