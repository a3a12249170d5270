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

# run NAME PANEL: shows the window on DIR's drawing, takes a screenshot once the grid's heading
# row is painted (mostly light, where an unpainted window is black) and closes it.
run() {
  start_window "$work/$1"
  # The preview's drawing is not what this looks at: Escape stops it.
  xdotool keydown Escape; sleep 0.5; xdotool keyup Escape
  window_geometry
  for _ in $(seq 1 60); do
    import -window root "$work/screen.png"
    mean=$(convert "$work/screen.png" -crop "100x20+$((x + w - $2 + 4))+$((y + 41 + 4))" +repage \
      -format '%[fx:int(mean*255)]' info:)
    [ "$mean" -gt 128 ] && break
    sleep 1
  done
  sleep 1
  import -window root "$work/screen.png"
  cp "$work/screen.png" "$work/$1.png"
  xdotool windowactivate --sync "$id" key alt+F4 || true
  wait $app || true
}

for case in missing binary; do
  place_program "$work/$case" "$finder" /dev/null "100 50 600 500 250"
  rm -f "$work/$case/JWC_TEMP.TXT"
  [ "$case" = binary ] && head -c 204800 /dev/urandom > "$work/$case/JWC_TEMP.TXT"
  run "$case" 250
  strip=$(red_pixels "$x" $((y + h - 24)) "$w" 24)
  middle=$(red_pixels "$x" $((y + (h - 24) / 2 - 12)) $((w - 253)) 24)
  echo "$case: $strip red pixels in the status strip, $middle in the middle of the preview"
  [ "$strip" -gt 30 ] && [ "$middle" -gt 100 ] || status=1
done

# The column widths from the grid's lines in row 1: the first is the number column's right edge.
place_program "$work/count" "$finder" /dev/null "100 50 700 500 350"
awk 'BEGIN { printf "lt47\r\n"; for (i = 0; i < 1234567; ++i) printf " 0 0 1 1\r\n" }' > "$work/count/JWC_TEMP.TXT"
run count 350
gx=$((x + w - 350 + 1 + 2)); gy=$((y + 41 + 2 + 24 + 1 + 12))
convert "$work/screen.png" -crop "340x1+${gx}+${gy}" +repage txt:- > "$work/row.txt"
line=$(awk -F'[ ,:]+' '$1 == 24 { print $0 }' "$work/row.txt" | sed 's/.*\(#[0-9A-F]\{6\}\).*/\1/')
edges=$(grep "$line" "$work/row.txt" | awk -F'[,:]' '{ print $1 }' | tr '\n' ' ')
echo "grid lines of row 1 at x = $edges"
set -- $edges
first=$(( $2 - $1 - 1 )); second=$(( $3 - $2 - 1 ))
echo "count columns: ${first} and ${second} pixels wide"
[ "$first" -gt 50 ] && [ "$second" -eq 44 ] || status=1
exit $status
