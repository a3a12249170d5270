#!/bin/sh
# The Win32 window at Windows' 150 % (Wine at 144 dpi, in a prefix of its own) against itself
# at 96 dpi: the grid's rows, the panel's font and the marks' rings are half as large again,
# the preview is the report's --scale 1.5 picture pixel for pixel, and three starts and closes
# keep the stored placement. At 96 dpi, enlarging the window keeps the stored picture at the
# top left, with only the background and the frame beyond it. At 120 and 144 dpi the status
# strip holds its text whole; at 144 a tall window shows all the grid's rows.
# Run inside xvfb-run:  dpi-test.sh FINDER REPORT SAMPLE WORKDIR
set -eu
. "$(dirname "$0")/wine-window.sh"
finder="$1"; report="$2"; sample="$3"; work="$4"
export LC_ALL=ja_JP.UTF-8
begin_test "$work"

# shoot DPI PANEL SCALE: waits until the preview of the window (x, y, w, h) equals the report's
# picture at SCALE, then sets pw, ph and leaves the screenshot in screen.png and the preview
# in preview.png. Fails the test after 60 s.
shoot() {
  pw=$((w - $2 - $(px "$1" 3))); ph=$((h - $(px "$1" 24)))
  wine "$report" "$sample" --png "$work/report.png" --size "${pw}x${ph}" --scale "$3" >/dev/null
  poll 60 preview_is "$work/report.png" && return 0
  echo "at $1 dpi the preview is not the report's picture at --scale $3: $diff pixels differ"
  cp "$work/screen.png" "$work/screen-$1.png"
  exit 1
}

# px DPI LENGTH: a design length at DPI, rounded as the window rounds it.
px() { echo $((($2 * $1 + 48) / 96)); }

# measure DPI PANEL: "ROW FONT RING" from screen.png and preview.png: the grid's row height
# (between its lines, in the first count column), the ink height of the panel's first label
# and the commonest size of a mark's red ring.
measure() {
  left=$((x + w - $2))
  font=$(convert "$work/screen.png" -crop "$(px "$1" 112)x$(px "$1" 13)+$((left + 1))+$((y + 1))" +repage \
    -trim -format '%h' info:)
  gx=$((left + 1 + 2 + $(px "$1" 24) + 1 + $(px "$1" 44) - 4)); gy=$((y + 1 + $(px "$1" 40) + 2))
  convert "$work/screen.png" -crop "1x$(px "$1" 200)+${gx}+${gy}" +repage txt:- > "$work/column.txt"
  line=$(awk -F'[,: ]+' -v y="$(px "$1" 24)" 'NR > 1 && $2 == y { print $NF }' "$work/column.txt")
  row=$(awk -F'[,: ]+' -v c="$line" 'NR > 1 && $NF == c { if (last != "") print $2 - last - 1; last = $2 }' \
    "$work/column.txt" | sort | uniq -c | sort -rn | awk 'NR == 1 { print $2 }')
  ring=$(convert "$work/preview.png" -fill black +opaque '#FF0000' -fill white -opaque '#FF0000' \
    -define connected-components:verbose=true -connected-components 8 null: |
    awk '$NF == "srgb(255,255,255)" { split($2, g, /[x+]/); if (g[1] == g[2]) print g[1] }' |
    sort | uniq -c | sort -rn | awk 'NR == 1 { print $2 }')
  echo "$row $font $ring"
}

# ---- 96 dpi: the sizes to compare with, and an enlargement ----
place_program "$work/run96" "$finder" "$sample" "100 50 600 500 250"
start_window "$work/run96"
window_geometry
shoot 96 250 1
sizes96=$(measure 96 250)
cp "$work/preview.png" "$work/stored.png"
pw1=$pw; ph1=$ph
w0=$w
xdotool windowsize "$id" $((w + 200)) $((h + 150))
# enlarged: the stored picture kept at the top left, nothing but the background and the frame
# right of and below it.
enlarged() {
  window_geometry
  [ "$w" -gt "$w0" ] || return 1
  pw=$((w - 253)); ph=$((h - 24))
  import -window root "$work/screen.png"
  convert "$work/screen.png" -crop "${pw1}x${ph1}+${x}+${y}" +repage "$work/top-left.png"
  kept=$(compare -metric AE "$work/stored.png" "$work/top-left.png" null: 2>&1 || true)
  beyond=$(convert "$work/screen.png" \( -clone 0 -crop "$((pw - pw1))x${ph}+$((x + pw1))+${y}" \) \
    \( -clone 0 -crop "${pw}x$((ph - ph1))+${x}+$((y + ph1))" \) -delete 0 +repage -append \
    -unique-colors txt:- | awk 'NR > 1 { print $3 }' | sort | tr '\n' ' ')
  [ "$kept" = "0" ] && [ "$beyond" = "#0000FF #FFFFFF " ]
}
poll 20 enlarged || status=1
echo "enlarged to ${pw}x${ph}: $kept pixels of the stored ${pw1}x${ph1} changed; beyond it: $beyond"
close_window

