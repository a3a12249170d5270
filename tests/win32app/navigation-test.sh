#!/bin/sh
# The Win32 window's navigation under Wine on a virtual X server with openbox: F3 three times
# walks to the third marked entity (the preview and the status strip change), Home fits the
# whole drawing again (the preview is the first picture once more, the status strip empty),
# and a double click on a count cell of the grid starts a walk of that line type and kind.
# Run inside xvfb-run:  navigation-test.sh FINDER SAMPLE WORKDIR
set -eu
. "$(dirname "$0")/wine-window.sh"
finder="$1"; sample="$2"; work="$3"
export LC_ALL=ja_JP.UTF-8  # a Japanese system: code page 932
rm -rf "$work"
place_program "$work/run" "$finder" "$sample" "100 50 700 500 250"
start_window_manager
start_window_painted "$work/run" 250

# shot NAME: the screen, the preview and the status strip.
shot() {
  import -window root "$work/$1-screen.png"
  convert "$work/$1-screen.png" -crop "${pw}x${ph}+${x}+${y}" +repage "$work/$1-preview.png"
  convert "$work/$1-screen.png" -crop "${w}x24+${x}+$((y + ph))" +repage "$work/$1-status.png"
}
# differ A B: how many pixels of two pictures differ.
differ() { compare -metric AE "$1" "$2" null: 2>&1 || true; }

status=0
shot fit
xdotool windowactivate --sync "$id" || true
for _ in 1 2 3; do xdotool key F3; sleep 1; done
shot walk3
d=$(differ "$work/fit-preview.png" "$work/walk3-preview.png")
s=$(differ "$work/fit-status.png" "$work/walk3-status.png")
echo "F3 three times: $d preview pixels and $s status pixels changed"
[ "$d" != "0" ] || { echo "F3 did not change the view"; status=1; }
[ "$s" != "0" ] || { echo "F3 did not change the status strip"; status=1; }

xdotool key shift+F3; sleep 1
shot walk2
d=$(differ "$work/walk3-preview.png" "$work/walk2-preview.png")
s=$(differ "$work/walk3-status.png" "$work/walk2-status.png")
echo "Shift+F3: $d preview pixels and $s status pixels changed"
[ "$s" != "0" ] || { echo "Shift+F3 did not step back"; status=1; }

xdotool key Home; sleep 2
shot home
d=$(differ "$work/fit-preview.png" "$work/home-preview.png")
s=$(differ "$work/fit-status.png" "$work/home-status.png")
echo "Home: $d preview pixels and $s status pixels differ from the first picture"
[ "$d" = "0" ] || { echo "Home did not fit the whole drawing again"; status=1; }
[ "$s" = "0" ] || { echo "Home did not end the walk"; status=1; }

# The grid's count cell of line type 17, lines: row 1, column 1, right of the 24-pixel fixed
# column and below the 24-pixel fixed row (grid at (1, 41) in the panel, one-pixel edges).
gx=$((x + w - 250 + 1 + 2 + 24 + 1 + 20)); gy=$((y + 41 + 2 + 24 + 1 + 10))
xdotool mousemove "$gx" "$gy" click --repeat 2 --delay 80 1; sleep 2
shot cell
s=$(differ "$work/home-status.png" "$work/cell-status.png")
echo "double click on a count cell: $s status pixels changed"
[ "$s" != "0" ] || { echo "the double click on a count cell did not start a walk"; status=1; }

xdotool windowactivate --sync "$id" key alt+F4 || true
wait $app || true
exit $status
