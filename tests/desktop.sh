#!/usr/bin/env bash
# The program under a real window manager on its own Xvfb display, clicked through the X server; stacking,
# frames and size hints read back; the display changed under it with RandR, as when a projector is plugged in.
# Usage: desktop.sh WM PROGRAM PLUGIN_DIR (ZB_SHOTS=DIR: a picture per step)
set -u
wm=$1 program=$2 plugins=$3 scratch=$(mktemp -d) step=0 bus=
trap 'kill $(jobs -p) $bus 2>/dev/null; wait; rm -rf "$scratch"' EXIT
fail() { echo "FAIL under $wm, step $step: $*"; tail -3 "$scratch/out"; exit 1; }
# Waits for a state, however busy the machine, up to a bound that only a fault reaches.
soon() {
    local until=$((SECONDS + 90))
    until eval "$1"; do ((SECONDS < until)) || return 1; sleep 0.05; done
}

Xvfb -displayfd 5 -noreset -screen 0 3840x2160x24 -nolisten tcp 5>"$scratch/display" 2>/dev/null &
soon '[ -s "$scratch/display" ]' || fail "no Xvfb"
export DISPLAY=:$(cat "$scratch/display") XDG_RUNTIME_DIR=$scratch XDG_STATE_HOME=$scratch/state QT_QPA_PLATFORM=xcb
xrandr --newmode 1024x768 63.5 1024 1072 1176 1328 768 771 775 798 && xrandr --addmode screen 1024x768 &&
    xrandr --newmode 1920x1080 173 1920 2048 2248 2576 1080 1083 1088 1120 && xrandr --addmode screen 1920x1080 ||
    fail "no RandR modes"
# The display's size W x H (RandR goes up to the size Xvfb started at), and the factor F the program should use.
mode() {
    xrandr --output screen --mode "$1x$2" --fb "$1x$2" || fail "no mode $1x$2"
    W=$1 H=$2 F=$(awk -v w="$1" -v h="$2" 'BEGIN { f = w / 800 < h / 600 ? w / 800 : h / 600; print f < 1.5 ? 1 : f }')
}
mode 3840 2160
if [ "$wm" = xfwm4 ]; then # its settings come over a session bus of its own
    { read -r address; read -r bus; } < <(dbus-daemon --session --fork --print-address=1 --print-pid=1)
    DBUS_SESSION_BUS_ADDRESS=$address NO_AT_BRIDGE=1 xfwm4 --compositor=off --sm-client-disable &>/dev/null &
else "$wm" &>/dev/null & fi
soon 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "#"' || fail "$wm did not start"
stdbuf -oL xev -root -event substructure >"$scratch/xev" & # what the server does with the top-level windows
mkfifo "$scratch/ask" && exec 3<>"$scratch/ask" # the driver's questions
QT_PLUGIN_PATH=$plugins QT_QPA_GENERIC_PLUGINS=zbdriver:xmap "$program" <&3 >"$scratch/out" 2>&1 &

xid() { grep "^zbdriver: window $1 " "$scratch/out" | tail -1 | cut -d' ' -f4; }
name() { grep "^zbdriver: window .* $(($1))\$" "$scratch/out" | tail -1 | cut -d' ' -f3; }
# The program's windows, back to front (xfwm4 lists the stacking only once it has restacked).
stack() {
    for w in $(xprop -root _NET_CLIENT_LIST_STACKING _NET_CLIENT_LIST | sed -n 's/.*# //p' | head -1 | tr -d ,); do
        name "$w"
    done | xargs
}
prop() { xprop -id "$(xid "$1")" "$2"; }
# Where control $2 of window $1 is now, in the window's pixels (the driver gives the program's).
at() {
    read -r x y < <(grep "^zbdriver: at $1 $2 " "$scratch/out" | tail -1 | cut -d' ' -f5-)
    [ -n "${y:-}" ] || fail "no $2 on $1"
    awk -v x="$x" -v y="$y" -v f="$F" 'BEGIN { printf "%d %d\n", x * f, y * f }'
}
# Clicks control $2 of window $1, then waits until the stacking matches pattern $3.
click() { xdotool mousemove --window "$(xid "$1")" $(at "$1" "$2") click 1 && expect "$3"; }
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

