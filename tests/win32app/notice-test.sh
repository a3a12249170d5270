#!/bin/sh
# The Win32 window under Wine tells a failure from a drawing and shows every count in full:
# without JWC_TEMP.TXT and with 200 KB of bytes that are no drawing, the status strip and the
# middle of the preview carry the notice in red; with 1 234 567 segments of line type 17 the
# grid's first count column is wider than its design 44 pixels, the others are not.
# Run inside xvfb-run:  notice-test.sh FINDER WORKDIR
set -eu
. "$(dirname "$0")/wine-window.sh"
finder="$1"; work="$2"
export LC_ALL=ja_JP.UTF-8
begin_test "$work"

# red_pixels X Y W H: how many pure red pixels the screenshot has in that rectangle.
red_pixels() {
  convert "$work/screen.png" -crop "${3}x${4}+${1}+${2}" +repage txt:- | grep -c "#FF0000" || true
}

# run NAME PANEL CHECK [ESCAPE]: shows the window on NAME's drawing and waits (60 s at most)
# until CHECK holds on a screenshot (in screen.png and NAME.png), then closes the window. With
# ESCAPE, Escape is held meanwhile, so that the preview's drawing, which this does not look at,
# stops; without a drawing it is not: the strip would say the drawing was stopped instead of
# what was wrong with the file.
run() {
  start_window "$work/$1"
  window_geometry
  [ -z "${4:-}" ] || xdotool keydown Escape
  poll 60 shot_holds "$1" "$3" || true
  [ -z "${4:-}" ] || xdotool keyup Escape
  close_window
}
shot_holds() {
  import -window root "$work/screen.png"
  cp "$work/screen.png" "$work/$1.png"
  "$2" 2>/dev/null
}

# notice_shown: the status strip and the middle of the preview carry the notice in red.
notice_shown() {
  strip=$(red_pixels "$x" $((y + h - 24)) "$w" 24)
  middle=$(red_pixels "$x" $((y + (h - 24) / 2 - 12)) $((w - 253)) 24)
  [ "$strip" -gt 30 ] && [ "$middle" -gt 100 ]
}

for case in missing binary; do
  place_program "$work/$case" "$finder" /dev/null "100 50 600 500 250"
  rm -f "$work/$case/JWC_TEMP.TXT"
  [ "$case" = binary ] && head -c 204800 /dev/urandom > "$work/$case/JWC_TEMP.TXT"
  run "$case" 250 notice_shown
  notice_shown || status=1
  echo "$case: $strip red pixels in the status strip, $middle in the middle of the preview"
done

# The column widths from the grid's lines in row 1: the first is the number column's right edge.
column_widths() {
  gx=$((x + w - 350 + 1 + 2)); gy=$((y + 41 + 2 + 24 + 1 + 12))
  convert "$work/screen.png" -crop "340x1+${gx}+${gy}" +repage txt:- > "$work/row.txt"
  line=$(awk -F'[ ,:]+' '$1 == 24 { print $0 }' "$work/row.txt" | sed 's/.*\(#[0-9A-F]\{6\}\).*/\1/')
  edges=$(grep "$line" "$work/row.txt" | awk -F'[,:]' '{ print $1 }' | tr '\n' ' ')
  set -- $edges
  [ $# -ge 3 ] || return 1
  first=$(( $2 - $1 - 1 )); second=$(( $3 - $2 - 1 ))
  [ "$first" -gt 50 ] && [ "$second" -eq 44 ]
}
place_program "$work/count" "$finder" /dev/null "100 50 700 500 350"
awk 'BEGIN { printf "lt47\r\n"; for (i = 0; i < 1234567; ++i) printf " 0 0 1 1\r\n" }' > "$work/count/JWC_TEMP.TXT"
first=""; second=""
run count 350 column_widths escape
column_widths || status=1
echo "grid lines of row 1 at x = $edges"
echo "count columns: ${first} and ${second} pixels wide"
exit $status
