#!/bin/sh
# What the Win32 window hands over, under Wine on a virtual X server with openbox, against the
# Windows report on the same sample: Ctrl+C and Ctrl+Shift+C put the report's tally and marks
# rows on the clipboard in CF_UNICODETEXT and in CF_TEXT (code page 932); Ctrl+S and Return in
# the save dialog write the suggested name's picture (the report's --png of the fit-all view
# at the preview's size) and the two CSV files into the tool's folder; a read-only folder gives
# a message and no file.
# Run inside xvfb-run:  handover-test.sh FINDER REPORT SAMPLE WORKDIR CLIPBOARD_DUMP
set -eu
here="$(dirname "$0")"
. "$here/wine-window.sh"
finder="$1"; report="$2"; sample="$3"; work="$4"; dump="$5"
same_rows="$here/../support/same_rows.py"
export LC_ALL=ja_JP.UTF-8  # a Japanese system: code page 932
begin_test "$work"
place_program "$work/run" "$finder" "$sample" "100 50 700 500 250"
wine "$report" "$sample" --format csv --marks > "$work/report.csv"
wine "$report" "$sample" --format json > "$work/report.json"
start_window_painted "$work/run" 250 "$report"
status_changed() {
  status_shot now
  [ "$(compare -metric AE "$work/before-status.png" "$work/now-status.png" null: 2>&1 || true)" != "0" ]
}
status_shot() {
  import -window root "$work/screen.png"
  convert "$work/screen.png" -crop "${w}x24+${x}+$((y + ph))" +repage "$work/$1-status.png"
}

# clipboard_has PART: the clipboard in both formats, in $work/PART-*.txt, has PART's rows.
clipboard_has() {
  wine "$dump" "$work/$1-unicode.txt" "$work/$1-ansi.txt" 2>/dev/null &&
    python3 "$same_rows" tsv "$work/$1-unicode.txt" "$work/report.csv" "$1" >/dev/null 2>&1
}

xdotool windowactivate --sync "$id" || true
for part in tally checksheet; do
  if [ "$part" = tally ]; then xdotool key ctrl+c; else xdotool key ctrl+shift+c; fi
  poll 30 clipboard_has "$part" || echo "the clipboard has not the $part's rows"
  [ -f "$work/$part-unicode.txt" ] || { echo "no text on the clipboard"; status=1; continue; }
  python3 "$same_rows" tsv "$work/$part-unicode.txt" "$work/report.csv" "$part" || status=1
  python3 "$same_rows" tsv-cp932 "$work/$part-ansi.txt" "$work/report.csv" "$part" || status=1
  # Windows programs paste lines ended by CR LF, in both formats.
  for f in "$work/$part-unicode.txt" "$work/$part-ansi.txt"; do
    python3 -c 'import sys; b = open(sys.argv[1], "rb").read()
sys.exit(0 if b.endswith(b"\r\n") and b.count(b"\n") == b.count(b"\r\n") else 1)' "$f" ||
      { echo "$f: lines not ended by CR LF"; status=1; }
  done
done

# wait_dialog: the save dialog's window, in id_dialog.
wait_dialog() {
  id_dialog=""
  for _ in $(seq 1 100); do
    # xdotool's own name match misses Japanese titles: grep the names.
    for win in $(xdotool search --onlyvisible --name . 2>/dev/null || true); do
      if xdotool getwindowname "$win" 2>/dev/null | grep -q -e "画像と表を保存" -e "Save the picture"; then
        id_dialog=$win
      fi
    done
    [ -n "$id_dialog" ] && break
    sleep 0.1
  done
  [ -n "$id_dialog" ] || { echo "no save dialog"; exit 1; }
  # The keys go to the dialog once it is active and drawn, its name field filled in.
  poll 30 dialog_active || echo "the save dialog is not the active window"
  screen_settles
}
dialog_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$id_dialog" ]; }

view=$(python3 "$here/fit-all-view.py" "$work/report.json" "$pw" "$ph")
wine "$report" "$sample" --png "$work/report.png" --size "${pw}x${ph}" --view "$view" >/dev/null
base="$work/run/1F平面図 A-02"
# saved: the three files are there, and the picture is whole (the report's).
saved() {
  [ -f "$base-tally.csv" ] && [ -f "$base-marks.csv" ] && [ -f "$base.png" ] &&
    [ "$(compare -metric AE "$base.png" "$work/report.png" null: 2>&1 || true)" = "0" ]
}
xdotool windowactivate --sync "$id" key ctrl+s
wait_dialog
xdotool key Return  # the name offered, in the tool's folder
poll 30 saved || true
for f in "$base.png" "$base-tally.csv" "$base-marks.csv"; do
  [ -f "$f" ] || { echo "not written: $f"; ls "$work/run"; status=1; }
done
d=$(compare -metric AE "$base.png" "$work/report.png" null: 2>&1 || true)
echo "saved picture vs the report's of view $view: $d pixels differ"
[ "$d" = "0" ] || status=1
python3 "$same_rows" csv "$base-tally.csv" "$work/report.csv" tally || status=1
python3 "$same_rows" csv "$base-marks.csv" "$work/report.csv" checksheet || status=1

# A read-only folder: a read-only file system, since root writes into any folder.
mkdir -p "$work/read-only"
if mount -t tmpfs -o ro,size=16k sxf-read-only "$work/read-only" 2>/dev/null; then
  trap 'umount "$work/read-only" 2>/dev/null || true; kill $wm 2>/dev/null || true' EXIT
  status_shot before
  xdotool windowactivate --sync "$id" key ctrl+s
  wait_dialog
  xdotool key ctrl+a
  xdotool type --delay 20 "Z:$(echo "$work/read-only/x.png" | tr / '\\')"
  xdotool key Return
  poll 30 status_changed || true
  status_shot read-only
  s=$(compare -metric AE "$work/before-status.png" "$work/read-only-status.png" null: 2>&1 || true)
  echo "save into a read-only folder: $s status pixels changed, files there: $(ls -A "$work/read-only" | wc -l)"
  [ "$s" != "0" ] || { echo "the status strip said nothing"; status=1; }
  [ -z "$(ls -A "$work/read-only")" ] || { echo "a file was left in the read-only folder"; status=1; }
  umount "$work/read-only"
else
  echo "no read-only file system can be mounted here: that part is not run"
fi

close_window
exit $status
