# What the window tests under Wine share; sourced by them (POSIX sh).

# place_program DIR FINDER SAMPLE "L T W H P": the program, the drawing and a settings file
# with those five numbers (CR LF after each) in DIR.
place_program() {
  mkdir -p "$1"
  cp "$2" "$1/sxf-usertype-finder.exe"
  cp "$3" "$1/JWC_TEMP.TXT"
  printf '%s\r\n' $4 > "$1/sxf-usertype-finder.dat"
}

# start_window_manager: openbox, as on every desktop, stopped when the test ends.
start_window_manager() {
  openbox >/dev/null 2>&1 &
  wm=$!
  trap 'kill $wm 2>/dev/null || true' EXIT
  sleep 1
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

# start_window_painted DIR PANEL: start_window DIR, then 3 s for the first paint, and the
# window's place (window_geometry) with pw, ph: the preview's size, left of the PANEL-pixel
# panel and the 3-pixel splitter, above the 24-pixel status strip.
start_window_painted() {
  start_window "$1"
  sleep 3  # the first paint
  window_geometry
  pw=$((w - $2 - 3)); ph=$((h - 24))
}

# use_dpi_prefix DPI: Wine's screen at DPI pixels per inch (144 is Windows' 150 %), in a prefix
# of its own beside the tests' one (copied from it once, then kept), so that the other tests
# keep their 96 dpi. Sets WINEPREFIX.
use_dpi_prefix() {
  dpi_prefix="$WINEPREFIX-dpi$1"
  if [ ! -f "$dpi_prefix/dpi-$1" ]; then
    rm -rf "$dpi_prefix"
    cp -a "$WINEPREFIX" "$dpi_prefix"
    for key in 'HKCU\Control Panel\Desktop' \
               'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
      WINEPREFIX="$dpi_prefix" wine reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    done
    WINEPREFIX="$dpi_prefix" wineserver -w
    touch "$dpi_prefix/dpi-$1"
  fi
  export WINEPREFIX="$dpi_prefix"
}
