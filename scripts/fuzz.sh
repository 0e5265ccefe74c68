#!/usr/bin/env bash
# Runs every fuzz target of a sanitizer build for SECONDS each, seeded with the
# sample exchange files and the exports of a demo program directory.
# Any crash, leak, hang over 10 s or out-of-memory fails the run; the input
# that failed is kept in BUILD/fuzz-artifacts/ (copy it to
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

# Seeds: the sample files, a demo program directory and its exports.
"$bin/attendance-admin" init "$work/demo" --demo >/dev/null
for cmd in export-employees export-departments backup-month; do
  "$bin/attendance-admin" $cmd "$work/demo/$cmd.xml" --dir "$work/demo" >/dev/null
done
mkdir -p "$work/seeds/fuzz_rowsetxml" "$work/seeds/fuzz_ini"
cp tests/data/*.xml "$work/demo/"*.xml "$work/seeds/fuzz_rowsetxml/"
cp "$work/demo/attendance.ini" "$work/seeds/fuzz_ini/"
printf '[DATA]\r\nPATH="C:\\data"\r\n[OTHER]\r\nALP=123\r\n[UNIT]\r\nUNITNAME=\xb2\xe2\xca\xd4\r\n' \
  >"$work/seeds/fuzz_ini/sample.ini"

status=0
for target in fuzz_rowsetxml fuzz_ini; do
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
  fi
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$work/$target.log" | grep -o '[0-9]*$' || true)
  speed=$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$work/$target.log" | grep -o '[0-9]*$' || true)
  echo "   executions: ${execs:-?}, per second: ${speed:-?}, corpus: $(ls "$corpus" | wc -l) files"
done
exit $status
