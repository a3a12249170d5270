#!/bin/sh
# The Win32 window's navigation under Wine on a virtual X server with openbox: F3 three times
# walks to the third marked entity (the preview and the status strip change), Home fits the
# whole drawing again (the preview is the first picture once more, the status strip empty),
# a double click on a count cell of the grid starts a walk of that line type and kind, and the
# wheel over the grid scrolls its rows (and stops at the top).
# Run inside xvfb-run:  navigation-test.sh FINDER SAMPLE WORKDIR REPORT
set -eu
. "$(dirname "$0")/wine-window.sh"
finder="$1"; sample="$2"; work="$3"; report="$4"
export LC_ALL=ja_JP.UTF-8  # a Japanese system: code page 932
begin_test "$work"
place_program "$work/run" "$finder" "$sample" "100 50 700 500 250"
start_window_painted "$work/run" 250 "$report"

# shot NAME: the screen, the preview and the status strip, once the screen has settled.
shot() {
  screen_settles
  cp "$work/screen.png" "$work/$1-screen.png"
  convert "$work/$1-screen.png" -crop "${pw}x${ph}+${x}+${y}" +repage "$work/$1-preview.png"
  convert "$work/$1-screen.png" -crop "${w}x24+${x}+$((y + ph))" +repage "$work/$1-status.png"
}
# differ A B: how many pixels of two pictures differ.
differ() { compare -metric AE "$1" "$2" null: 2>&1 || true; }
# changes NAME PART BEFORE: waits (20 s at most) until the PART (preview or status) of the
# screen differs from BEFORE's, then shot NAME.
changes() {
  poll 20 part_differs "$2" "$3" || true
  shot "$1"
}
part_differs() {
  import -window root "$work/now.png"
  if [ "$1" = preview ]; then crop="${pw}x${ph}+${x}+${y}"; else crop="${w}x24+${x}+$((y + ph))"; fi
  convert "$work/now.png" -crop "$crop" +repage "$work/now-part.png"
  [ "$(differ "$work/now-part.png" "$work/$2-$1.png")" != "0" ]
}

status=0
shot fit
xdotool windowactivate --sync "$id" || true
# Each F3 steps on: the status strip names the next mark.
prev=fit
for n in 1 2 3; do xdotool key F3; changes "walk$n" status "$prev"; prev="walk$n"; done
d=$(differ "$work/fit-preview.png" "$work/walk3-preview.png")
s=$(differ "$work/fit-status.png" "$work/walk3-status.png")
echo "F3 three times: $d preview pixels and $s status pixels changed"
[ "$d" != "0" ] || { echo "F3 did not change the view"; status=1; }
[ "$s" != "0" ] || { echo "F3 did not change the status strip"; status=1; }

xdotool key shift+F3
changes walk2 status walk3
d=$(differ "$work/walk3-preview.png" "$work/walk2-preview.png")
s=$(differ "$work/walk3-status.png" "$work/walk2-status.png")
echo "Shift+F3: $d preview pixels and $s status pixels changed"
[ "$s" != "0" ] || { echo "Shift+F3 did not step back"; status=1; }

xdotool key Home
poll 20 preview_is "$work/fit-preview.png" || true
shot home
d=$(differ "$work/fit-preview.png" "$work/home-preview.png")
s=$(differ "$work/fit-status.png" "$work/home-status.png")
echo "Home: $d preview pixels and $s status pixels differ from the first picture"
[ "$d" = "0" ] || { echo "Home did not fit the whole drawing again"; status=1; }
[ "$s" = "0" ] || { echo "Home did not end the walk"; status=1; }

# The wheel over the grid scrolls its rows: the row headings (17, 18, ...) in the fixed column
# move a notch down and come back a notch up; at the top, up does nothing (else the notch down
# would only bring them back).
headings="20x200+$((x + w - 250 + 1 + 2 + 2))+$((y + 41 + 2 + 26))"
headings_shot() {
  import -window root "$work/now.png"
  convert "$work/now.png" -crop "$headings" +repage "$work/$1-headings.png"
}
headings_differ() { headings_shot now; [ "$(differ "$work/now-headings.png" "$work/$1-headings.png")" != "0" ]; }
headings_same() { headings_shot now; [ "$(differ "$work/now-headings.png" "$work/$1-headings.png")" = "0" ]; }
xdotool mousemove "$((x + w - 125))" "$((y + 41 + 100))"
headings_shot top
xdotool click 4 click 5
if poll 20 headings_differ top; then
  xdotool click 4
  poll 20 headings_same top || { echo "the wheel did not scroll the grid back"; status=1; }
else
  echo "the wheel did not scroll the grid"; status=1
fi

# The grid's count cell of line type 17, lines: row 1, column 1, right of the 24-pixel fixed
# column and below the 24-pixel fixed row (grid at (1, 41) in the panel, one-pixel edges).
gx=$((x + w - 250 + 1 + 2 + 24 + 1 + 20)); gy=$((y + 41 + 2 + 24 + 1 + 10))
xdotool mousemove "$gx" "$gy" click --repeat 2 --delay 80 1
changes cell status home
s=$(differ "$work/home-status.png" "$work/cell-status.png")
echo "double click on a count cell: $s status pixels changed"
[ "$s" != "0" ] || { echo "the double click on a count cell did not start a walk"; status=1; }

close_window
exit $status
