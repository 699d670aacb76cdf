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
export LANG=C.UTF-8 QT_QPA_PLATFORM=xcb
Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp & pids+=($!)
sleep 1
openbox & pids+=($!)
sleep 1
"$root/$build/src/redigo" "$work/sulfate.E51" & pids+=($!)
xdotool search --sync --onlyvisible --name "REDIGO" > /dev/null
sleep 2

# On a 1280 x 800 screen under openbox the window's frame is centred at
# (140, 28): the points below are screen points of its controls.
click() { xdotool mousemove "$1" "$2" click 1; sleep 0.5; }
keys() { xdotool key --delay 80 "$@"; sleep 0.3; }
type_text() { xdotool type --delay 50 -- "$1"; sleep 0.2; }
normal() { keys alt+n; }
index() { keys alt+i; type_text "$1"; normal; }
exponent() { keys alt+x; type_text "$1"; normal; }
text_size() { click 420 124; keys ctrl+a; type_text "$1"; keys Return; click 880 700; keys ctrl+End; }
shot() { import -window root -crop "${3}x${4}+${1}+${2}" +repage "$work/$5.png"; }

# The exercise opened with its statement shown: add to its end.
click 880 700
keys ctrl+End Return
type_text "CuSO"; index 4; type_text " (s)  -->  Cu"; exponent "2+"; type_text " (aq)  +  "
# The polyatomic ion: body, charge and index in their boxes.
click 463 85
click 520 381; type_text "SO"
click 645 367; type_text "2-"
click 645 388; type_text "4"
sleep 0.5
shot 432 300 416 156 ion-dialog
click 780 372
type_text " (aq)"
keys Return
text_size 12
type_text "2) La concentration vaut c = 6,3 x 10"; exponent "-2"; type_text " mol.L"; exponent "-1"
keys Return
type_text "3) L'acide éthanoïque réagit avec l'eau :"
keys Return
type_text "CH"; index 3; type_text "COOH + H"; index 2; type_text "O  "
click 253 155 # the Math II palette
click 218 324 # the equilibrium sign
type_text "  CH"; index 3; type_text "COO"; exponent "-"; type_text " + H"; index 3; type_text "O"; exponent "+"
keys Return Return
type_text "Donner le nom des ions :"
keys Return
keys alt+s Up Return # Insertion > Champ de réponse, the menu's last entry
sleep 0.5

shot 144 147 150 420 palettes
click 163 155 # back to the Greek letters
shot 616 288 420 52 indices
shot 616 356 420 26 equilibre
shot 616 381 420 100 reponse
shot 140 28 1001 742 fenetre
convert "$work/ion-dialog.png" \( -size 416x8 xc:white \) \
    \( "$work/indices.png" -crop 416x30+0+0 +repage \) -append "$work/ion.png"
click 383 509 # Paramètres: the exercise's recap panel
sleep 0.5
shot 298 147 314 620 panneau

for picture in fenetre panneau indices ion palettes equilibre reponse; do
    cp "$work/$picture.png" help/images/
done
echo "Pictures written to help/images/"
