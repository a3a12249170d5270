#!/bin/sh
# The Win32 window under Wine on a virtual X server with openbox: it starts on the sample,
# its preview is pixel for pixel the GDI picture of the report tool at the same size, it
# writes its settings file on close and keeps the placement it was given (no drift).
# Run inside xvfb-run:  window-test.sh FINDER REPORT SAMPLE WORKDIR LINUX_REPORT POST_CLOSE
set -eu
. "$(dirname "$0")/wine-window.sh"
finder="$1"; report="$2"; sample="$3"; work="$4"; linux_report="${5:-}"; post_close="$6"
export LC_ALL=ja_JP.UTF-8  # a Japanese system: code page 932
rm -rf "$work"
place_program "$work/run" "$finder" "$sample" "100 50 600 500 250"
start_window_manager
start_window_painted "$work/run" 250
import -window root "$work/screen.png"
convert "$work/screen.png" -crop "${pw}x${ph}+${x}+${y}" +repage "$work/window-preview.png"
echo "client area ${w}x${h} at $x,$y; preview ${pw}x${ph}"

xdotool windowactivate --sync "$id" key alt+F4 || true
wait $app || true

status=0
wine "$report" "$sample" --png "$work/gdi.png" --size "${pw}x${ph}" >/dev/null
gdi=$(compare -metric AE "$work/window-preview.png" "$work/gdi.png" "$work/gdi-diff.png" 2>&1 || true)
echo "window preview vs GDI picture: $gdi pixels differ"
[ "$gdi" = "0" ] || status=1
if [ -n "$linux_report" ] && [ -x "$linux_report" ]; then
  "$linux_report" "$sample" --png "$work/qt.png" --size "${pw}x${ph}" >/dev/null
  qt=$(compare -metric AE "$work/window-preview.png" "$work/qt.png" "$work/qt-diff.png" 2>&1 || true)
  echo "window preview vs Qt picture: $qt of $((pw * ph)) pixels differ"
fi

expected=$(printf '100\r\n50\r\n600\r\n500\r\n250\r\n' | od -c)
actual=$(od -c < "$work/run/sxf-usertype-finder.dat")
if [ "$expected" != "$actual" ]; then
  echo "the settings file after close:"; echo "$actual"; status=1
fi

# Closed while minimised: the placement kept is the one it is restored to, not the icon's.
start_window "$work/run"
sleep 2
xdotool windowminimize --sync "$id" || true
sleep 1
wine "$post_close" || echo "no window to close"  # WM_CLOSE, not a kill
wait $app || true
actual=$(od -c < "$work/run/sxf-usertype-finder.dat")
if [ "$expected" != "$actual" ]; then
  echo "the settings file after closing the minimised window:"; echo "$actual"; status=1
fi
exit $status
