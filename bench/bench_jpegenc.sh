#!/usr/bin/env bash
# jpegenc as a whole process against cjpeg on a 4000x3000 photo-like PPM:
# median wall time of RUNS runs each and the peak resident memory, both with
# the same settings (quality 75, 2x2/1x1/1x1 sampling, float DCT, optimised
# Huffman tables). Goal: jpegenc within 1.2x cjpeg's time and 1.5x its memory.
#   bench/bench_jpegenc.sh [JPEGENC] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
jpegenc=${1:-build/bin/jpegenc}
runs=${2:-5}
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (scripts/install-deps.sh)" >&2; exit 2; }
command -v cjpeg >/dev/null || { echo "needs cjpeg (scripts/install-deps.sh)" >&2; exit 2; }
work=$(mktemp -d /tmp/bench_jpegenc.XXXXXX)
trap 'rm -rf "$work"' EXIT
picture="$work/photo.ppm"

# A 400x300 tile of shading, edges and noise, repeated 10x10 times.
python3 - "$picture" <<'PY'
import random, sys
random.seed(12345)
tw, th = 400, 300
tile = []
for y in range(th):
    row = bytearray(tw * 3)
    for x in range(tw):
        n = random.randint(-10, 10)
        r = 128 + ((x * 3 + y) % 200) - 100 + n + (40 if (x // 80 + y // 80) % 2 else 0)
        g = 128 + ((x + 2 * y) % 180) - 90 - n
        b = (x * 255 // tw + y * 255 // th) // 2 + n // 2
        row[3 * x:3 * x + 3] = bytes(max(0, min(255, v)) for v in (r, g, b))
    tile.append(bytes(row) * 10)
with open(sys.argv[1], "wb") as f:
    f.write(b"P6\n4000 3000\n255\n")
    for _ in range(10):
        f.writelines(tile)
PY

# measure NAME COMMAND...: prints the median seconds and the largest peak RSS in MB.
measure() {
  local name=$1; shift
  local times=() rss=0
  for ((i = 0; i < runs; i++)); do
    rm -f "$work/out.jpg"
    local start end
    start=$(date +%s.%N)
    /usr/bin/time -f '%M' -o "$work/rss" "$@" >/dev/null
    end=$(date +%s.%N)
    times+=("$(awk "BEGIN { print $end - $start }")")
    local kb
    kb=$(tail -n 1 "$work/rss")
    [ "$kb" -gt "$rss" ] && rss=$kb
  done
  local median
  median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$((runs / 2 + 1))p")
  printf '%-8s median %.3f s   peak RSS %.1f MB   output %d bytes\n' "$name" "$median" \
    "$(awk "BEGIN { print $rss / 1024 }")" "$(stat -c %s "$work/out.jpg")"
  eval "${name}_time=$median ${name}_rss=$rss"
}

measure cjpeg sh -c "cjpeg -quality 75 -sample 2x2,1x1,1x1 -dct float -optimize \"$picture\" >\"$work/out.jpg\""
measure jpegenc "$jpegenc" "$picture" "$work/out.jpg"
printf 'jpegenc / cjpeg: time %.2fx (goal 1.2x), peak memory %.2fx (goal 1.5x)\n' \
  "$(awk "BEGIN { print $jpegenc_time / $cjpeg_time }")" "$(awk "BEGIN { print $jpegenc_rss / $cjpeg_rss }")"
