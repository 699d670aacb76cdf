#!/usr/bin/env bash
# Remakes the pictures of the help and of the README from the real program:
# starts it on a virtual screen with the sample exercise of tools/screenshots/,
# types a statement with the keyboard and the mouse as a teacher would, and
# takes the pictures. Usage: tools/screenshots.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build="${1:-build-release}"

need=()
for tool in Xvfb:xvfb convert:imagemagick openbox:openbox xdotool:xdotool; do
    command -v "${tool%%:*}" > /dev/null || need+=("${tool##*:}")
done
if [ ${#need[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${need[@]}"
fi
if [ ! -x "$build/src/redigo" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
    cmake --build "$build" --target redigo
fi

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2> /dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
cp tools/screenshots/* "$work/"
# A home of its own: no recovery copies or settings of the user come in.
export HOME="$work/home" XDG_DATA_HOME="$work/home/share" XDG_CONFIG_HOME="$work/home/config"
export DISPLAY=:${REDIGO_SCREENSHOT_DISPLAY:-97}
export LANG=fr_FR.UTF-8 QT_QPA_PLATFORM=xcb
Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp & pids+=($!)
sleep 1
openbox & pids+=($!)
sleep 1
"$root/$build/src/redigo" "$work/sulfate.E51" & pids+=($!)
window=$(xdotool search --sync --name "REDIGO")
sleep 2

# Clicks at a point of the window's inside, measured from its top left.
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.4; }
keys() { xdotool key --delay 60 "$@"; sleep 0.3; }
type_text() { xdotool type --delay 40 "$1"; sleep 0.2; }
shot() { # name x y width height: a part of the window
    import -window root -crop "${4}x${5}+$(($2 + wx))+$(($3 + wy))" +repage "$work/$1.png"
}

eval "$(xdotool getwindowgeometry --shell "$window" | sed 's/^X=/wx=/;s/^Y=/wy=/')"

# Fill the statement: open it from the Exercise menu, go to its end.
keys alt+c e
keys ctrl+End

source tools/screenshots/steps.sh

for picture in fenetre panneau indices ion palettes equilibre reponse; do
    [ -f "$work/$picture.png" ] && cp "$work/$picture.png" help/images/
done
echo "Pictures written to help/images/"