# ---- 144 dpi: the same sizes half as large again, the report's picture, the placement kept ----
use_dpi_prefix 144
place_program "$work/run144" "$finder" "$sample" "100 50 900 750 375"
expected=$(od -c < "$work/run144/sxf-usertype-finder.dat")
for run in 1 2 3; do
  start_window "$work/run144"
  window_geometry
  if [ $run = 1 ]; then
    shoot 144 375 1.5
    sizes144=$(measure 144 375)
    echo "row height, font ink and ring at 96 dpi: $sizes96; at 144 dpi: $sizes144"
    # Each within two pixels of 1.5 times its size at 96 dpi.
    echo "$sizes96 $sizes144" | awk 'NF != 6 { exit 1 } { for (i = 1; i <= 3; ++i) { d = $(i + 3) - 1.5 * $i; if (d > 2 || d < -2) exit 1 } }' ||
      status=1
  else
    poll 60 preview_is "$work/report.png" || { echo "start $run at 144 dpi: $diff pixels differ"; status=1; }
  fi
  close_window
  actual=$(od -c < "$work/run144/sxf-usertype-finder.dat")
  if [ "$expected" != "$actual" ]; then
    echo "the settings file after start $run at 144 dpi:"; echo "$actual"; status=1
  fi
done

# ---- 120 and 144 dpi: the status strip holds its text whole ----
# Without a drawing the strip says so in red. At 144 dpi the window's placement is a tall one
# stored at 96 dpi (in pixels): the grid shows all its rows, the help box what is left.
# strip_text DPI: from screen.png, sh (the strip's height: the rows up from the client's
# bottom whose background is its grey) and top and bottom (the red ink's first and last row in
# it).
strip_text() {
  sh=$(convert "$work/screen.png" -crop "${w}x$(px "$1" 60)+${x}+$((y + h - $(px "$1" 60)))" +repage txt:- |
    awk -F'[,: ]+' -v w="$w" '/#E7E7E7/ { ++n[$2] } END { for (r = 0; r < 999 && n[r] == 0; ++r) {} for (; n[r] > w / 4; ++r) ++s; print s + 0 }')
  ink=$(convert "$work/screen.png" -crop "${w}x${sh}+${x}+$((y + h - sh))" +repage txt:- |
    awk -F'[,: ]+' '/#FF0000/ { print $2 }' | sort -n | sed -n '1p;$p' | tr '\n' ' ')
  set -- $1 $ink
  [ $# -eq 3 ] || return 1
  top=$2; bottom=$3
}
# grid_rows DPI PANEL: how many of the grid's 18 rows end in a row line where they should.
grid_rows() {
  gx=$((x + w - $2 + 1 + 2 + $(px "$1" 24) + 1 + $(px "$1" 44) - 4)); gy=$((y + 1 + $(px "$1" 40) + 2))
  rh=$(($(px "$1" 24) + 1))
  convert "$work/screen.png" -crop "1x$((18 * rh))+${gx}+${gy}" +repage txt:- > "$work/column.txt"
  awk -F'[,: ]+' -v rh="$rh" 'NR > 1 { c[$2] = $NF } END {
    n = 0; for (r = 1; r <= 18; ++r) if (c[r * rh - 1] == c[rh - 1]) ++n; print n }' "$work/column.txt"
}
for dpi in 120 144; do
  use_dpi_prefix "$dpi"
  place_program "$work/none$dpi" "$finder" /dev/null "100 20 600 960 250"
  rm -f "$work/none$dpi/JWC_TEMP.TXT"
  start_window "$work/none$dpi"
  window_geometry
  poll 60 sh -c "import -window root '$work/screen.png' && convert '$work/screen.png' -crop '${w}x$(px "$dpi" 24)+${x}+$((y + h - $(px "$dpi" 24)))' +repage txt:- | grep -q '#FF0000'" || true
  close_window
  top=""; bottom=""; sh=0
  strip_text "$dpi" || true
  echo "at $dpi dpi the status strip is $sh pixels high, its text's ink in rows ${top:-none} to ${bottom:-none}"
  # A pixel clear above and below, and nearly as tall as the font (the full-width brackets).
  [ "$sh" -ge "$(px "$dpi" 24)" ] && [ -n "$top" ] && [ "$top" -ge 1 ] && [ "$bottom" -le $((sh - 2)) ] &&
    [ $((bottom - top + 1)) -ge $(($(px "$dpi" 13) * 3 / 4)) ] || status=1
  if [ "$dpi" = 144 ]; then
    rows=$(grid_rows 144 250)
    echo "at 144 dpi in a window 960 pixels high the grid shows $rows of its 18 rows"
    [ "$rows" = 18 ] || status=1
  fi
done
exit $status