# The outer box of window $1 (its frame included): X Y Width Height, on the root window.
box() {
    eval "$(xwininfo -id "$(xid "$1")" | sed -n 's/ *Absolute upper-left \(.\): *\(-*[0-9]*\)/\1=\2/p;
            s/ *\(Width\|Height\): *\([0-9]*\)/\1=\2/p')"
    IFS=, read -r l r t b <<<"$(frame "$1")"
    echo $((X - l)) $((Y - t)) $((l + Width + r)) $((t + Height + b))
}
# Window $1 wholly inside the work area, and centred on the display when $2 is set.
inside() {
    local x y w h && read -r x y w h <<<"$(box "$1")"
    read -r ax ay aw ah <<<"$(xprop -root _NET_WORKAREA | sed 's/.*= //; s/,//g' | cut -d' ' -f1-4)"
    ((x >= ax && y >= ay && x + w <= ax + aw && y + h <= ay + ah)) || return 1
    local cx=$((x + w / 2 - W / 2)) cy=$((y + h / 2 - H / 2))
    [ -z "${2:-}" ] || ((cx * cx + cy * cy <= 8))
}
# Every window as if the program had started on this display: the backdrop over it all, the screens at the
# factor and centred, the Jotter on the work area.
fitted() {
    local x y w h s
    read -r x y w h <<<"$(box Grey)"
    ((x <= 0 && y <= 0 && x + w >= W && y + h >= H)) || return 1
    for s in intro0 menu2 reflex; do
        read -r x y w h <<<"$(box $s)"
        (((w - W + 2 * x) ** 2 <= 4 && (h - H + 2 * y) ** 2 <= 4)) || return 1
        awk -v w="$w" -v f="$F" 'BEGIN { exit (w - 800 * f) ^ 2 > 1 }' || return 1
    done
    inside notepad
}
# Each window's pixels against a fresh paint, asked of the driver: true when none differs.
painted() {
    local seen && seen=$(grep -c '^zbdriver: stale' "$scratch/out")
    echo >&3
    soon '(($(grep -c "^zbdriver: stale" "$scratch/out") > seen))' || fail "no paint check"
    grep '^zbdriver: stale' "$scratch/out" | tail -1 | awk '{ for (i = 4; i <= NF; i += 2) if ($i) exit 1 }'
}
change() {
    step=$((step + 1)) && mode "$1" "$2"
    soon fitted || fail "at $1 x $2 the windows are not fitted: $(for s in Grey intro0 notepad; do box $s; done)"
    # Every window painted afresh, none keeping the old frame's pixels anywhere.
    soon painted || fail "at $1 x $2 windows show old pixels: $(grep '^zbdriver: stale' "$scratch/out" | tail -1)"
}

expect '^Titlefrm$'
soon '[ "$(frame Titlefrm)" != 0,0,0,0 ]' || fail "the title screen has no frame"
soon 'inside Titlefrm centred' || fail "the title screen is off centre at $(box Titlefrm) on $W x $H"
fixed Titlefrm
# The taskbar finds the desktop entry, with the program's name and icon, by the window's class.
wmclass=$(sed -n 's/^StartupWMClass=//p' "$(dirname "$0")/../packaging/example.quorvane.ZestoraBiology.desktop")
prop Titlefrm WM_CLASS | grep -q "\"$wmclass\"" || fail "$(prop Titlefrm WM_CLASS), not the entry's '$wmclass'"
mode 1024 768
soon 'inside Titlefrm centred' || fail "the title screen is off centre at $(box Titlefrm) on $W x $H"
icon=$(prop Titlefrm _NET_WM_ICON | md5sum) # its own, unlike the content screens
click Titlefrm Command1 '^intro0$'
[ "$(prop intro0 _NET_WM_ICON | md5sum)" != "$icon" ] || fail "the title screen shows no icon of its own"
click intro0 Check1 '^Grey intro0$'
xdotool mousemove 3 3 click 1 && expect '^Grey intro0$'
# The backdrop's frame is mapped at the back, never over the screens and lowered after: from its MapNotify
# on, each ConfigureNotify has the same window below it.
top=$(xid Grey) && while line=$(xwininfo -tree -id "$top" | grep 'Parent window id') &&
    [[ $line != *"(the root window)"* ]]; do top=$(grep -o '0x[0-9a-f]*' <<<"$line"); done
restacked=$(awk -v w="$(printf '0x%x' "$top")" 'BEGIN { RS = "" } $0 ~ "window " w "," {
    if ($1 == "MapNotify") mapped = 1
    if ($1 == "ConfigureNotify" && match($0, /above 0x[0-9a-f]+/)) {
        a = substr($0, RSTART + 6, RLENGTH - 6); if (mapped && a != was) print a; if (!mapped) was = a } }' "$scratch/xev")
[ -z "$restacked" ] || fail "the backdrop was mapped, then restacked over $restacked"
# The key goes where the focus is, which the window manager moves in its own time.
soon '[ -n "$(name "$(xdotool getwindowfocus)")" ]' || fail "none of the program's windows has the focus"
xdotool key ctrl+j && expect '^Grey intro0 notepad$'
fixed notepad
click intro0 'Label2(1)' '^Grey intro0 menu2 notepad$'
click menu2 'Label3(1)' '^Grey intro0 menu2 reflex notepad$'
click notepad Command3 '^Grey intro0 menu2 reflex notepad$' # the tall Jotter, with ink; a card moved
soon 'read -r x y w h <<<"$(box notepad)" && ((h > w))' || fail "the Jotter did not turn tall: $(box notepad)"
xdotool mousemove --window "$(xid notepad)" 40 40 mousedown 1 mousemove_relative 200 50 mouseup 1 \
    mousemove --window "$(xid reflex)" $(at reflex 'Label2(2)') mousedown 1 mousemove_relative 60 40 mouseup 1
# A cable wiggled, then a projector and the board itself: each time fitted anew, nothing closed.
for size in "1920 1080" "1024 768" "3840 2160" "1920 1080" "1024 768" "3840 2160"; do mode $size; done
for size in "1920 1080" "3840 2160" "1024 768" "1920 1080"; do change $size; done
expect '^Grey intro0 menu2 reflex notepad$'
click reflex 'Label3(0)' '^Grey intro0 menu2 notepad$'
for s in Grey intro0 menu2; do [ "$(frame $s)" = 0,0,0,0 ] || fail "$s has a frame: $(frame $s)"; done
# A second start with a factor hands it to the running copy.
"$program" --scale 1 >/dev/null 2>&1 && F=1 step=$((step + 1)) || fail "the second start failed"
soon 'read -r x y w h <<<"$(box intro0)" && ((w == 800 && x == 560 && y == 240))' ||
    fail "the running copy did not take the factor: $(box intro0)"
echo "under $wm: $step steps as expected"
