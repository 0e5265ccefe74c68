#!/usr/bin/env bash
# Runs every fuzz target of a sanitizer build for SECONDS each, seeded with the
# sample exchange files and the exports of a demo program directory.
# Any crash, leak, hang over 10 s or out-of-memory fails the run; the input
# that failed is kept in BUILD/fuzz/artifacts/ (copy it to
# tests/data/fuzz/<target>/ so it is replayed as a test from then on).
#   scripts/fuzz.sh BUILD_DIR [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?sanitizer build folder}
seconds=${2:-60}
bin="$build/bin"
work="$build/fuzz"
rm -rf "$work"
mkdir -p "$work/artifacts" "$work/demo"

# Little-endian 32-bit numbers and small pictures for the picture reader's seeds.
le32() {
  printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) \
    $(($1 >> 16 & 255)) $(($1 >> 24 & 255)))"
}
# bmp WIDTH HEIGHT BITS COLOURS: an uncompressed BMP (negative height: top-down)
# of a byte pattern, 8 bits with a table of COLOURS entries.
bmp() {
  local w=$1 h=$2 bits=$3 colours=$4 rows=${2#-}
  local stride=$(((w * bits + 31) / 32 * 4)) table=$((colours * 4))
  printf 'BM'; le32 $((54 + table + stride * rows)); le32 0; le32 $((54 + table)); le32 40
  le32 "$w"; le32 "$h"; printf '\x01\x00'; printf "$(printf '\\x%02x' "$bits")\x00"
  le32 0; le32 $((stride * rows)); le32 2835; le32 2835; le32 "$colours"; le32 0
  for ((i = 0; i < colours; i++)); do printf "$(printf '\\x%02x\\x%02x\\x%02x\\x00' $((i * 40 & 255)) $((255 - i)) $((i * 90 & 255)))"; done
  for ((i = 0; i < stride * rows; i++)); do printf "$(printf '\\x%02x' $((i * 37 % 251)))"; done
}

# Seeds: the sample files, a demo program directory and its exports.
"$bin/attendance-admin" init "$work/demo" --demo >/dev/null
for cmd in export-employees export-departments backup-month; do
  "$bin/attendance-admin" $cmd "$work/demo/$cmd.xml" --dir "$work/demo" >/dev/null
done
mkdir -p "$work/seeds/fuzz_rowsetxml" "$work/seeds/fuzz_ini" "$work/seeds/fuzz_picture"
cp tests/data/*.xml "$work/demo/"*.xml "$work/seeds/fuzz_rowsetxml/"
cp "$work/demo/attendance.ini" "$work/seeds/fuzz_ini/"
printf '[DATA]\r\nPATH="C:\\data"\r\n[OTHER]\r\nALP=123\r\n[UNIT]\r\nUNITNAME=\xb2\xe2\xca\xd4\r\n' \
  >"$work/seeds/fuzz_ini/sample.ini"

pictures="$work/seeds/fuzz_picture"
printf 'P6\n# seed\n3 2\n255\n\xff\x00\x00\x00\xff\x00\x00\x00\xff\x10\x20\x30\x40\x50\x60\x70\x80\x90' \
  >"$pictures/colour.ppm"
printf 'P6 2 1 100\n\x00\x32\x64\x10\x20\x30' >"$pictures/maxval100.ppm"
printf 'P5\n4 2\n255\n\x00\x40\x80\xff\x10\x20\x30\x40' >"$pictures/grey.pgm"
bmp 5 3 24 0 >"$pictures/bottom-up24.bmp"
bmp 3 -2 24 0 >"$pictures/top-down24.bmp"
bmp 2 2 32 0 >"$pictures/rgbx32.bmp"
bmp 7 3 8 4 >"$pictures/indexed8.bmp"
bmp 4 -2 8 256 >"$pictures/top-down8.bmp"

status=0
passed=0
failed=0
for target in fuzz_rowsetxml fuzz_ini fuzz_picture; do
  corpus="$work/corpus/$target"
  mkdir -p "$corpus"
  [ -d "tests/data/fuzz/$target" ] && cp "tests/data/fuzz/$target/"* "$corpus/" 2>/dev/null || true
  echo "== $target: ${seconds}s"
  if ! "$bin/$target" "$corpus" "$work/seeds/$target" -max_total_time="$seconds" -timeout=10 \
      -rss_limit_mb=2048 -max_len=1048576 -print_final_stats=1 \
      -artifact_prefix="$work/artifacts/$target-" >"$work/$target.log" 2>&1; then
    status=1
    tail -n 60 "$work/$target.log"
    echo "== $target FAILED; the input is in $work/artifacts/"
    failed=$((failed + 1))
  else
    passed=$((passed + 1))
  fi
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$work/$target.log" | grep -o '[0-9]*$' || true)
  speed=$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$work/$target.log" | grep -o '[0-9]*$' || true)
  echo "   executions: ${execs:-?}, per second: ${speed:-?}, corpus: $(ls "$corpus" | wc -l) files"
done
echo "fuzz: $passed passed, $failed failed"
exit $status
