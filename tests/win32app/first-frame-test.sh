#!/bin/sh
# The window's start-up on a large drawing under Wine: the side panel's grid is painted well
# before the preview is finished, and the preview shows a partial picture while it is drawn.
# Screenshots are taken back to back from the moment the window appears. FINDER may also be
# the Linux window, for the same figures beside the Windows one.
# Run inside xvfb-run:  first-frame-test.sh FINDER MAKE_DRAWING WORKDIR [DRAWING]
set -eu
. "$(dirname "$0")/wine-window.sh"
finder="$1"; make_drawing="$2"; work="$3"; drawing="${4:-}"
[ -x "$make_drawing" ] || { echo "no make-drawing"; exit 77; }
rm -rf "$work"; mkdir -p "$work/shots"
if [ -z "$drawing" ]; then
  drawing="$work/drawing.txt"
  "$make_drawing" 1000000 "$drawing" 7 >/dev/null
fi
place_program "$work/run" "$finder" "$drawing" "100 50 900 700 250"
start_window_manager
case "$finder" in
  *.exe) start_window "$work/run" ;;
  *)  # the Linux window, for its figures
    mv "$work/run/sxf-usertype-finder.exe" "$work/run/sxf-usertype-finder"
    start_window "$work/run" ./sxf-usertype-finder ;;
esac
t0=$(date +%s%N)
i=0
while [ $i -lt 200 ]; do
  import -window root "$work/shots/$(printf %03d $i)-$((($(date +%s%N) - t0) / 1000000)).png"
  i=$((i + 1))
  # Enough once the last five shots are alike (the drawing is finished).
  if [ $i -ge 6 ]; then
    last=$(ls "$work/shots" | tail -n 5)
    same=1; first=""
    for f in $last; do
      [ -z "$first" ] && { first=$f; continue; }
      [ "$(compare -metric AE "$work/shots/$first" "$work/shots/$f" null: 2>&1 || true)" = "0" ] || { same=0; break; }
    done
    [ $same -eq 1 ] && break
  fi
done
window_geometry
xdotool windowactivate --sync "$id" key alt+F4 || true
wait $app || true

# The grid: the panel's client area below the 41-pixel file name box; the preview: left of the
# 250-pixel panel and the 3-pixel splitter, above the 24-pixel status strip.
pw=$((w - 250 - 3)); ph=$((h - 24))
grid="200x150+$((x + w - 250 + 10))+$((y + 50))"
preview="${pw}x${ph}+${x}+${y}"
final=$(ls "$work/shots" | tail -n 1)
convert "$work/shots/$final" -crop "$preview" +repage "$work/final.png"
grid_at=""; partial_at=""; final_at=""
for f in $(ls "$work/shots"); do
  ms=${f#*-}; ms=${ms%.png}
  if [ -z "$grid_at" ]; then
    # Black is what an unpainted window shows; a painted grid is mostly white and grey.
    mean=$(convert "$work/shots/$f" -crop "$grid" +repage -format '%[fx:int(mean*255)]' info:)
    [ "$mean" -gt 128 ] && grid_at=$ms
  fi
  convert "$work/shots/$f" -crop "$preview" +repage "$work/p.png"
  diff=$(compare -metric AE "$work/p.png" "$work/final.png" null: 2>&1 || true)
  if [ "$diff" = "0" ]; then
    [ -z "$final_at" ] && final_at=$ms
  elif [ -z "$partial_at" ]; then
    # Neither the final picture nor an empty (white, framed) preview: a picture in progress.
    mean=$(convert "$work/p.png" -format '%[fx:int(mean*1000)]' info:)
    [ "$mean" -lt 990 ] && [ "$mean" -gt 10 ] && partial_at=$ms
  fi
done
echo "after the window appeared: grid painted at ${grid_at:-never} ms, partial preview at" \
  "${partial_at:-never} ms, finished preview at ${final_at:-never} ms ($(ls "$work/shots" | wc -l) shots)"
[ -n "$grid_at" ] && [ -n "$final_at" ] && [ -n "$partial_at" ] || exit 1
# "Well before": the grid is up before the preview's first partial picture, and both come
# before the finished one.
[ "$grid_at" -le "$partial_at" ] && [ "$partial_at" -lt "$final_at" ]
