#!/usr/bin/env bash
# Makes docs/voltaria.png, the README's picture of the window playing: a portable copy of the built
# program with a library of generated tracks, started under Xvfb; two tracks are sent to the decks
# and deck A is started with the mouse as an operator would. Run after scripts/build.sh.
# The clicks aim at the window's layout on a 1280 x 1024 screen (the window fills its width).
set -euo pipefail
cd "$(dirname "$0")/.."
out=$PWD/docs/voltaria.png
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

mkdir -p "$work/voltaria" "$work/musicas" "$work/home"
cp build/voltaria "$work/voltaria/"
# Tracks with some movement for the views: a kick and a hi-hat under a chord, each its own key.
names=("Aurora Boreal" "Baile da Praia" "Cidade Acesa" "Domingo Azul")
for i in "${!names[@]}"; do
  f=$((220 + 55 * i))
  kick="0.7*sin(2*PI*55*t)*exp(-10*mod(t,0.5))"
  hat="0.2*(2*random(0)-1)*exp(-30*mod(t+0.25,0.5))"
  chord="0.12*(sin(2*PI*$f*t)+sin(2*PI*$f*1.25*t)+sin(2*PI*$f*1.5*t)+sin(2*PI*$f*4*t))"
  name="${names[$i]}.mp3"
  ffmpeg -loglevel error -f lavfi -i "aevalsrc='$kick+$hat+$chord':s=44100:d=240" \
    -ac 2 -c:a libmp3lame -b:a 128k "$work/musicas/$name"
  printf '%s#%s\r\n' "${name^^}" "$work/musicas/$name" >>"$work/voltaria/lista.upd"
done
printf 'DRIVE=0\r\n' >"$work/voltaria/VOLTARIA4.INI"  # the drive list shows "/", not the scratch home

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
HOME="$work/home" XDG_RUNTIME_DIR="$work/home" "$work/voltaria/voltaria" >/dev/null 2>&1 &
window=
for _ in $(seq 200); do
  window=$(xdotool search --name "^Arvesto Voltaria-PRO 4.1" 2>/dev/null | head -1) && [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "the main window did not appear" >&2; exit 1; }
sleep 1

click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.4; }
click 620 61   # library row 1
click 190 327  # "Canal A": the first entry is loaded into deck A
click 620 75   # library row 2
click 1072 327 # "Canal B"
click 620 89   # library row 3
click 190 327  # "Canal A"
click 48 383   # deck A's Play
xdotool mousemove --window "$window" 640 1000
sleep 6        # some seconds played: the clock, the views and the gauges move
import -window root -crop "$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')+0+0" "$out"
echo "wrote $out"
