#!/usr/bin/env bash
# Starts the reader on a real X server (Xvfb, 1280 × 1024) without and with a window manager,
# checks that the window's outer rectangle, frame included, is 307, 207, 665 × 610, then closes
# it with a real Esc key press and checks that the program ends with exit code 0.
# Usage: x11-geometry.sh PATH-TO-lusheng-reader
set -uo pipefail
reader="$1"
export QT_QPA_PLATFORM=xcb LANG=C.UTF-8
unset WAYLAND_DISPLAY
work="$(mktemp -d)"
trap 'kill $(jobs -p) 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
failures=0

fail() { echo "FAIL ($1): $2"; failures=$((failures + 1)); }

# Polls a command until it succeeds, for up to $1 tenths of a second.
poll() {
    local tries="$1" try; shift
    for ((try = 0; try < tries; try++)); do "$@" && return 0; sleep 0.1; done
    return 1
}

outer_rect() { # window id → "x y width height" of the frame
    local info left right top bottom x y w h
    info="$(xwininfo -id "$1")" || return 1
    x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
    y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
    w=$(sed -n 's/.*Width: *//p' <<<"$info")
    h=$(sed -n 's/.*Height: *//p' <<<"$info")
    read -r left right top bottom < <(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null |
        sed -n 's/.*= *//p' | tr -d ',')
    echo "$((x - ${left:-0})) $((y - ${top:-0})) $((w + ${left:-0} + ${right:-0})) $((h + ${top:-0} + ${bottom:-0}))"
}

window_id() { xdotool search --onlyvisible --name '鹭笙语音阅读器V1.0' 2>/dev/null | head -1; }

run_case() { # name, window manager command or ""
    local name="$1" wm="$2" display xpid wmpid="" app id rect code
    Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp > "$work/display" 2> "$work/xvfb.log" &
    xpid=$!
    poll 100 grep -q '[0-9]' "$work/display" ||
        { fail "$name" "Xvfb did not start"; cat "$work/xvfb.log"; return; }
    display=":$(head -1 "$work/display")"
    export DISPLAY="$display"
    if [[ -n "$wm" ]]; then
        $wm > "$work/wm.log" 2>&1 &
        wmpid=$!
        poll 100 bash -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' ||
            { fail "$name" "window manager did not start"; }
    fi
    "$reader" > "$work/reader.log" 2>&1 &
    app=$!
    if ! poll 200 bash -c '[[ -n "$(xdotool search --onlyvisible --name "鹭笙语音阅读器V1.0" 2>/dev/null)" ]]'; then
        fail "$name" "no window appeared"; cat "$work/reader.log"
    else
        id="$(window_id)"
        # The frame may arrive a little after the window; allow it to settle.
        for ((i = 0; i < 50; i++)); do
            rect="$(outer_rect "$id")"
            [[ "$rect" == "307 207 665 610" ]] && break
            sleep 0.1
        done
        if [[ "$rect" == "307 207 665 610" ]]; then
            echo "ok ($name): outer rectangle $rect"
        else
            fail "$name" "outer rectangle is '$rect', expected '307 207 665 610'"
        fi
        xdotool windowactivate --sync "$id" 2>/dev/null || xdotool windowfocus --sync "$id" 2>/dev/null
        xdotool key --window "$id" Escape 2>/dev/null
    fi
    for ((i = 0; i < 100; i++)); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$app" 2>/dev/null; then
        fail "$name" "Esc did not end the program"; kill "$app"
    fi
    wait "$app"; code=$?
    if [[ $code -eq 0 ]]; then echo "ok ($name): exit code 0"; else fail "$name" "exit code $code"; tail -40 "$work/reader.log"; fi
    [[ -n "$wmpid" ]] && { kill "$wmpid"; wait "$wmpid" 2>/dev/null; }
    kill "$xpid"; wait "$xpid" 2>/dev/null
}

run_case "no window manager" ""
run_case "openbox" "openbox --sm-disable"
exit $((failures > 0))
