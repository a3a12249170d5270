#!/bin/sh
# On a Japanese system the report's picture writes a text's weekday code as the system's own
# weekday name: the picture of "%w" equals that of the name written out.
# weekday-test.sh REPORT WORKDIR   (under Wine, with LC_ALL=ja_JP.UTF-8 and LOCPATH set)
set -eu
report="$1"; work="$2"
rm -rf "$work"; mkdir -p "$work"
drawing() {  # drawing FILE TEXT(Shift-JIS bytes on stdin)
  { printf 'lc1\nlt1\n 0 0 16 8\ncn9\ncs 2 2 1 0 "'; cat; printf '\n'; } > "$1"
}
for attempt in 1 2; do
  day=$(date +%u)  # 1 Monday .. 7 Sunday
  name=$(echo "月 火 水 木 金 土 日" | cut -d' ' -f"$day")
  printf '%%w' | drawing "$work/code.txt"
  printf '%s' "$name" | iconv -f UTF-8 -t CP932 | drawing "$work/name.txt"
  wine "$report" "$work/code.txt" --png "$work/code.png" --size 300x150 >/dev/null
  wine "$report" "$work/name.txt" --png "$work/name.png" --size 300x150 >/dev/null
  [ "$(date +%u)" = "$day" ] && break  # not across midnight
done
diff=$(compare -metric AE "$work/code.png" "$work/name.png" null: 2>&1 || true)
echo "the weekday code against \"$name\": $diff pixels differ"
[ "$diff" = "0" ]
