#!/bin/sh
# The Windows report (under Wine) prints the very JSON the Linux report prints, on every
# sample, on a drawing of texts with unusual bytes and on 100 generated drawings. Skips (77)
# when the Linux build is not there.
#   report-agrees.sh LINUX_BUILD WINDOWS_REPORT SAMPLES WORKDIR
set -eu
linux_report="$1/src/sxf-usertype-report"
make_drawing="$1/bench/make-drawing"
windows_report="$2"
samples="$3"
work="$4"
if [ ! -x "$linux_report" ] || [ ! -x "$make_drawing" ]; then
  echo "no Linux build with the report and make-drawing in $1"
  exit 77
fi
mkdir -p "$work"
# One server for all the runs below, ending 10 s after the last; one may be running already.
wineserver -p10 2>/dev/null || true

# Texts with bytes at the edges of code page 932: control bytes, DEL, 0x80, 0xA0, 0xFD..0xFF,
# lead bytes before bytes that cannot follow them, pairs without a character.
printf 'hq\r\nfile=C:\\t\\\375\100.jww\r\n' > "$work/bytes.txt"
for t in 'a\200b' '\240' '\375\100' '\376\377' '\202\040x' '\202' 'x\177y\032z' '\201\177' \
         '\205\100' '\353\100' '\360\100' '\372\100' '\134\176' '\245' '\001\037'; do
  printf "ch 0 0 1 0 \"$t\r\n" >> "$work/bytes.txt"
done

set -- "$samples"/*/JWC_TEMP.TXT "$work/bytes.txt"
seed=1
while [ "$seed" -le 100 ]; do
  f="$work/generated-$seed.txt"
  "$make_drawing" $((5 + seed * 37 % 400)) "$f" "$seed"
  set -- "$@" "$f"
  seed=$((seed + 1))
done

failed=0
compared=0
for f in "$@"; do
  "$linux_report" --format json --entities "$f" > "$work/linux.json" || true
  wine "$windows_report" --format json --entities "$f" > "$work/windows.json" || true
  compared=$((compared + 1))
  if ! cmp -s "$work/linux.json" "$work/windows.json"; then
    echo "differs: $f"
    diff "$work/linux.json" "$work/windows.json" | head -5
    failed=$((failed + 1))
  fi
done
echo "$compared drawings compared, $failed differ"
[ "$failed" -eq 0 ]
