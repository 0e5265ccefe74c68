#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
#   ./test.sh                      the normal build (build/)
#   ./test.sh --sanitize           a clang build with the address and
#                                  undefined-behaviour sanitizers (build-sanitize/),
#                                  leaks included, and the fuzz targets' replays
#   ./test.sh --sanitize --fuzz N  then runs each fuzz target for N seconds
set -euo pipefail
cd "$(dirname "$0")"

sanitize=0
fuzz_seconds=0
while [ $# -gt 0 ]; do
  case "$1" in
    --sanitize) sanitize=1 ;;
    --fuzz) fuzz_seconds=${2:?--fuzz takes seconds}; shift ;;
    *) echo "usage: $0 [--sanitize [--fuzz SECONDS]]" >&2; exit 2 ;;
  esac
  shift
done

./scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen

# A throw-away PostgreSQL server for the tests that need one, stopped however
# the run ends. A server that cannot start fails the run.
PG_DIR=""
stop_pg_server() {
  if [ -n "$PG_DIR" ]; then
    ./scripts/pg-server.sh stop "$PG_DIR" || true
    PG_DIR=""
  fi
}
trap stop_pg_server EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
start_pg_server() {
  PG_DIR=$(mktemp -d "${TMPDIR:-/tmp}/attendance-pg.XXXXXX")
  ./scripts/pg-server.sh start "$PG_DIR" >/dev/null
  set -a
  # shellcheck disable=SC1091
  . "$PG_DIR/env"
  set +a
  echo "PostgreSQL test server at $ATTENDANCE_TEST_PG_SERVER"
}

if [ "$sanitize" -eq 0 ]; then
  BUILD_DIR=${BUILD_DIR:-build}
  cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$BUILD_DIR" -j"$(nproc)"
  start_pg_server
  ctest --test-dir "$BUILD_DIR" --output-on-failure -j"$(nproc)"
  exit 0
fi

BUILD_DIR=${BUILD_DIR:-build-sanitize}
CC=clang CXX=clang++ cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DATTENDANCE_SANITIZE=ON -DATTENDANCE_BUILD_FUZZ=ON -DATTENDANCE_BUILD_BENCH=OFF
cmake --build "$BUILD_DIR" -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
start_pg_server
ctest --test-dir "$BUILD_DIR" --output-on-failure -j"$(nproc)"
if [ "$fuzz_seconds" -gt 0 ]; then
  ./scripts/fuzz.sh "$BUILD_DIR" "$fuzz_seconds"
fi
