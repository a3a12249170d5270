#!/bin/sh
# The Win32 window under Wine on a virtual X server with openbox: it starts on the sample,
# its preview is pixel for pixel the GDI picture of the report tool at the same size, it
# writes its settings file on close and keeps the placement it was given (no drift), also when
# closed minimised. The splitter is drawn as a bar, and the help box wraps its lines.
# Run inside xvfb-run:  window-test.sh FINDER REPORT SAMPLE WORKDIR LINUX_REPORT WINDOW_PROBE
set -eu
. "$(dirname "$0")/wine-window.sh"
finder="$1"; report="$2"; sample="$3"; work="$4"; linux_report="${5:-}"; probe="$6"
export LC_ALL=ja_JP.UTF-8  # a Japanese system: code page 932
begin_test "$work"
place_program "$work/run" "$finder" "$sample" "100 50 600 500 250"
# The preview is the report's GDI picture at its size (start_window_painted waits for it).
start_window_painted "$work/run" 250 "$report"
cp "$work/preview.png" "$work/window-preview.png"
echo "client area ${w}x${h} at $x,$y; preview ${pw}x${ph}"
# The splitter right of the preview: a raised bar with a grip in the system's colours, no
# plain strip of one colour.
colours=$(convert "$work/screen.png" -crop "3x${ph}+$((x + pw))+${y}" +repage -unique-colors txt:- | grep -c '#')
echo "the splitter shows $colours colours"
[ "$colours" -ge 3 ] || status=1
# The help box wraps its text: no horizontal scroll bar.
wine "$probe" help-wraps || { echo "the help box scrolls sideways"; status=1; }
close_window

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
poll 60 preview_is "$work/expected.png" || true
xdotool windowminimize --sync "$id" || true
wine "$probe" close-minimised || echo "no minimised window to close"  # WM_CLOSE, not a kill
wait $app || true
actual=$(od -c < "$work/run/sxf-usertype-finder.dat")
if [ "$expected" != "$actual" ]; then
  echo "the settings file after closing the minimised window:"; echo "$actual"; status=1
fi
exit $status
