#!/bin/sh
# The Win32 window started from a folder whose name has characters outside the ANSI code page
# ("ツール" outside code page 1252, "é" outside 932, "ŋ" outside both), on a Western (1252) and
# on a Japanese (932) system: it finds JWC_TEMP.TXT beside itself (its preview is the GDI
# picture of the sample), and writes its settings file there on close. The report reads the
# drawing there and writes its picture beside it.
# Run inside xvfb-run:  wide-folder-test.sh FINDER REPORT SAMPLE WORKDIR
set -eu
. "$(dirname "$0")/wine-window.sh"
finder="$1"; report="$2"; sample="$3"; work="$4"
begin_test "$work"
for locale in en_US.UTF-8 ja_JP.UTF-8; do
  run="$work/$locale/ツール é ŋ"
  place_program "$run" "$finder" "$sample" "60 40 640 480 220"
  export LC_ALL=$locale
  # Waits for the preview to be the report's picture of the drawing beside the program.
  start_window_painted "$run" 220 "$report"
  cp "$work/screen.png" "$work/$locale.png"
  cp "$work/preview.png" "$work/$locale-preview.png"
  close_window

  # The report reads the drawing and writes its picture by names outside the code page too.
  wine "$report" "$run/JWC_TEMP.TXT" --png "$work/$locale/ツール é ŋ.png" --size "${pw}x${ph}" >/dev/null
  cp "$work/$locale/ツール é ŋ.png" "$work/$locale-gdi.png"
  diff=$(compare -metric AE "$work/$locale-preview.png" "$work/$locale-gdi.png" "$work/$locale-diff.png" 2>&1 || true)
  echo "$locale: window preview vs GDI picture of the sample: $diff pixels differ"
  [ "$diff" = "0" ] || status=1
  # The settings file is rewritten on close; the placement is the one it was given.
  expected=$(printf '60\r\n40\r\n640\r\n480\r\n220\r\n' | od -c)
  actual=$(od -c < "$run/sxf-usertype-finder.dat")
  [ -z "$(ls "$run" | grep -v -e '^sxf-usertype-finder\.\(exe\|dat\)$' -e '^JWC_TEMP\.TXT$')" ] || {
    echo "$locale: stray files beside the program: $(ls "$run")"; status=1; }
  if [ "$expected" != "$actual" ]; then
    echo "$locale: the settings file after close:"; echo "$actual"; status=1
  fi
done
exit $status
