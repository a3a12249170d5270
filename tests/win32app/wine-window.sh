# What the window tests under Wine share; sourced by them (POSIX sh).

# place_program DIR FINDER SAMPLE "L T W H P": the program, the drawing and a settings file
# with those five numbers (CR LF after each) in DIR.
place_program() {
  mkdir -p "$1"
  cp "$2" "$1/sxf-usertype-finder.exe"
  cp "$3" "$1/JWC_TEMP.TXT"
  printf '%s\r\n' $4 > "$1/sxf-usertype-finder.dat"
}

# poll SECONDS COMMAND...: runs COMMAND until it succeeds, every 0.2 s; fails when SECONDS
# have passed first. The tests wait for a state with it, never for a fixed time, which a busy
# machine outruns.
poll() {
  poll_end=$(($(date +%s) + $1))
  shift
  until "$@"; do
    [ "$(date +%s)" -lt "$poll_end" ] || return 1
    sleep 0.2
  done
}

# start_window_manager: openbox, as on every desktop, stopped when the test ends; returns once
# it manages the screen.
start_window_manager() {
  openbox >/dev/null 2>&1 &
  wm=$!
  trap 'kill $wm 2>/dev/null || true' EXIT
  poll 30 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"' ||
    echo "openbox has not said that it runs in 30 s; going on"
}

# begin_test WORK: WORK made afresh and the window manager started; status, what the test
# exits with, is 0 until a check fails.
begin_test() {
  rm -rf "$1"
  mkdir -p "$1"
  start_window_manager
  status=0
}

# start_window DIR [PROGRAM]: starts sxf-usertype-finder.exe in DIR under Wine (or PROGRAM, a
# Linux window, in DIR) and waits for its window, looking every 50 ms: app is the process, id
# the window. Fails the test when no window appears in 30 s.
start_window() {
  if [ -n "${2:-}" ]; then
    (cd "$1" && exec "$2") &
  else
    (cd "$1" && exec wine sxf-usertype-finder.exe) &
  fi
  app=$!
  id=""
  for _ in $(seq 1 600); do
    id=$(xdotool search --onlyvisible --name "vexo_SXF" 2>/dev/null | head -1 || true)
    [ -n "$id" ] && break
    sleep 0.05
  done
  [ -n "$id" ] || { echo "the window did not appear"; exit 1; }
}

# window_geometry: x, y (the client area's top-left corner on the screen), w, h (its size)
# of the window id.
window_geometry() {
  info=$(xwininfo -id "$id")
  x=$(echo "$info" | sed -n 's/.*Absolute upper-left X: *//p')
  y=$(echo "$info" | sed -n 's/.*Absolute upper-left Y: *//p')
  w=$(echo "$info" | sed -n 's/.*Width: *//p')
  h=$(echo "$info" | sed -n 's/.*Height: *//p')
}

# start_window_painted DIR PANEL REPORT: start_window DIR and the window's place
# (window_geometry) with pw, ph: the preview's size, left of the PANEL-pixel panel and the
# 3-pixel splitter, above the 24-pixel status strip; then waits until the preview is the
# picture of DIR's JWC_TEMP.TXT by the Windows REPORT at that size, in $work/expected.png. The
# screen is left in $work/screen.png and the preview in $work/preview.png; diff says how many
# pixels differ, and the test fails at once when they still do after 60 s.
start_window_painted() {
  start_window "$1"
  window_geometry
  pw=$((w - $2 - 3)); ph=$((h - 24))
  wine "$3" "$1/JWC_TEMP.TXT" --png "$work/expected.png" --size "${pw}x${ph}" >/dev/null
  poll 60 preview_is "$work/expected.png" ||
    { echo "the preview is not the report's picture: $diff pixels differ"; exit 1; }
}

# preview_is PNG: a screenshot in $work/screen.png, its preview (pw x ph at x, y) in
# $work/preview.png; true when that is PNG, with diff the number of pixels that differ.
preview_is() {
  import -window root "$work/screen.png"
  convert "$work/screen.png" -crop "${pw}x${ph}+${x}+${y}" +repage "$work/preview.png"
  diff=$(compare -metric AE "$work/preview.png" "$1" null: 2>&1 || true)
  [ "$diff" = "0" ]
}

# screen_settles: waits (20 s at most) until two screenshots 0.3 s apart are alike, and leaves
# the last in $work/screen.png.
screen_settles() {
  import -window root "$work/settle-a.png"
  poll 20 screen_alike_again || true
  cp "$work/settle-a.png" "$work/screen.png"
}
screen_alike_again() {
  sleep 0.3
  import -window root "$work/settle-b.png"
  same=$(compare -metric AE "$work/settle-a.png" "$work/settle-b.png" null: 2>&1 || true)
  mv "$work/settle-b.png" "$work/settle-a.png"
  [ "$same" = "0" ]
}

# close_window: Alt+F4 to the window, and waits for its process.
close_window() {
  xdotool windowactivate --sync "$id" key alt+F4 || true
  wait $app || true
}

# use_dpi_prefix DPI: Wine's screen at DPI pixels per inch (144 is Windows' 150 %), in a prefix
# of its own beside the tests' one (copied from it once, then kept), so that the other tests
# keep their 96 dpi. Sets WINEPREFIX.
use_dpi_prefix() {
  # Always beside the tests' own prefix, however many scales a test goes through.
  base_prefix="${base_prefix:-$WINEPREFIX}"
  dpi_prefix="$base_prefix-dpi$1"
  # Made anew when the tests' prefix has other font mappings (scripts/build-windows adds them).
  if [ ! -f "$dpi_prefix/dpi-$1" ] ||
     [ "$(font_mappings "$base_prefix")" != "$(font_mappings "$dpi_prefix")" ]; then
    rm -rf "$dpi_prefix"
    cp -a "$base_prefix" "$dpi_prefix"
    for key in 'HKCU\Control Panel\Desktop' \
               'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
      WINEPREFIX="$dpi_prefix" wine reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    done
    WINEPREFIX="$dpi_prefix" wineserver -w
    touch "$dpi_prefix/dpi-$1"
  fi
  export WINEPREFIX="$dpi_prefix"
}

# font_mappings PREFIX: the prefix's face replacements, as its user.reg lists them.
font_mappings() {
  sed -n '/^\[Software\\\\Wine\\\\Fonts\\\\Replacements\]/,/^$/p' "$1/user.reg" 2>/dev/null | grep '^"' || true
}
