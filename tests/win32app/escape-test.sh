#!/bin/sh
# Holding Escape stops the window's first drawing of a large drawing under Wine: the status
# strip says so and the window closes within seconds, where drawing all of it takes several
# times as long.
# Run inside xvfb-run:  escape-test.sh FINDER MAKE_DRAWING WORKDIR
set -eu
. "$(dirname "$0")/wine-window.sh"
finder="$1"; make_drawing="$2"; work="$3"
[ -x "$make_drawing" ] || { echo "no make-drawing"; exit 77; }
rm -rf "$work"; mkdir -p "$work"
cp "$finder" "$work/sxf-usertype-finder.exe"
"$make_drawing" 400000 "$work/JWC_TEMP.TXT" 3

start_window_manager
(cd "$work" && exec wine sxf-usertype-finder.exe) &
app=$!
id=""
for _ in $(seq 1 600); do
  id=$(xdotool search --name "vexo_SXF" 2>/dev/null | head -1 || true)
  [ -n "$id" ] && break
  sleep 0.05
done
[ -n "$id" ] || { echo "the window did not appear"; exit 1; }
# Held as the window appears, before the first drawing, which a faster program might finish
# before a later press, and until the strip says the drawing stopped (the drawing has user
# line types: the strip is empty until then).
start=$(date +%s)
xdotool keydown Escape
window_geometry
ink=0
strip_inked() {
  import -window "$id" "$work/window.png" 2>/dev/null || return 1  # not mapped yet
  ink=$(convert "$work/window.png" -crop "${w}x24+0+$((h - 24))" +repage -colorspace gray -threshold 50% \
    -format '%[fx:int((1 - mean) * w * h)]' info:)
  [ "${ink:-0}" -gt 30 ]
}
poll 30 strip_inked || true
xdotool keyup Escape
echo "$ink dark pixels in the status strip after Escape"
close_window
took=$(($(date +%s) - start))
echo "closed ${took} s after Escape"
[ -f "$work/sxf-usertype-finder.dat" ] || { echo "no settings file written"; exit 1; }
[ "$ink" -gt 30 ] && [ "$took" -le 5 ]
