#!/usr/bin/env bash
# jpegenc as a whole process against cjpeg on a photo-like PPM (4000x3000, or
# SIZE, e.g. 16000x16000, to see that jpegenc's memory does not grow with it):
# median wall time of RUNS runs each (taking turns) and the peak resident memory, both with
# the same settings (quality 75, 2x2/1x1/1x1 sampling, float DCT, optimised
# Huffman tables). Goal: jpegenc within 1.0x cjpeg's time and 1.2x its memory.
#   bench/bench_jpegenc.sh [JPEGENC] [RUNS] [SIZE]
set -euo pipefail
cd "$(dirname "$0")/.."
jpegenc=${1:-build/bin/jpegenc}
runs=${2:-5}
size=${3:-4000x3000}
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (scripts/install-deps.sh)" >&2; exit 2; }
command -v cjpeg >/dev/null || { echo "needs cjpeg (scripts/install-deps.sh)" >&2; exit 2; }
work=$(mktemp -d /tmp/bench_jpegenc.XXXXXX)
trap 'rm -rf "$work"' EXIT
picture="$work/photo.ppm"

# A 400x300 tile of shading, edges and noise, repeated over the picture.
python3 - "$picture" "${size%x*}" "${size#*x}" <<'PY'
import random, sys
random.seed(12345)
W, H = int(sys.argv[2]) // 400 * 400, int(sys.argv[3])
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
    tile.append(bytes(row) * (W // tw))
with open(sys.argv[1], "wb") as f:
    f.write(b"P6\n%d %d\n255\n" % (W, H))
    for y in range(H):
        f.write(tile[y % th])
PY

# run NAME COMMAND...: one timed run; appends the seconds to NAME_times and
# keeps the largest peak RSS in NAME_rss (kB).
declare -A times rss
run() {
  local name=$1; shift
  rm -f "$work/out.jpg"
  local start end kb
  start=$(date +%s.%N)
  /usr/bin/time -f '%M' -o "$work/rss" "$@" >/dev/null
  end=$(date +%s.%N)
  times[$name]+="$(awk "BEGIN { print $end - $start }") "
  kb=$(tail -n 1 "$work/rss")
  [ "$kb" -gt "${rss[$name]:-0}" ] && rss[$name]=$kb
  size[$name]=$(stat -c %s "$work/out.jpg")
}
declare -A size
median() { printf '%s\n' $1 | sort -n | sed -n "$((runs / 2 + 1))p"; }

# The two programs take turns, so that load from elsewhere on the machine
# falls on both alike.
for ((i = 0; i < runs; i++)); do
  run cjpeg sh -c "exec cjpeg -quality 75 -sample 2x2,1x1,1x1 -dct float -optimize \"$picture\" >\"$work/out.jpg\""
  run jpegenc "$jpegenc" "$picture" "$work/out.jpg"
done
for name in cjpeg jpegenc; do
  printf '%-8s median %.3f s   peak RSS %.1f MB   output %d bytes\n' "$name" \
    "$(median "${times[$name]}")" "$(awk "BEGIN { print ${rss[$name]} / 1024 }")" "${size[$name]}"
done
printf 'jpegenc / cjpeg: time %.2fx (goal 1.0x), peak memory %.2fx (goal 1.2x)\n' \
  "$(awk "BEGIN { print $(median "${times[jpegenc]}") / $(median "${times[cjpeg]}") }")" \
  "$(awk "BEGIN { print ${rss[jpegenc]} / ${rss[cjpeg]} }")"
