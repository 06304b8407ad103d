#!/usr/bin/env bash
# The program under a real window manager on its own Xvfb display, clicked through the X server; stacking,
# frames and size hints read back. Usage: desktop.sh WM PROGRAM PLUGIN_DIR (ZB_SHOTS=DIR: a picture per step)
set -u
wm=$1 program=$2 plugins=$3 scratch=$(mktemp -d) step=0 bus=
trap 'kill $(jobs -p) $bus 2>/dev/null; wait; rm -rf "$scratch"' EXIT
fail() { echo "FAIL under $wm, step $step: $*"; tail -3 "$scratch/out"; exit 1; }
soon() { for _ in $(seq 100); do eval "$1" && return 0; sleep 0.05; done; return 1; }

Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$scratch/display" 2>/dev/null &
soon '[ -s "$scratch/display" ]' || fail "no Xvfb"
export DISPLAY=:$(cat "$scratch/display") XDG_RUNTIME_DIR=$scratch QT_QPA_PLATFORM=xcb
if [ "$wm" = xfwm4 ]; then # its settings come over a session bus of its own
    { read -r address; read -r bus; } < <(dbus-daemon --session --fork --print-address=1 --print-pid=1)
    DBUS_SESSION_BUS_ADDRESS=$address NO_AT_BRIDGE=1 xfwm4 --compositor=off --sm-client-disable &>/dev/null &
else "$wm" &>/dev/null & fi
soon 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "#"' || fail "$wm did not start"
# At the design size: the driver reports positions in the program's pixels, and the frames are the subject.
QT_PLUGIN_PATH=$plugins QT_QPA_GENERIC_PLUGINS=zbdriver:xmap "$program" --scale 1 >"$scratch/out" 2>&1 &

xid() { grep "^zbdriver: window $1 " "$scratch/out" | tail -1 | cut -d' ' -f4; }
name() { grep "^zbdriver: window .* $(($1))\$" "$scratch/out" | tail -1 | cut -d' ' -f3; }
# The program's windows, back to front (xfwm4 lists the stacking only once it has restacked).
stack() {
    for w in $(xprop -root _NET_CLIENT_LIST_STACKING _NET_CLIENT_LIST | sed -n 's/.*# //p' | head -1 | tr -d ,); do
        name "$w"
    done | xargs
}
prop() { xprop -id "$(xid "$1")" "$2"; }
# Clicks control $2 of window $1, then waits until the stacking matches pattern $3.
click() {
    read -r x y < <(grep "^zbdriver: at $1 $2 " "$scratch/out" | tail -1 | cut -d' ' -f5-)
    [ -n "${y:-}" ] || fail "no $2 on $1"
    xdotool mousemove --window "$(xid "$1")" "$x" "$y" click 1 && expect "$3"
}
expect() {
    step=$((step + 1)) want=$1
    soon '[[ "$(stack)" =~ $want ]]' || fail "stacking '$(stack)', wanted '$1'"
    [ -z "${ZB_SHOTS:-}" ] || import -window root "$ZB_SHOTS/$wm-$step.png"
}
frame() { prop "$1" _NET_FRAME_EXTENTS | cut -d= -f2 | tr -d ' '; }
fixed() {
    local hints && hints=$(prop "$1" WM_NORMAL_HINTS)
    [ "$(sed -n 's/.*minimum size: //p' <<<"$hints")" = "$(sed -n 's/.*maximum size: //p' <<<"$hints")" ] &&
        ! prop "$1" _NET_WM_ALLOWED_ACTIONS | grep -Eq 'MAXIMIZE|RESIZE' || fail "$1 can be resized or maximised"
}

expect '^Titlefrm$'
[ "$(frame Titlefrm)" != 0,0,0,0 ] || fail "the title screen has no frame"
eval "$(xwininfo -id "$(xid Titlefrm)" | sed -n 's/ *Absolute upper-left \(.\): *\(-*[0-9]*\)/\1=\2/p;
        s/ *\(Width\|Height\): *\([0-9]*\)/\1=\2/p')"
IFS=, read -r l r t b <<<"$(frame Titlefrm)"
cx=$((X - l + (l + Width + r) / 2 - 640)) cy=$((Y - t + (t + Height + b) / 2 - 512))
((cx * cx + cy * cy <= 100)) || fail "the title screen's centre is off by $cx, $cy"
fixed Titlefrm
# The taskbar finds the desktop entry, with the program's name and icon, by the window's class.
wmclass=$(sed -n 's/^StartupWMClass=//p' "$(dirname "$0")/../packaging/example.quorvane.ZestoraBiology.desktop")
prop Titlefrm WM_CLASS | grep -q "\"$wmclass\"" || fail "$(prop Titlefrm WM_CLASS), not the entry's '$wmclass'"
click Titlefrm Command1 '^intro0$'
click intro0 Check1 '^Grey intro0$'
xdotool mousemove 3 3 click 1 && expect '^Grey intro0$'
xdotool key ctrl+j && expect '^Grey intro0 notepad$'
fixed notepad
click intro0 'Label2(1)' '^Grey intro0 menu2 notepad$'
click menu2 'Label3(1)' '^Grey intro0 menu2 reflex notepad$'
click reflex 'Label3(0)' '^Grey intro0 menu2 notepad$'
click notepad Command1 '^Grey intro0 menu2$'
for s in Grey intro0 menu2; do [ "$(frame $s)" = 0,0,0,0 ] || fail "$s has a frame: $(frame $s)"; done
echo "under $wm: $step steps as expected"
